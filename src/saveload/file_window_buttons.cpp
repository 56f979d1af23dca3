// What the slot dialog's panels and buttons do: select a slot, save, delete, load, close.

#include <string>
#include <system_error>

#include "engine/game.h"
#include "saveload/file_window.h"
#include "sound/sound.h"
#include "platform/pacing.h"

namespace dalvo {

namespace {

constexpr platform::Color kSelectedSlot = platform::Color{0x8080FF};  // light red
constexpr platform::Color kSlotBack = platform::Color{0xC0C0C0};
constexpr platform::Color kPressed = platform::Color{0xC0C0FF};
constexpr platform::Color kSaveBack = platform::Color{0xC0E0FF};
constexpr platform::Color kCloseBack = platform::Color{0xC0C0FF};
constexpr platform::Color kDelBack = platform::Color{0xFFC0C0};
constexpr platform::Color kLoadBack = platform::Color{0xC0FFFF};
constexpr platform::Color kSavedBack = platform::Color{0xC0C0FF};
constexpr platform::Color kDeletedBack = platform::Color{0xC0FFFF};
constexpr platform::Color kLoadedBack = platform::Color{0xC0FFC0};

// The sound effect of the dialog's clicks.
constexpr int kClickSound = 2;
// The warning before a question, played whatever the effects option says.
constexpr int kQuestionSound = 0;

// While a button is at work the dialog waits for nobody; a question it asks waits again.
struct AtWork {
    explicit AtWork(FileWindow& w) : win(w), was(w.waiting_button) { win.waiting_button = false; }
    ~AtWork() { win.waiting_button = was; }
    FileWindow& win;
    bool was;
};

void click_sound(Game& game) {
    if (game.g.g_SeOn != 0) SE_play(game, kClickSound);
}

void set_caption(platform::Control& c, const std::string& text) {
    c.caption = text;
    c.refresh();
}

void show(platform::Control& c, bool visible) {
    c.visible = visible;
    c.refresh();
}

// Asks on the red panel; true for "Yes".
bool ask(FileWindow& win, const char* question) {
    Game& game = win.game;
    SE_play(game, kQuestionSound);
    set_caption(*win.Label4, question);
    show(*win.Picture4, true);
    win.waiting_button = true;
    platform::yield_until(game.p.host, [&] { return win.answer != 0; }, 30);
    win.waiting_button = false;
    show(*win.Picture4, false);
    return win.answer == 1;
}

// The result panel, shown for a second.
void show_result(FileWindow& win, platform::Color back, const char* text) {
    Game& game = win.game;
    set_panel_color(*win.Picture3, back);
    set_caption(*win.Label2, text);
    show(*win.Picture3, true);
    platform::yield_then_sleep(game.p.host, 1000);
}

void report(Game& game, const std::string& text) {
    game.p.host.message_box(text, platform::MsgButtons::Ok);
}

void save(FileWindow& win, const std::filesystem::path& file, bool used) {
    Game& game = win.game;
    if (used && !ask(win, "上書きしますか？")) {
        set_panel_color(*win.Picture2[kBtnSave], kSaveBack);
        return;
    }
    const std::optional<std::string> bytes = save_file_bytes(game.p.clock.local_time(), game.g.g_Flags);
    const std::string error = bytes ? write_slot(game.p.saves, file, *bytes, game.saveload.after_temp_written)
                                    : std::string("名前に保存できない文字があります");
    if (!error.empty()) {
        // The slot keeps what it held and the game goes on.
        report(game, "セーブできませんでした.\n" + file.string() + "\n" + error);
        set_panel_color(*win.Picture2[kBtnSave], kSaveBack);
        return;
    }
    show_result(win, kSavedBack, "セーブしました");
    set_panel_color(*win.Picture2[kBtnSave], kSaveBack);
    Slot_disp(win);
    show(*win.Picture3, false);
}

void del(FileWindow& win, const std::filesystem::path& file, bool used) {
    Game& game = win.game;
    if (!used) {
        win.selected = -1;
        return;
    }
    const bool yes = ask(win, "消去しますか？");
    if (!yes) {
        set_panel_color(*win.Picture2[kBtnDel], kDelBack);
        return;
    }
    if (const std::string error = remove_slot(game.p.saves, file); !error.empty()) {
        report(game, "消去できませんでした.\n" + file.string() + "\n" + error);
        set_panel_color(*win.Picture2[kBtnDel], kDelBack);
        return;
    }
    show_result(win, kDeletedBack, "消去しました");
    set_panel_color(*win.Picture2[kBtnDel], kDelBack);
    Slot_disp(win);
    show(*win.Picture3, false);
}

void load(FileWindow& win, const std::filesystem::path& file, bool used) {
    Game& game = win.game;
    if (!used) {
        win.selected = -1;
        return;
    }
    // Read again: the file may have changed since the slots were listed.
    const SlotData slot = read_slot_for(game, file);
    if (slot.state != SlotState::Used) {
        // Nothing of the running game changes.
        report(game, "データが壊れているため, ロードできません.\n" + file.string());
        set_panel_color(*win.Picture2[kBtnLoad], kLoadBack);
        Slot_disp(win);
        return;
    }
    game.g.g_Flags = slot.flags;
    show_result(win, kLoadedBack, "ロードしました");
    game.g.g_FileMode = 3;
}

}  // namespace

void Slot_select(FileWindow& win, int slot) {
    AtWork at_work(win);
    click_sound(win.game);
    win.selected = static_cast<std::int16_t>(slot);
    for (int k = 0; k < kSlotCount; ++k) set_panel_color(*win.Picture1[k], kSlotBack);
    set_panel_color(*win.Picture1[slot], kSelectedSlot);
}

void Answer_click(FileWindow& win, std::uint8_t answer) { win.answer = answer; }

void Button_click(FileWindow& win, int button) {
    AtWork at_work(win);
    Game& game = win.game;
    if (button == kBtnClose) {
        game.g.g_FileMode = 0;
        set_panel_color(*win.Picture2[kBtnClose], kCloseBack);
        click_sound(game);
        platform::yield_then_sleep(game.p.host, 500);
        return;
    }
    if (win.selected < 0) return;
    set_panel_color(*win.Picture2[button], kPressed);
    const std::filesystem::path file = slot_file(game.data, win.selected);
    show(*win.Picture3, false);
    win.answer = 0;
    click_sound(game);
    game.p.host.yield();
    // A damaged slot counts as used: it can be overwritten and deleted.
    const bool used = win.slots[win.selected] != SlotState::Empty;
    switch (button) {
    case kBtnSave: save(win, file, used); break;
    case kBtnDel: del(win, file, used); break;
    case kBtnLoad: load(win, file, used); break;
    default: break;
    }
}

}  // namespace dalvo
