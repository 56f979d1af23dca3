#pragma once
// The title screen and the name entry beyond what the window load calls
// (`Title_disp` is in daycycle.h).

#include <string>

#include "platform/codec/json.h"
#include "platform/gfx/surface.h"

namespace dalvo {

struct Game;

// The four-step mesh dissolve of `Title` towards the 640 x 480 picture `source`.
void Title_dissolve(Game& game, const platform::Surface& source);

// Marks a title or name-entry handler at work for its lifetime: the automation then
// sees nobody waited for.
class TitleBusy {
public:
    explicit TitleBusy(Game& game);
    ~TitleBusy();
    TitleBusy(const TitleBusy&) = delete;
    TitleBusy& operator=(const TitleBusy&) = delete;

private:
    Game& game_;
};

// Enables or disables the menu commands that must not run before the game starts:
// load, save and skip.
void Title_menus(Game& game, bool enabled);

// Opens or closes the input method of the game window.
void Ime_set(Game& game, bool open);

// The title's handlers.
void Title_label_move(Game& game, int label);
void Title_new_game(Game& game);
void Title_continue(Game& game);
// The "はじめ" button of the name entry: checks and stores the names, then starts the script.
void Name_ent_btn_click(Game& game);

// A name the entry accepts: 1 to 5 characters, each one Shift-JIS can hold, and no "&"
// (which the message text would take for a name marker), "," or `"` (which a save file
// cannot hold).
bool Name_acceptable(const std::string& name);

// The day-start record of a new game, with the names as they now stand.
void New_game_record(Game& game);

// Play without the title: the title is put away as the name entry leaves it (hidden,
// menus enabled, input method off). For runs that start the script at once.
void Title_skip(Game& game);

// For the automation: "title" while the title waits for a choice, "name" while the
// name entry waits for its button, else nullptr.
const char* Title_waiting(const Game& game);

// The title's keys of the state dump.
void dump_title(const Game& game, platform::JsonWriter& out);

}  // namespace dalvo
