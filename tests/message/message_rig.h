#pragma once
// A headless game window with its message window laid out, and input scheduled
// on the virtual clock.

#include <string>
#include <vector>

#include "support/game_rig.h"

namespace dalvo::test {

class MessageRig : public GameRig {
public:
    MessageRig();
    platform::Surface& area() { return ui().TxtFrame1[1]->image; }
    // One message as the interpreter shows it.
    void say(int speaker, const std::string& text);
    // The choice table as read from "39.dat", and a choice of `count` options of `scene`.
    void offer(const std::vector<SctEntry>& table, int scene, const std::string& count);
};

// Client points on the stage and on the text areas of the two message windows.
inline constexpr int kStageX = 300, kStageY = 200;
inline constexpr int kTextX = 331, kTextY = 419;
inline constexpr int kHistoryX = 331, kHistoryY = 356;

// True when some pixel of the rows [top, top + h) has colour `c`.
bool band_has(const platform::Surface& s, int top, int h, platform::Color c);

}  // namespace dalvo::test
