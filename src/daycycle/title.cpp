// The title screen: its picture, the two menu labels with their hover colours, the
// new-game path to the name entry, the continue path to the load dialog, and the
// mesh dissolve the name entry shares.

#include <filesystem>
#include <string>
#include <system_error>

#include "daycycle/daycycle.h"
#include "daycycle/title.h"
#include "engine/game.h"
#include "engine/startup.h"
#include "platform/gfx/picture.h"
#include "platform/codec/text_codec.h"
#include "saveload/saveload.h"
#include "sound/sound.h"
#include "stage/mesh.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace fs = std::filesystem;

namespace {

using platform::Rop;
using platform::bit_blt;

// Error numbers the failure message shows, as the window system numbered them.
constexpr int kErrFileNotFound = 53;
constexpr int kErrAccess = 75;
constexpr int kErrInvalidPicture = 481;

constexpr platform::Color kHoverColor = platform::Color{0x0000FF};
constexpr int kSeStart = 2;
constexpr std::uint32_t kDissolveStepMs = 100;

struct TitleFault {
    int number;
};

// The size of a file the title needs; a missing one is the file-not-found error.
std::uintmax_t required_size(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) throw TitleFault{kErrFileNotFound};
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) throw TitleFault{kErrAccess};
    return size;
}

void load_title_picture(Game& game) {
    platform::Control& title = *game.ui.Title;
    title.image.back_color = title.back_color;
    title.image.clear();
    const fs::path file = game.data.path("94.dat");
    // An empty picture file leaves the title plain.
    if (required_size(file) == 0) return;
    platform::Surface picture;
    std::string error;
    if (!platform::load_picture(file, picture, error)) throw TitleFault{kErrInvalidPicture};
    bit_blt(title.image, 0, 0, picture.width(), picture.height(), picture, 0, 0, Rop::SrcCopy);
    title.refresh();
}

std::shared_ptr<const platform::Cursor> load_select_cursor(Game& game) {
    const fs::path file = game.data.path("select.cur");
    required_size(file);
    auto cursor = std::make_shared<platform::Cursor>();
    std::string error;
    if (!platform::load_cursor(file, *cursor, error)) throw TitleFault{kErrInvalidPicture};
    return cursor;
}

void connect(Game& game) {
    MainForm& ui = game.ui;
    ui.Label1->on_mouse_move = [&game](const platform::MouseEvent&) { Title_label_move(game, 1); };
    ui.Label2->on_mouse_move = [&game](const platform::MouseEvent&) { Title_label_move(game, 2); };
    ui.Label1->on_click = [&game] { Title_new_game(game); };
    ui.Label2->on_click = [&game] { Title_continue(game); };
    ui.Name_ent_btn->on_click = [&game] { Name_ent_btn_click(game); };
}

}  // namespace

TitleBusy::TitleBusy(Game& game) : game_(game) { ++game_.title.busy; }
TitleBusy::~TitleBusy() { --game_.title.busy; }

void Title_disp(Game& game) {
    MainForm& ui = game.ui;
    platform::Host& host = game.p.host;
    try {
        ui.Title->move(0, 0, 640, 480);
        ui.Title->visible = true;
        load_title_picture(game);
        ui.Label1->move(30, 380);
        ui.Label2->move(30, 410);
        game.title.select_cursor = load_select_cursor(game);
        for (platform::Control* c : {ui.Label1, ui.Label2, ui.Name_ent_btn}) c->cursor = game.title.select_cursor;
        ui.Shape1->move(10, 360, 140, 90);
        ui.Name_Ent->move(230, 180);
    } catch (const TitleFault& fault) {
        const std::string message = fault.number == kErrFileNotFound
                                        ? std::string("実行に必要なﾌｧｲﾙがありません. file:title")
                                        : "実行に必要なﾌｧｲﾙが異常です.(" + std::to_string(fault.number) + ")";
        host.message_box(message, platform::MsgButtons::Ok);
        Window_unload(game, 1);
    }
    connect(game);
    ui.Title->refresh();
    game.w.SelArmed = kTrue;
    Title_menus(game, false);
    host.center_form(ui.form);
    if (!host.is_shown(ui.form)) host.show_form(ui.form);
    host.yield();
    Ime_set(game, false);
}

