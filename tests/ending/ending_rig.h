#pragma once
// A game loaded headless on the bundled data folder with a short scenario that ends
// at once, and what its ending showed: the trace, and screenshots taken when
// chosen trace events were written.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/game.h"
#include "platform/platform.h"
#include "support/fixture.h"

namespace dalvo::test {

struct EndingScript {
    int hap = 0;  // set by a "p2" record before the ending when nonzero
    std::array<std::string, 4> lines{"海の見える町で", "小さな冬が終わった", "春になれば",
                                     "また新しい季節がはじまる"};
};

class EndingRig {
public:
    explicit EndingRig(const EndingScript& script = {});

    Game& game() { return *game_; }
    MainForm& ui() { return game_->ui; }
    FixtureFolder& folder() { return folder_; }
    std::uint32_t now() { return game_->p.clock.ticks(); }

    // Runs the scenario from its first record: the ending, then the program's end.
    int play();

    // Takes a screenshot named `name` when a trace line containing `marker` is written.
    void shoot_at(const std::string& marker, const std::string& name);
    const platform::Surface& shot(const std::string& name) const { return shots_.at(name); }

    std::vector<std::string> events(const std::string& ev) const;
    // The first trace line containing `marker`, and its time; fails the test when none.
    std::string line_with(const std::string& marker) const;
    std::uint32_t time_of(const std::string& marker) const;

private:
    FixtureFolder folder_;
    std::unique_ptr<platform::PlatformSet> set_;
    std::vector<std::string> trace_;
    std::vector<std::pair<std::string, std::string>> shots_wanted_;
    std::map<std::string, platform::Surface> shots_;
    std::unique_ptr<Game> game_;
};

// The "t" of a trace line.
std::uint32_t time_of_line(const std::string& line);

// Expects `actual` to hash to `expected`; on a mismatch writes the actual picture as
// <name>.actual.png into the test output folder and names it in the failure.
void expect_picture_hash(const platform::Surface& actual, std::uint64_t expected, const std::string& name);

// Expects two pictures to be equal; on a mismatch writes both as PNG files.
void expect_same_picture(const platform::Surface& expected, const platform::Surface& actual,
                         const std::string& name);

}  // namespace dalvo::test
