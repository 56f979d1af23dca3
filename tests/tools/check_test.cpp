// dalvo-check: silent on the bundled game, and every planted fault of the folders in
// broken/ reported with its file and line; the route explorer follows every choice.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "check/check.h"
#include "support/fixture.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;
using check::Diagnostic;
using check::Report;
using check::RouteEnd;
using check::RouteResult;
using test::FixtureFolder;

const fs::path kBroken = fs::path(DALVO_SOURCE_DIR) / "tests/tools/broken";

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The bundled game with the files of broken/<name> laid over it: NAME.txt is a text
// file of the game (stored as NAME.dat), other files are copied as they are, and
// remove.txt names files to delete.
void apply_overrides(FixtureFolder& folder, const std::string& name) {
    for (const auto& entry : fs::directory_iterator(kBroken / name)) {
        const fs::path& p = entry.path();
        const std::string file = p.filename().string();
        if (file == "expected.txt") continue;
        if (file == "remove.txt") {
            std::istringstream names(slurp(p));
            for (std::string n; names >> n;) folder.remove(n);
        } else if (p.extension() == ".txt") {
            folder.write_text(p.stem().string() + ".dat", slurp(p));
        } else {
            folder.write_bytes(file, slurp(p));
        }
    }
}

struct Expected {
    std::string file;
    int line = 0;
    check::Severity severity = check::Severity::Error;
    std::string part;
    std::string text;
};

std::vector<Expected> read_expected(const std::string& name) {
    std::vector<Expected> out;
    std::istringstream in(slurp(kBroken / name / "expected.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        Expected e;
        e.text = line;
        std::size_t cut = line.find(": error: ");
        std::size_t skip = 9;
        if (cut == std::string::npos) {
            cut = line.find(": warning: ");
            skip = 11;
            e.severity = check::Severity::Warning;
        }
        const std::string where = line.substr(0, cut);
        e.part = line.substr(cut + skip);
        const std::size_t colon = where.find(':');
        e.file = where.substr(0, colon);
        if (colon != std::string::npos) e.line = std::stoi(where.substr(colon + 1));
        out.push_back(e);
    }
    return out;
}

bool matches(const Diagnostic& d, const Expected& e) {
    return fs::path(d.file).filename() == e.file && d.line == e.line && d.severity == e.severity &&
           d.message.find(e.part) != std::string::npos;
}

// Each expected fault found once, and nothing else reported.
void expect_exactly(const Report& report, const std::string& name) {
    const std::vector<Expected> expected = read_expected(name);
    std::vector<bool> used(report.items().size(), false);
    for (const Expected& e : expected) {
        bool found = false;
        for (std::size_t i = 0; i < report.items().size() && !found; ++i) {
            if (!used[i] && matches(report.items()[i], e)) used[i] = found = true;
        }
        EXPECT_TRUE(found) << "not reported: " << e.text;
    }
    for (std::size_t i = 0; i < used.size(); ++i) {
        EXPECT_TRUE(used[i]) << "unexpected: " << check::format(report.items()[i]);
    }
}

const check::RouteOutcome* outcome(const RouteResult& r, RouteEnd end) {
    for (const auto& o : r.outcomes) {
        if (o.end == end) return &o;
    }
    return nullptr;
}

TEST(Check, BundledGameHasNothingToReport) {
    FixtureFolder folder;
    Report report;
    RouteResult routes;
    check::check_folder(folder.path(), report, &routes);
    EXPECT_EQ(report.text(), "");
    EXPECT_FALSE(report.has_errors());
    ASSERT_TRUE(routes.loaded);
    EXPECT_EQ(outcome(routes, RouteEnd::LastRecord), nullptr);
    EXPECT_EQ(outcome(routes, RouteEnd::NoWait), nullptr);
    EXPECT_EQ(outcome(routes, RouteEnd::Stopped), nullptr);
}

TEST(Check, EveryPlantedFaultIsReportedWithItsFileAndLine) {
    FixtureFolder folder;
    apply_overrides(folder, "static");
    Report report;
    check::check_folder(folder.path(), report);
    expect_exactly(report, "static");
    EXPECT_TRUE(report.has_errors());
    // Lines read as the compilers' own: "DIR/3.dat:5: error: ...".
    EXPECT_NE(report.text().find((folder.path() / "3.dat").string() + ":5: error: "), std::string::npos);
    EXPECT_NE(report.text().find((folder.path() / "75.dat").string() + ": error: "), std::string::npos);
}

TEST(Check, RoutesFollowEveryOptionToItsEnd) {
    FixtureFolder folder;
    apply_overrides(folder, "routes");
    Report report;
    RouteResult routes;
    check::check_folder(folder.path(), report, &routes);
    expect_exactly(report, "routes");

    ASSERT_TRUE(routes.loaded);
    const auto* ending = outcome(routes, RouteEnd::Ending);
    ASSERT_NE(ending, nullptr);
    EXPECT_EQ(ending->hap, 9);
    EXPECT_EQ(ending->picks, std::vector<int>{1});
    EXPECT_EQ(outcome(routes, RouteEnd::LastRecord)->picks, std::vector<int>{2});
    EXPECT_EQ(outcome(routes, RouteEnd::NoWait)->picks, std::vector<int>{3});

    const std::string text = check::routes_text(routes, "3.dat");
    EXPECT_NE(text.find("3.dat:15: warning: record (scene 1004) never executed"), std::string::npos) << text;
    // The epilogue and the closing record are read, never run, and are not listed.
    EXPECT_EQ(text.find("3.dat:8:"), std::string::npos) << text;
    EXPECT_EQ(text.find("3.dat:17: warning"), std::string::npos) << text;
    const std::string json = check::routes_json(routes, report);
    EXPECT_NE(json.find(R"("end":"ending","record":5,"line":7,"scene":1002,"g_hap":9,"routes":1,"picks":[1])"),
              std::string::npos)
        << json;
}

TEST(Check, LoopThatChangesStateIsCutAfterTenThousandRecords) {
    FixtureFolder folder;
    folder.write_text("3.dat",
                      "1001,p2,,,,,,,ben,1,,,\n"
                      "1001,g0,1001,,,,,,,,,,\n"
                      "1001,q,,,,,,,,,,,\n"
                      "1001,,,,,,,,,,,,\n");
    folder.write_text("39.dat", "1001,x,1001\n");
    const RouteResult routes = check::explore_routes(folder.path());
    const auto* o = outcome(routes, RouteEnd::NoWait);
    ASSERT_NE(o, nullptr);
    EXPECT_LE(o->line, 2);
}

TEST(Check, CommandLineExitsWithOneOnErrors) {
    FixtureFolder folder;
    const std::string tool = std::string(DALVO_BINARY_DIR) + "/tools/dalvo-check ";
    EXPECT_EQ(std::system((tool + folder.path().string() + " >/dev/null").c_str()), 0);
    folder.remove("waku.bmp");
    EXPECT_NE(std::system((tool + folder.path().string() + " >/dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + "--json " + folder.path().string() + " 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace dalvo
