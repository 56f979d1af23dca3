#pragma once
// A game loaded headless on the bundled data folder with a short scenario that ends
// at once, and what its ending showed: the trace, and screenshots taken when
// chosen trace events were written.

#include <array>
#include <cstdint>
#include <functional>
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

// Writes the scenario of `script` as "3.dat", with a choice table that fits it.
void write_ending_scenario(FixtureFolder& folder, const EndingScript& script);

class EndingRig {
public:
    explicit EndingRig(const EndingScript& script = {});
    ~EndingRig();

    Game& game() { return *game_; }
    MainForm& ui() { return game_->ui; }
    FixtureFolder& folder() { return folder_; }
    std::uint32_t now() { return game_->p.clock.ticks(); }

    // Runs `f`; returns the exit code when the program ended inside it, else -1.
    int until_end(const std::function<void()>& f);
    // Runs the scenario from its first record: the ending, then the program's end.
    int play();

    // Takes a screenshot named `name` when a trace line containing `marker` is written.
    void shoot_at(const std::string& marker, const std::string& name);
    const platform::Surface& shot(const std::string& name) const;

    std::vector<std::string> events(const std::string& ev) const;
    const std::vector<std::string>& trace() const { return trace_; }
    // The first trace line containing `marker`, and its time; fails the test when none.
    std::string line_with(const std::string& marker) const;
    std::uint32_t time_of(const std::string& marker) const;

    platform::Surface screen();

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

// The hash the ending's screenshots were pinned with, checked by eye once.
std::uint64_t ending_picture_hash(const platform::Surface& s);

// Expects `actual` to hash to `expected`; on a mismatch writes the actual picture as
// <name>.actual.png into the test output folder and names it in the failure.
void expect_picture_hash(const platform::Surface& actual, std::uint64_t expected, const std::string& name);

// Expects two pictures to be equal; on a mismatch writes both as PNG files.
void expect_same_picture(const platform::Surface& expected, const platform::Surface& actual,
                         const std::string& name);

}  // namespace dalvo::test
