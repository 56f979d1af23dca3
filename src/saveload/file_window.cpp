// The slot dialog: its layout, how it opens and closes, and the slot labels.

#include "saveload/file_window.h"

#include <string>
#include <system_error>

#include "daycycle/day_card.h"
#include "engine/game.h"
#include "platform/gfx/picture.h"
#include "platform/pacing.h"
#include "saveload/saveload.h"
#include "sound/sound.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::ControlKind;

constexpr platform::Color kDialogBack = platform::Color{0xE0E0E0};
constexpr platform::Color kSlotBack = platform::Color{0xC0C0C0};
constexpr platform::Color kPanelBorder = platform::Color{0x808080};
constexpr platform::Color kUsedText = platform::Color{0x800000};     // navy
constexpr platform::Color kEmptyText = platform::Color{0x808080};    // grey
constexpr platform::Color kDamagedText = platform::Color{0x0000C0};  // dark red
constexpr platform::Color kResultBack = platform::Color{0xC0FFFF};
constexpr platform::Color kQuestionBack = platform::Color{0x0000FF};  // red

constexpr const char* kNoData = "データなし";
constexpr const char* kDamaged = "データが壊れています";

struct ButtonLook {
    const char* caption;
    int left;
    platform::Color back;
};
// Indexed by button number: "Save", "Close", "Del", "Load".
constexpr ButtonLook kButtons[4] = {
    {"Save", 208, platform::Color{0xC0E0FF}}, {"Close", 16, platform::Color{0xFFC0C0}}, {"Del", 80, platform::Color{0xFFC0C0}}, {"Load", 144, platform::Color{0xC0FFFF}}};

std::string indexed(const char* name, int i) { return std::string(name) + "(" + std::to_string(i) + ")"; }

Control& panel(Control& c, int left, int top, int width, int height, platform::Color back) {
    c.move(left, top, width, height);
    c.border_width = 1;
    c.border_color = kPanelBorder;
    set_panel_color(c, back);
    return c;
}

Control& label(Control& parent, std::string name, int left, int top, int width, int height) {
    Control& c = parent.add(std::move(name), ControlKind::Label);
    c.move(left, top, width, height);
    c.back_opaque = false;  // the panel's colour shows the selection
    return c;
}

// The wall as the dialog's picture, repeated so that it covers the whole client area.
void draw_wall(FileWindow& win) {
    platform::Surface wall;
    std::string error;
    if (!platform::load_picture(win.game.data.path("wall.bmp"), wall, error)) return;
    platform::Surface& image = win.form.image;
    for (int x = 0; x <= 320; x += 64) {
        platform::bit_blt(image, x, 0, wall.width(), wall.height(), wall, 0, 0, platform::Rop::SrcCopy);
    }
    for (int y : {64, 128}) {
        for (int x = 0; x <= 256; x += 64) {
            platform::bit_blt(image, x, y, wall.width(), wall.height(), wall, 0, 0, platform::Rop::SrcCopy);
        }
    }
    image.refresh();
}

void set_select_cursor(FileWindow& win) {
    auto cursor = std::make_shared<platform::Cursor>();
    std::string error;
    // A missing pointer file leaves the ordinary pointer; the dialog works the same.
    if (!platform::load_cursor(win.game.data.path("select.cur"), *cursor, error)) return;
    for (Control* c : win.Label1) c->cursor = cursor;
    for (Control* c : win.Label3) c->cursor = cursor;
    win.Command1->cursor = cursor;
    win.Command2->cursor = cursor;
}

}  // namespace

void set_panel_color(Control& c, platform::Color color) {
    c.back_color = color;
    c.image.back_color = color;
    c.image.clear();
    c.refresh();
}

