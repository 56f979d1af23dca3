// The about box: not modal, loaded afresh at each opening, and gone as soon as
// another window takes the focus, so it never stays open behind the game.

#include "dialogs/about_box.h"

#include <memory>
#include <string>

#include "dialogs/dialogs.h"
#include "dialogs/maker.h"
#include "engine/game.h"
#include "platform/gfx/picture.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::ControlKind;

constexpr platform::Color kLinkBlue = platform::Color{0xC00000};
constexpr const char* kRequirements =
    "PentiumMMX200MHz以上のCPUと800×600dot×24bit色\r\n"
    "以上(TrueColor)のｸﾞﾗﾌｨｯｸ表示が可能な環境が必要です。";
constexpr const char* kRights =
    "本ソフトウェアの著作権は制作者に帰属します。\r\n"
    "無断での複製・転載・再配布を禁じます。\r\n"
    "(C) 2000 DALVO! Project  All rights reserved.";

Control& add_label(platform::Form& form, const char* name, int left, int top, int width, int height) {
    Control& c = form.add(name, ControlKind::Label);
    c.move(left, top, width, height);
    c.back_opaque = false;  // the coloured panels show through
    return c;
}

Control& add_panel(platform::Form& form, const char* name, int left, int top, int width, int height,
                   platform::Color color) {
    Control& c = form.add(name, ControlKind::Shape);
    c.move(left, top, width, height);
    c.shape = platform::ShapeKind::RoundedRectangle;
    c.filled = true;
    c.fill_color = color;
    c.border_width = 1;
    return c;
}

void unload(Game& game) { game.dialogs.about.reset(); }

// The caption goes to the desktop exactly as shown, "mailto:" included; what the
// desktop makes of it is not our business.
void link_click(Game& game, const char* label) {
    if (!game.dialogs.about) return;
    const Control* c = game.dialogs.about->form.find(label);
    if (c == nullptr) return;
    const std::string url = c->caption;
    game.p.host.launch_url(url);
}

// A focused button takes Enter and Space as a click.
void key_down(Game& game, int key) {
    AboutBox& d = *game.dialogs.about;
    if ((key == platform::key::Enter || key == platform::key::Space) && d.form.focus() == d.cmdOK) unload(game);
}

void load(Game& game) {
    // The pointer over the links comes from beside the program, not from the data folder.
    auto cursor = std::make_shared<platform::Cursor>();
    std::string error;
    if (!platform::load_cursor(platform::DataFolder(game.g_AppPath / "data").path("select.cur"), *cursor, error)) {
        game.p.host.message_box(error, platform::MsgButtons::Ok);
        return;
    }

    auto& slot = game.dialogs.about;
    slot = std::make_unique<AboutBox>(game.p.host);
    AboutBox& d = *slot;
    d.Label5->caption = "DALVO!";
    d.Label6->caption = "Ver. 1.20";
    d.Label1->caption = kRequirements;
    d.Label2->caption = kRights;
    d.Label3->caption = std::string("mailto:") + kMakerMail;
    d.Label4->caption = kMakerWeb;
    d.Label3->cursor = cursor;
    d.Label4->cursor = cursor;

    d.Label3->on_click = [&game] { link_click(game, "Label3"); };
    d.Label4->on_click = [&game] { link_click(game, "Label4"); };
    d.cmdOK->on_click = [&game] { unload(game); };
    d.form.on_lost_focus = [&game] { unload(game); };
    d.form.on_close_request = [&game] { unload(game); };
    d.form.on_key_down = [&game](int key) { key_down(game, key); };
    d.form.set_focus(d.cmdOK);

    game.p.host.center_form(d.form);
    game.p.host.show_form(d.form);
}

}  // namespace

AboutBox::AboutBox(platform::Host& host) : host_(host) {
    // The panels first: they lie behind the labels.
    Shape3 = &add_panel(form, "Shape3", 8, 40, 321, 41, platform::Color{0xC0C0FF});
    Shape1 = &add_panel(form, "Shape1", 8, 88, 321, 57, platform::Color{0xC0E0FF});
    Shape2 = &add_panel(form, "Shape2", 8, 152, 321, 33, platform::Color{0xC0FFFF});

    Label5 = &add_label(form, "Label5", 16, 8, 73, 17);
    Label5->font = platform::FontSpec{"ＭＳ ゴシック", 12.0, true, false};
    Label6 = &add_label(form, "Label6", 152, 16, 65, 17);
    cmdOK = &form.add("cmdOK", ControlKind::Button);
    cmdOK->move(240, 0, 79, 31);
    cmdOK->caption = "OK";
    cmdOK->font = platform::FontSpec{"ＭＳ Ｐゴシック", 9.0, false, false};
    cmdOK->tab_index = 0;
    Label1 = &add_label(form, "Label1", 16, 48, 313, 25);
    Label2 = &add_label(form, "Label2", 16, 96, 313, 41);
    Label3 = &add_label(form, "Label3", 16, 152, 305, 17);
    Label4 = &add_label(form, "Label4", 16, 168, 305, 17);
    for (Control* link : {Label3, Label4}) {
        link->fore_color = kLinkBlue;
        link->font = platform::FontSpec{"ＭＳ ゴシック", 8.25, false, false};
    }
}

AboutBox::~AboutBox() {
    if (host_.is_shown(form)) host_.hide_form(form);
}

void About_open(Game& game) {
    // Already open: it only comes to the front.
    if (game.dialogs.about) {
        game.p.host.show_form(game.dialogs.about->form);
        return;
    }
    load(game);
}

bool About_is_open(const Game& game) { return game.dialogs.about != nullptr; }

}  // namespace dalvo
