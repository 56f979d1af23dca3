#pragma once
// A game loaded headless on the bundled data folder with a short scenario that ends
// at once, and screenshots taken when chosen trace events were written.

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/game_rig.h"

namespace dalvo::test {

struct EndingScript {
    int hap = 0;  // set by a "p2" record before the ending when nonzero
    std::array<std::string, 4> lines{"海の見える町で", "小さな冬が終わった", "春になれば",
                                     "また新しい季節がはじまる"};
};

class EndingRig : public GameRig {
public:
    explicit EndingRig(const EndingScript& script = {});

    // Runs the scenario from its first record: the ending, then the program's end.
    int play() {
        g().g_ScriptPos = 0;
        return run();
    }

    // Takes a screenshot named `name` at the first trace event that matches `pattern`.
    void shoot_at(std::string pattern, std::string name) { wanted_.emplace_back(std::move(pattern), std::move(name)); }
    const platform::Surface& shot(const std::string& name) const { return shots_.at(name); }
    // The time of the first event that matches `pattern`; fails the test when none does.
    std::uint32_t time_of(std::string_view pattern) const { return test::time_of(first(pattern)); }

private:
    std::vector<std::pair<std::string, std::string>> wanted_;
    std::map<std::string, platform::Surface> shots_;
};

}  // namespace dalvo::test
