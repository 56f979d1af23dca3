#pragma once
// A headless game window with its message window laid out, and input scheduled
// on the virtual clock.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/game.h"
#include "platform/platform.h"

namespace dalvo::test {

class MessageRig {
public:
    MessageRig();

    Game& game() { return *game_; }
    EngineState& g() { return game_->g; }
    WindowState& w() { return game_->w; }
    MainForm& ui() { return game_->ui; }
    platform::Surface& area() { return ui().TxtFrame1[1]->image; }
    std::uint32_t now() { return game_->p.clock.ticks(); }

    // Runs `action` inside the first yield at least `ms` from now.
    void at(std::uint32_t ms, std::function<void()> action);
    // Input to the game window, posted `ms` from now.
    void post_at(std::uint32_t ms, platform::InputEvent event);
    void click_at(std::uint32_t ms, int x, int y, platform::MouseButton b = platform::MouseButton::Left);
    // One message as the interpreter shows it.
    void say(int speaker, const std::string& text);
    // Runs `f`; the exit code when the program ended inside it, else -1.
    int until_end(const std::function<void()>& f);
    std::vector<std::string> msgboxes, waves;  // trace lines

private:
    std::unique_ptr<platform::PlatformSet> set_;
    std::unique_ptr<Game> game_;
    std::vector<std::pair<std::uint32_t, std::function<void()>>> due_;
};

// Client points on the stage and on the text areas of the two message windows.
inline constexpr int kStageX = 300, kStageY = 200;
inline constexpr int kTextX = 331, kTextY = 419;
inline constexpr int kHistoryX = 331, kHistoryY = 356;

// True when some pixel of the rows [top, top + h) has colour `c`.
bool band_has(const platform::Surface& s, int top, int h, platform::Color c);

}  // namespace dalvo::test
