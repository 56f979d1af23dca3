#include "engine/main_form.h"

#include <stdexcept>
#include <string>

namespace dalvo {

namespace {

using platform::Control;
using platform::ControlKind;

std::string indexed(const char* name, int i) {
    return std::string(name) + "(" + std::to_string(i) + ")";
}

Control* work_surface(platform::Form& form, std::string name) {
    Control& c = form.add(std::move(name), ControlKind::Picture);
    c.visible = false;
    return &c;
}

}  // namespace

MainForm::MainForm(platform::Host& host) {
    form.back_color = platform::Color{0x000000};

    // Hidden work surfaces first: their place in the stack never shows.
    Pic_Back = work_surface(form, "Pic_Back");
    Place_Load = work_surface(form, "Place_Load");
    Place_Load->back_color = platform::kBlack;  // the ending clears it to black
    Place_Back = work_surface(form, "Place_Back");
    // The stage's pictures in the making: refreshing them must not show the stage half
    // changed (a sprite just hidden, an old message) before the effect draws it.
    for (Control* c : {Pic_Back, Place_Load, Place_Back}) c->work_surface = true;
    Waku_Load = work_surface(form, "Waku_Load");
    Mesh1 = work_surface(form, "Mesh1");
    Mesh2 = work_surface(form, "Mesh2");
    for (int i = 0; i < 4; ++i) {
        Doll_Body[i] = work_surface(form, indexed("Doll_Body", i));
        Doll_Mask[i] = work_surface(form, indexed("Doll_Mask", i));
        Doll_Back[i] = work_surface(form, indexed("Doll_Back", i));
    }
    for (int i = 0; i < 3; ++i) {
        Face_Load[i] = work_surface(form, indexed("Face_Load", i));
        Face_Mask[i] = work_surface(form, indexed("Face_Mask", i));
        Face_Disp[i] = work_surface(form, indexed("Face_Disp", i));
    }
    Form_Back = work_surface(form, "Form_Back");
    Form_Back->work_surface = true;
    // The ending's surfaces, below the stage: the staff roll shows them only while
    // the stage is hidden.
    for (int i = 0; i < 4; ++i) {
        Texture[i] = work_surface(form, indexed("Texture", i));
        Texture[i]->back_color = platform::kBlack;
    }
    Staff_pic2 = work_surface(form, "Staff_pic2");
    Staff_pic2->back_color = platform::kBlack;
    End_pic = work_surface(form, "End_pic");
    End_pic->back_color = platform::kWhite;
    Staff_pic1 = work_surface(form, "Staff_pic1");
    Staff_pic1->back_color = platform::kBlack;

    // The stage.
    Pic_Main = &form.add("Pic_Main", ControlKind::Picture);
    Pic_Main->move(0, 0, 640, 368);
    Pic_Main->back_color = platform::kBlack;
    // The day card's labels: white bold text straight on the stage.
    for (int i = 0; i < 5; ++i) {
        FrontMes[i] = &Pic_Main->add(indexed("FrontMes", i), ControlKind::Label);
        FrontMes[i]->visible = false;
        FrontMes[i]->back_opaque = false;
        FrontMes[i]->fore_color = platform::kWhite;
        FrontMes[i]->font = platform::FontSpec{"ＭＳ ゴシック", 15.75, true, false};
    }

    // Sprites over the stage, in their fixed order: slot 3 on top, then 0, 2, 1.
    for (int i : {1, 2, 0, 3}) {
        Doll_Disp[i] = &form.add(indexed("Doll_Disp", i), ControlKind::Picture);
        Doll_Disp[i]->visible = false;
    }

    // The message window with the click-wait mark and the choice lines.
    TxtFrame1[0] = &form.add("TxtFrame1(0)", ControlKind::Picture);
    TxtFrame1[0]->move(20, 368, 600, 104);
    TxtFrame1[1] = &TxtFrame1[0]->add("TxtFrame1(1)", ControlKind::Picture);
    TxtFrame1[1]->move(11, 11, 578, 82);
    TxtFrame1[1]->back_color = platform::kBlack;
    TxtFrame1[1]->fore_color = platform::kWhite;
    // The click-wait mark in the text's own white, so that it shows on the black text area.
    Blinker = &TxtFrame1[1]->add("Blinker", ControlKind::Shape);
    Blinker->filled = true;
    Blinker->fill_color = platform::kWhite;
    Blinker->move(570, 74, 8, 8);
    Blinker->visible = false;
    for (int k = 0; k < 3; ++k) {
        SelBox[k] = &TxtFrame1[1]->add(indexed("SelBox", k), ControlKind::Picture);
        SelBox[k]->visible = false;
        SelBox[k]->back_color = platform::kBlack;
        SelTxt[k] = &SelBox[k]->add(indexed("SelTxt", k), ControlKind::Label);
        SelTxt[k]->caption = "Sel" + std::to_string(k);
        SelTxt[k]->fore_color = platform::kWhite;
        SelTxt[k]->back_opaque = false;
    }

    // The tall history window.
    TxtFrame2[0] = &form.add("TxtFrame2(0)", ControlKind::Picture);
    TxtFrame2[0]->move(20, 305, 600, 167);
    TxtFrame2[0]->visible = false;
    TxtFrame2[1] = &TxtFrame2[0]->add("TxtFrame2(1)", ControlKind::Picture);
    TxtFrame2[1]->move(11, 11, 578, 145);
    TxtFrame2[1]->back_color = platform::kBlack;

    // The title panel covers everything while it is up; the title screen shows it.
    Title = &form.add("Title", ControlKind::Picture);
    Title->move(0, 0, 640, 480);
    Title->back_color = platform::Color{0xE0E0E0};
    Title->visible = false;
    // The panel lies under the labels; the name-entry box over everything on the title.
    Shape1 = &Title->add("Shape1", ControlKind::Shape);
    Shape1->shape = platform::ShapeKind::RoundedRectangle;
    Shape1->filled = true;
    Shape1->fill_color = platform::Color{0xE8F4FF};
    Shape1->border_width = 2;
    Shape1->border_color = platform::Color{0x5A3C46};
    Shape1->move(10, 360, 140, 90);
    const platform::FontSpec menu_font{"ＭＳ ゴシック", 14.25, true, false};
    Label1 = &Title->add("Label1", ControlKind::Label);
    Label1->caption = "はじめから";
    Label2 = &Title->add("Label2", ControlKind::Label);
    Label2->caption = "つづきから";
    for (Control* label : {Label1, Label2}) {
        label->font = menu_font;
        label->back_opaque = false;
        label->move(0, 0, 105, 25);
    }
    Label1->move(30, 380);
    Label2->move(30, 410);

    Name_Ent = &Title->add("Name_Ent", ControlKind::Picture);
    Name_Ent->move(230, 180, 193, 113);
    Name_Ent->back_color = platform::Color{0xC0C0C0};
    Name_Ent->image.back_color = platform::Color{0xC0C0C0};
    Name_Ent->image.clear();
    Name_Ent->visible = false;
    Label3 = &Name_Ent->add("Label3", ControlKind::Label);
    Label3->caption = "名前を変更します";
    Label3->font = {"ＭＳ ゴシック", 12, true, false};
    Label3->fore_color = platform::Color{0x0000FF};
    Label3->back_opaque = false;
    Label3->move(32, 8, 137, 25);
    Text1 = &Name_Ent->add("Text1", ControlKind::TextBox);
    Text1->move(16, 48, 81, 28);
    Text2 = &Name_Ent->add("Text2", ControlKind::TextBox);
    Text2->move(96, 48, 81, 28);
    for (Control* box : {Text1, Text2}) {
        box->font = menu_font;
        box->back_color = platform::kWhite;
    }
    Name_ent_btn = &Name_Ent->add("Name_ent_btn", ControlKind::Button);
    Name_ent_btn->caption = "はじめ";
    Name_ent_btn->font = {"ＭＳ ゴシック", 9.75, false, false};
    Name_ent_btn->move(120, 80, 57, 25);
    Text1->tab_index = 0;
    Text2->tab_index = 1;
    Name_ent_btn->tab_index = 2;

    form.menu = {
        {"prog_end", "終了", true, nullptr},
        {"prog_load", "ロード", true, nullptr},
        {"prog_save", "セーブ", true, nullptr},
        {"opt_menu", "設定", true, nullptr},
        {"speedup", "次の選択まで[Skip]", true, nullptr},
        {"vvrr", "バージョン", true, nullptr},
    };

    Clicker = &host.add_timer("Clicker", 500, [this] {
        Blinker->visible = !Blinker->visible;
        Blinker->refresh();
    });
}

platform::MenuItem& MainForm::menu(std::string_view name) {
    platform::MenuItem* item = form.menu_item(name);
    if (item == nullptr) throw std::logic_error("no menu command " + std::string(name));
    return *item;
}

}  // namespace dalvo