void Title_label_move(Game& game, int label) {
    MainForm& ui = game.ui;
    // The label under the pointer turns red and the other black; leaving both changes nothing.
    ui.Label1->fore_color = label == 1 ? kHoverColor : platform::kBlack;
    ui.Label2->fore_color = label == 2 ? kHoverColor : platform::kBlack;
    ui.Label1->refresh();
    ui.Label2->refresh();
}

void Title_new_game(Game& game) {
    MainForm& ui = game.ui;
    EngineState& g = game.g;
    const TitleBusy busy(game);
    if (g.g_SeOn != kFalse) SE_play(game, kSeStart);
    ui.Place_Load->move(0, 0, 640, 480);
    ui.Place_Load->image.fill_rect(0, 0, 640, 480, platform::kBlack);
    Title_dissolve(game, ui.Place_Load->image);
    // The dissolve stops short of its last stages: the copy makes the title wholly black.
    bit_blt(ui.Title->image, 0, 0, 640, 480, ui.Place_Load->image, 0, 0, Rop::SrcCopy);
    ui.Title->refresh();
    for (platform::Control* c : {ui.Label1, ui.Label2, ui.Shape1}) c->visible = false;

    ui.Text1->text = g.g_Names[1];
    ui.Text2->text = g.g_Names[2];
    // The caret after the shown name, so that Backspace takes it away.
    for (platform::Control* box : {ui.Text1, ui.Text2}) {
        box->caret = platform::char_count(box->text.get());
        box->composition = std::string();
    }
    ui.Name_Ent->visible = true;
    ui.form.set_focus(ui.Text1);
    ui.Name_Ent->refresh();
    Ime_set(game, true);
}

void Title_continue(Game& game) {
    EngineState& g = game.g;
    {
        const TitleBusy busy(game);
        if (g.g_SeOn != kFalse) SE_play(game, kSeStart);
        g.g_Running = 0;
        g.g_FileMode = 2;
        File_Window_open(game);
        // A cancelled dialog leaves the title as it was, both labels still working.
        if (g.g_FileMode != 3) return;
        game.ui.Title->visible = false;
        game.ui.Title->refresh();
    }
    Continue_game(game);
}

void Title_dissolve(Game& game, const platform::Surface& source) {
    MainForm& ui = game.ui;
    platform::Surface& title = ui.Title->image;
    platform::Surface& tile = ui.Mesh2->image;
    const platform::Surface& mesh = ui.Mesh1->image;
    constexpr int kCell = kMeshCell;
    for (int s = 1; s <= 7; s += 2) {
        game.frame.start();
        for (int x = 0; x <= 640 - kCell; x += kCell) {
            for (int y = 0; y <= 480 - kCell; y += kCell) {
                bit_blt(tile, 0, 0, kCell, kCell, source, x, y, Rop::SrcCopy);
                bit_blt(tile, 0, 0, kCell, kCell, mesh, kCell * s, kCell, Rop::SrcAnd);
                bit_blt(title, x, y, kCell, kCell, mesh, kCell * s, 0, Rop::SrcAnd);
                // The two masked parts do not overlap, so the exclusive or merges them.
                bit_blt(title, x, y, kCell, kCell, tile, 0, 0, Rop::SrcInvert);
            }
        }
        ui.Title->refresh();
        game.frame.end(kDissolveStepMs);
    }
}

void Ime_set(Game& game, bool open) {
    game.p.host.set_ime_open(open);
    game.title.ime_open = open;
}

void Title_menus(Game& game, bool enabled) {
    for (const char* name : {"prog_load", "prog_save", "speedup"}) game.ui.form.set_menu_enabled(name, enabled);
}

void Title_skip(Game& game) {
    MainForm& ui = game.ui;
    ui.Name_Ent->visible = false;
    ui.Title->visible = false;
    ui.Title->refresh();
    Title_menus(game, true);
    Ime_set(game, false);
    New_game_record(game);
}

const char* Title_waiting(const Game& game) {
    const MainForm& ui = game.ui;
    if (!game.title.loaded || game.title.busy > 0 || !ui.Title->visible) return nullptr;
    if (ui.Name_Ent->visible) return "name";
    if (ui.Label1->visible) return "title";
    return nullptr;
}

void dump_title(const Game& game, platform::JsonWriter& out) {
    out.field("title_visible", game.ui.Title->visible);
    out.field("ime_open", game.title.ime_open);
}

}  // namespace dalvo