FileWindow::FileWindow(Game& owner) : game(owner) {
    form.back_color = kDialogBack;
    form.image.back_color = kDialogBack;
    form.image.clear();
    form.on_close_request = [this] { Button_click(*this, kBtnClose); };

    for (int k = 0; k < kSlotCount; ++k) {
        Picture1[k] = &panel(form.add(indexed("Picture1", k), ControlKind::Picture), 16, 8 + 32 * k, 249, 33,
                             kSlotBack);
        Label1[k] = &label(*Picture1[k], indexed("Label1", k), 8, 8, 233, 17);
        Picture1[k]->on_click = [this, k] { Slot_select(*this, k); };
        Label1[k]->on_click = [this, k] { Slot_select(*this, k); };
    }
    for (int n = 0; n < 4; ++n) {
        const ButtonLook& look = kButtons[n];
        Picture2[n] = &panel(form.add(indexed("Picture2", n), ControlKind::Picture), look.left, 120, 57, 33,
                             look.back);
        Label3[n] = &label(*Picture2[n], indexed("Label3", n), 8, 8, 41, 17);
        Label3[n]->caption = look.caption;
        Label3[n]->alignment = 2;
        Picture2[n]->on_click = [this, n] { Button_click(*this, n); };
        Label3[n]->on_click = [this, n] { Button_click(*this, n); };
    }

    Picture3 = &panel(form.add("Picture3", ControlKind::Picture), 168, 80, 113, 41, kResultBack);
    Picture3->visible = false;
    Label2 = &label(*Picture3, "Label2", 8, 16, 105, 17);

    Picture4 = &panel(form.add("Picture4", ControlKind::Picture), 128, 80, 129, 49, kQuestionBack);
    Picture4->visible = false;
    Picture4->fore_color = platform::kWhite;
    Label4 = &label(*Picture4, "Label4", 8, 8, 105, 17);
    Label4->fore_color = platform::kWhite;
    Command1 = &Picture4->add("Command1", ControlKind::Button);
    Command1->move(8, 24, 41, 17);
    Command1->caption = "Yes";
    Command1->on_click = [this] { Answer_click(*this, 1); };
    Command2 = &Picture4->add("Command2", ControlKind::Button);
    Command2->move(80, 24, 41, 17);
    Command2->caption = "No";
    Command2->on_click = [this] { Answer_click(*this, 2); };
}

SlotData read_slot_for(const Game& game, const std::filesystem::path& file) {
    SlotData slot = read_slot(file, game.g.g_ScriptLast);
    if (slot.state != SlotState::Used) return slot;
    // Loading draws the background and plays the music at once; a slot naming either
    // where the folder has none would end the game halfway through the load.
    std::error_code ec;
    const int place = Flag_to_int16(slot.flags[18]);
    const bool has_picture =
        std::filesystem::is_regular_file(game.data.path(std::to_string(place + 70) + ".dat"), ec);
    const std::int16_t music = Flag_to_int16(slot.flags[20]);
    const std::string music_file = music_path(game, music);
    const bool has_music = music == 0 || (!music_file.empty() && std::filesystem::is_regular_file(music_file, ec));
    if (!has_picture || !has_music) slot.state = SlotState::Damaged;
    return slot;
}

void Slot_disp(FileWindow& win) {
    Game& game = win.game;
    for (int s = 0; s < kSlotCount; ++s) {
        const SlotData slot = read_slot_for(game, slot_file(game.data, s));
        win.slots[s] = slot.state;
        Control& c = *win.Label1[s];
        switch (slot.state) {
        case SlotState::Used:
            // Listing a slot leaves its date in g_DateText, as the day card's would.
            game.g.g_DateText = Date_text(Flag_to_int16(slot.flags[0]));
            c.caption = slot_caption(game.g.g_DateText, slot.saved_at);
            c.fore_color = kUsedText;
            break;
        case SlotState::Empty:
            c.caption = kNoData;
            c.fore_color = kEmptyText;
            break;
        case SlotState::Damaged:
            c.caption = kDamaged;
            c.fore_color = kDamagedText;
            break;
        }
        c.refresh();
    }
}

void File_Window_open(Game& game) {
    platform::Host& host = game.p.host;
    FileWindow win(game);
    // Every way out (a close, a load, the program's end from inside a wait) unloads it.
    struct Unload {
        Game& game;
        FileWindow& win;
        ~Unload() {
            platform::Host& h = game.p.host;
            game.saveload.window = nullptr;
            h.hide_form(win.form);
            game.ui.form.enabled = true;
            // Showing a shown form only gives it the focus.
            if (h.is_shown(game.ui.form)) h.show_form(game.ui.form);
        }
    } unload{game, win};

    game.ui.form.enabled = false;
    win.answer = 0;
    win.selected = -1;
    if (game.g.g_FileMode == 1) {
        win.Picture2[kBtnLoad]->visible = false;
    } else if (game.g.g_FileMode == 2) {
        win.Picture2[kBtnSave]->visible = false;
        win.Picture2[kBtnDel]->visible = false;
    }
    win.Picture3->visible = false;
    game.g.g_Flags[20] = Flag_number(game.sound.g_BgmNo);
    draw_wall(win);
    set_select_cursor(win);
    game.saveload.window = &win;
    Slot_disp(win);
    host.center_form(win.form);
    host.show_form(win.form);

    win.waiting_button = true;
    platform::yield_until(host, [&] { return game.g.g_FileMode == 0 || game.g.g_FileMode == 3; }, 100);
    win.waiting_button = false;
}

const char* File_Window_waiting(const Game& game) {
    const FileWindow* win = game.saveload.window;
    if (win == nullptr) return nullptr;
    return win->waiting_button ? "dialog" : "none";
}

}  // namespace dalvo
