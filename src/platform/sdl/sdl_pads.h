#pragma once
// Game pads through SDL's game-controller layer (the standard layout: Steam Deck,
// Xbox and PlayStation pads): opened as they come, their buttons turned into PadPress.

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/input_event.h"

namespace dalvo::platform::sdl {

class Pads {
public:
    // Starts SDL's game-controller part; without it there are simply no pads.
    Pads();
    ~Pads();
    Pads(const Pads&) = delete;
    Pads& operator=(const Pads&) = delete;

    // Takes a pad's event; the buttons go to `form`. False for other events.
    bool handle(const SDL_Event& e, const std::string& form, std::vector<InputEvent>& out);

private:
    struct Close {
        void operator()(SDL_GameController* c) const { SDL_GameControllerClose(c); }
    };
    bool ok_ = false;
    std::vector<std::unique_ptr<SDL_GameController, Close>> open_;
};

}  // namespace dalvo::platform::sdl
