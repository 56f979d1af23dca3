#include "platform/sdl/sdl_pads.h"

#include <algorithm>
#include <optional>

namespace dalvo::platform::sdl {

namespace {

std::optional<PadButton> button_of(std::uint8_t b) {
    switch (b) {
        case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
        case SDL_CONTROLLER_BUTTON_X: return PadButton::X;
        case SDL_CONTROLLER_BUTTON_Y: return PadButton::Y;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::LeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::RightShoulder;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::Right;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
        default: return std::nullopt;
    }
}

}  // namespace

Pads::Pads() : ok_(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {}

Pads::~Pads() {
    open_.clear();
    if (ok_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Pads::handle(const SDL_Event& e, const std::string& form, std::vector<InputEvent>& out) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which)) open_.emplace_back(c);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            std::erase_if(open_, [&](const auto& c) {
                return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c.get())) == e.cdevice.which;
            });
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (const auto b = button_of(e.cbutton.button); b && !form.empty()) {
                out.push_back(PadPress{form, *b, e.type == SDL_CONTROLLERBUTTONDOWN});
            }
            return true;
        default: return false;
    }
}

}  // namespace dalvo::platform::sdl
