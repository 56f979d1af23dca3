#pragma once
// The slot dialog `File_Window`: three slot panels, the buttons "Save", "Close", "Del"
// and "Load", the result panel and the red yes/no panel.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/ui/form.h"
#include "saveload/save_file.h"

namespace dalvo {

struct Game;

// Button numbers: the index of `Picture2` and `Label3`.
inline constexpr int kBtnSave = 0, kBtnClose = 1, kBtnDel = 2, kBtnLoad = 3;

struct FileWindow {
    explicit FileWindow(Game& game);
    FileWindow(const FileWindow&) = delete;
    FileWindow& operator=(const FileWindow&) = delete;

    Game& game;
    platform::Form form{"File_Window", "ゲームデータ", 288, 171};

    std::array<platform::Control*, kSlotCount> Picture1{};  // the slot panels
    std::array<platform::Control*, kSlotCount> Label1{};
    std::array<platform::Control*, 4> Picture2{};  // the button panels
    std::array<platform::Control*, 4> Label3{};
    platform::Control* Picture3 = nullptr;  // the result message
    platform::Control* Label2 = nullptr;
    platform::Control* Picture4 = nullptr;  // the yes/no question
    platform::Control* Label4 = nullptr;
    platform::Control* Command1 = nullptr;
    platform::Control* Command2 = nullptr;

    std::int16_t selected = -1;  // the selected slot; -1 none
    std::uint8_t answer = 0;     // 0 pending, 1 yes, 2 no
    // What `Slot_disp` last found in each slot.
    std::array<SlotState, kSlotCount> slots{};
    // The dialog waits for a button (its opening loop or a question), rather than
    // having one of its buttons at work.
    bool waiting_button = false;
};

// A slot as this game can resume it: a record `read_slot` accepts whose background and
// music the data folder holds.
SlotData read_slot_for(const Game& game, const std::filesystem::path& file);

// Refreshes the three slot labels from the slot files.
void Slot_disp(FileWindow& win);
// Gives a panel a new background colour (which also clears it, as a picture's would).
void set_panel_color(platform::Control& panel, platform::Color color);

// The handlers: a click on slot panel k or its label, on button panel n or its label,
// on "Yes" and on "No".
void Slot_select(FileWindow& win, int slot);
void Button_click(FileWindow& win, int button);
void Answer_click(FileWindow& win, std::uint8_t answer);

}  // namespace dalvo
