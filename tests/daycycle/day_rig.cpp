#include "daycycle/day_rig.h"

#include <gtest/gtest.h>

#include "daycycle/level_form.h"
#include "support/trace_field.h"

namespace dalvo::test {

DayRun::DayRun(const std::vector<Rec>& records,
               const std::function<std::unique_ptr<platform::PlatformSet>()>& make_platform) {
    folder_.write_text("3.dat", script_text(records));
    folder_.write_text("39.dat", first_scene_choice(records));
    run_ = std::make_unique<EngineRun>(folder_.path(), std::filesystem::path(), make_platform);
    EXPECT_EQ(run_->load(), -1) << "the window load ended the program";
    run_->g().g_MsgSpeed = 0;
    // Play starts with the title put away, as the name entry leaves it.
    run_->game().ui.Title->visible = false;
}

DayRun::~DayRun() { stop_watching(); }

void DayRun::watch(std::function<void()> look) {
    look_ = std::move(look);
    if (watcher_ == nullptr) {
        watcher_ = &game().p.host.add_timer("test_watch", 1, [this] {
            if (look_) look_();
            // Due again at once: the next yield looks again even if no time passed.
            if (look_) watcher_->set_enabled(true, now() - 1);
        });
    }
    watcher_->set_enabled(true, now() - 1);
}

void DayRun::stop_watching() {
    if (watcher_ != nullptr) watcher_->set_enabled(false, now());
    look_ = nullptr;
}

platform::Surface DayRun::screen() { return screen_of(game().ui.form); }

platform::Surface DayRun::screen_of(platform::Form& form) {
    // As the player sees it at the end of this turn: the turn's present comes first
    // (watchers look from inside a yield, before its own present).
    game().p.host.present();
    const platform::Surface* shown = game().p.host.screen(form);
    return shown ? *shown : platform::Surface();
}

std::vector<std::uint32_t> DayRun::times(const std::string& ev, const std::string& part) const {
    std::vector<std::uint32_t> out;
    for (const std::string& line : run_->events(ev)) {
        if (line.find(part) == std::string::npos) continue;
        out.push_back(static_cast<std::uint32_t>(std::stoul(field(line, "t"))));
    }
    return out;
}

platform::Surface board_with_bars(const std::array<int, 3>& lengths) {
    platform::Surface out = Draw_board();
    const platform::Surface beam = Draw_beam();
    for (int i = 0; i < 3; ++i) {
        const int v = lengths[i];
        if (v <= 0) continue;
        const int band = v >= 80 ? kBeamRed : kBeamBlue;
        for (int x = 101; x <= 102 + 2 * v; ++x) {
            for (int y = 0; y < 16; ++y) out.set(x, 50 + 45 * i + y, beam.get((x - 101) % 2, band + y));
        }
    }
    return out;
}

}  // namespace dalvo::test
