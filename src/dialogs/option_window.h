#pragma once
// `Option_Window`: the message display mode, music, sound effects and volume fades.

#include "platform/ui/form.h"
#include "platform/host.h"

namespace dalvo {

class OptionWindow {
public:
    // Builds the controls at their places; nothing is shown yet.
    explicit OptionWindow(platform::Host& host);
    // Takes the window off the desktop if it is still shown.
    ~OptionWindow();
    OptionWindow(const OptionWindow&) = delete;
    OptionWindow& operator=(const OptionWindow&) = delete;

    platform::Form form{"Option_Window", "オプション設定", 216, 185};

    platform::Control* Frame1 = nullptr;
    // The scale from "High" (skip to the next choice) to "Low" (one character at a
    // time): Option k stands for message mode k - 1.
    platform::Control* Option1 = nullptr;
    platform::Control* Option2 = nullptr;
    platform::Control* Option3 = nullptr;
    platform::Control* Option4 = nullptr;
    platform::Control* Label1 = nullptr;  // "Low"
    platform::Control* Label2 = nullptr;  // "High"
    platform::Control* Line1 = nullptr;
    platform::Control* Check1 = nullptr;  // music
    platform::Control* Check2 = nullptr;  // sound effects
    platform::Control* Check3 = nullptr;  // volume fades
    platform::Control* Command1 = nullptr;  // OK, the default button
    platform::Control* Command2 = nullptr;  // Cancel

    // Set while OK applies the choices: the game is busy then, not waiting for a button.
    bool applying = false;

private:
    platform::Host& host_;
};

}  // namespace dalvo
