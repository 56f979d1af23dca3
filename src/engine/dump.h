#pragma once
// What the game tells the automation: what it waits for and its state.

#include <string>

#include "platform/codec/json.h"

namespace dalvo {

struct Game;

// "click", "choice", "dialog" or "none".
std::string waiting_for(const Game& game);
// Writes the state dump's keys into an open JSON object.
void write_dump(const Game& game, platform::JsonWriter& out);
// Registers waiting, dump and close with the host.
void install_automation(Game& game);

}  // namespace dalvo
