#pragma once
// The game window `Main_Form`: its controls in stacking order, its menu bar and its
// click-wait timer. Handlers are attached by the routines that own them.

#include <array>

#include "platform/ui/form.h"
#include "platform/host.h"

namespace dalvo {

struct MainForm {
    explicit MainForm(platform::Host& host);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    platform::Form form{"Main_Form", "DALVO!", 640, 480};

    // Hidden work surfaces (pure buffers; never shown).
    platform::Control* Pic_Back = nullptr;
    platform::Control* Place_Load = nullptr;
    platform::Control* Place_Back = nullptr;
    platform::Control* Waku_Load = nullptr;
    platform::Control* Mesh1 = nullptr;
    platform::Control* Mesh2 = nullptr;
    std::array<platform::Control*, 4> Doll_Body{};
    std::array<platform::Control*, 4> Doll_Mask{};
    std::array<platform::Control*, 4> Doll_Back{};
    std::array<platform::Control*, 3> Face_Load{};
    std::array<platform::Control*, 3> Face_Mask{};
    std::array<platform::Control*, 3> Face_Disp{};
    platform::Control* Form_Back = nullptr;
    // The ending's surfaces: the staff titles' work buffers and the card being built
    // stay hidden; the picture and the card beside it are shown during the staff roll.
    std::array<platform::Control*, 4> Texture{};
    platform::Control* Staff_pic2 = nullptr;
    platform::Control* End_pic = nullptr;
    platform::Control* Staff_pic1 = nullptr;

    // The stage and what lies over it, bottom to top.
    platform::Control* Pic_Main = nullptr;          // children: FrontMes(0..4) (day card)
    std::array<platform::Control*, 5> FrontMes{};   // the date card's labels, hidden at start
    std::array<platform::Control*, 4> Doll_Disp{};  // created 1, 2, 0, 3
    std::array<platform::Control*, 2> TxtFrame1{};  // [1] is the text area inside [0]
    platform::Control* Blinker = nullptr;           // inside TxtFrame1(1)
    std::array<platform::Control*, 3> SelBox{};     // inside TxtFrame1(1)
    std::array<platform::Control*, 3> SelTxt{};     // inside SelBox(k)
    std::array<platform::Control*, 2> TxtFrame2{};  // the history window
    platform::Control* Title = nullptr;             // children: Label1, Label2, Shape1, Name_Ent
    platform::Control* Shape1 = nullptr;            // the panel behind the two title labels
    platform::Control* Label1 = nullptr;            // "はじめから"
    platform::Control* Label2 = nullptr;            // "つづきから"
    platform::Control* Name_Ent = nullptr;          // the name-entry box
    platform::Control* Label3 = nullptr;            // inside Name_Ent
    platform::Control* Text1 = nullptr;             // inside Name_Ent
    platform::Control* Text2 = nullptr;             // inside Name_Ent
    platform::Control* Name_ent_btn = nullptr;      // inside Name_Ent

    // Blinks `Blinker` while a click is awaited; created stopped.
    platform::Timer* Clicker = nullptr;

    platform::MenuItem& menu(std::string_view name);
};

}  // namespace dalvo
