#pragma once
// `Controls_Window` (F1): the player's controls listed, and the player's settings held,
// in the look of the options dialog. OK writes settings.ini; Cancel drops the changes.

#include "platform/host.h"
#include "platform/ui/form.h"

namespace dalvo {

struct Game;

class ControlsWindow {
public:
    explicit ControlsWindow(platform::Host& host);
    ~ControlsWindow();
    ControlsWindow(const ControlsWindow&) = delete;
    ControlsWindow& operator=(const ControlsWindow&) = delete;

    platform::Form form{"Controls_Window", "操作と設定", 344, 340};

    platform::Control* Frame1 = nullptr;    // the controls
    platform::Control* Check1 = nullptr;    // skip unread text too
    platform::Control* Check2 = nullptr;    // the menu's skip: read text only
    platform::Control* Check3 = nullptr;    // start in fullscreen
    platform::Control* Check4 = nullptr;    // smooth scaling
    platform::Control* Frame2 = nullptr;    // auto mode's speed
    platform::Control* Option1 = nullptr;   // slow
    platform::Control* Option2 = nullptr;   // as it comes
    platform::Control* Option3 = nullptr;   // fast
    platform::Control* Command1 = nullptr;  // OK
    platform::Control* Command2 = nullptr;  // Cancel

private:
    platform::Host& host_;
};

// Opens the dialog over the disabled game window (once at a time).
void Controls_window_open(Game& game);
bool Controls_window_is_open(const Game& game);

}  // namespace dalvo
