#pragma once
// The dialogs' own state: each dialog exists only while it is open.

#include <memory>

namespace dalvo {

class OptionWindow;
class AboutBox;
class ControlsWindow;

struct DialogsState {
    DialogsState();
    ~DialogsState();
    DialogsState(const DialogsState&) = delete;
    DialogsState& operator=(const DialogsState&) = delete;

    std::unique_ptr<OptionWindow> option;  // `Option_Window` while loaded
    std::unique_ptr<AboutBox> about;       // `frmAbout` while loaded
    std::unique_ptr<ControlsWindow> controls;  // `Controls_Window` (F1) while loaded
};

}  // namespace dalvo
