#pragma once
// What the message window's files share among themselves.

#include <string>

#include "platform/gfx/color.h"
#include "platform/ui/form.h"

namespace dalvo {

struct Game;

inline constexpr int kLineChars = 36;    // characters of one message line
inline constexpr int kScrollWidth = 584;  // the block the scroll copies (wider than the area)
inline constexpr int kScrollHeight = 80;
inline constexpr int kTextAreaHeight = 82;
inline constexpr int kLogSize = 9;       // history lines, LogText(1..9)

inline constexpr platform::Color kHoverColor = platform::Color{0x8080FF};
inline constexpr platform::Color kPickColor = platform::Color{0x0000FF};

inline constexpr const char* kCaptionSkip = "次の選択まで[Skip]";
inline constexpr const char* kCaptionStop = "次の選択まで[Stop]";

// One step of the smooth scroll: the text moves up one pixel, and the step lasts
// more than 10 ms with the message loop served meanwhile.
void Scroll_step(Game& game);

// Skipping ends (a pick, a history look): mode 1 and the caption that offers skipping again.
void Skip_end(Game& game);

// Appends a drawn line to the history; the oldest line falls out.
void Log_append(Game& game, const std::string& line, platform::Color color);

// Event handlers of the game window.
void Stage_mouse_down(Game& game, const platform::MouseEvent& e);
void Stage_key_down(Game& game, int key);
void TxtFrame1_mouse_down(Game& game, const platform::MouseEvent& e);
void TxtFrame2_mouse_down(Game& game, const platform::MouseEvent& e);
void SelTxt_mouse_move(Game& game, int k);
void SelTxt_mouse_down(Game& game, int k, const platform::MouseEvent& e);
void Menu_connect(Game& game);

}  // namespace dalvo
