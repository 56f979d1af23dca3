#pragma once
// Sound as the rest of the game calls it.

#include <cstdint>
#include <string>

#include "platform/codec/json.h"

namespace dalvo {

struct Game;

// Window load: creates the music-loop timer `BGMLoop` and leaves it stopped.
void Sound_init(Game& game);
// Window unload, steps 1 and 2: master level back and mixer closed, music stopped and closed.
void Sound_unload(Game& game);

// Music. Numbers 1..9 name entries of g_MusicFile.
std::int32_t BGM_play(Game& game, const std::string& path);
void BGM_stop(Game& game);
void BGM_loop(Game& game);
std::string BGM_status(Game& game);
// The full path of music n (the data folder and entry n of g_MusicFile); empty when
// the entry is empty or n is outside 1..9.
std::string music_path(const Game& game, int n);
void set_bgm_loop(Game& game, bool enabled);

// Plays sound effect n (0..2) to its end.
void SE_play(Game& game, int n);

// The master level through the mixer handle.
void Mixer_open(Game& game);
void Mixer_close(Game& game);
bool Vol_getctrl(Game& game);
bool Vol_get(Game& game, std::int32_t& level);
bool Vol_set(Game& game, std::int32_t level);
std::int32_t Vol_fadeout(Game& game, std::int32_t start);
std::int32_t Vol_fadein(Game& game, std::int32_t target);

// The script's sound command "a"; returns a continuation code.
int Cmd_a(Game& game);

// The sound keys of the state dump, written into an open object.
void dump_sound(const Game& game, platform::JsonWriter& out);

}  // namespace dalvo
