// dalvo-check: silent on the bundled game, and every planted fault of the folders in
// broken/ reported with its file and line; the route explorer follows every choice.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "check/check.h"
#include "platform/codec/text_codec.h"
#include "support/fixture.h"
#include "support/system.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;
using check::Report;
using check::RouteEnd;
using check::RouteResult;
using test::FixtureFolder;
using test::read_file;

const fs::path kBroken = fs::path(DALVO_SOURCE_DIR) / "tests/tools/broken";

// The bundled game with the files of broken/<name> laid over it: NAME.txt is a text
// file of the game (stored as NAME.dat), other files are copied as they are, and
// remove.txt names files to delete.
void apply_overrides(FixtureFolder& folder, const std::string& name) {
    for (const auto& entry : fs::directory_iterator(kBroken / name)) {
        const fs::path& p = entry.path();
        const std::string file = p.filename().string();
        if (file == "expected.txt") continue;
        if (file == "remove.txt") {
            std::istringstream names(read_file(p));
            for (std::string n; names >> n;) folder.remove(n);
        } else if (p.extension() == ".txt") {
            folder.write_text(p.stem().string() + ".dat", read_file(p));
        } else {
            folder.write_bytes(file, read_file(p));
        }
    }
}

// Each line of broken/<name>/expected.txt, "FILE[:LINE]: SEVERITY: part of the message",
// is one reported fault (named without its folder), and nothing else is reported.
void expect_exactly(const Report& report, const std::string& name) {
    std::vector<std::string> got;
    for (check::Diagnostic d : report.items()) {
        d.file = fs::path(d.file).filename().string();
        got.push_back(check::format(d));
    }
    std::istringstream in(read_file(kBroken / name / "expected.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::size_t cut = line.find(": error: ");
        cut = cut != std::string::npos ? cut + 9 : line.find(": warning: ") + 11;
        const std::string where = line.substr(0, cut), part = line.substr(cut);
        const auto it = std::find_if(got.begin(), got.end(), [&](const std::string& g) {
            return g.rfind(where, 0) == 0 && g.find(part, cut) != std::string::npos;
        });
        if (it == got.end()) ADD_FAILURE() << "not reported: " << line;
        else got.erase(it);
    }
    for (const std::string& g : got) ADD_FAILURE() << "unexpected: " << g;
}

// The check of the bundled game with broken/<name> laid over it, which must report exactly
// the faults listed there.
Report check_broken(FixtureFolder& folder, const std::string& name, RouteResult* routes = nullptr) {
    apply_overrides(folder, name);
    Report report;
    check::check_folder(folder.path(), report, routes);
    expect_exactly(report, name);
    return report;
}

const check::RouteOutcome* outcome(const RouteResult& r, RouteEnd end) {
    const auto it = std::find_if(r.outcomes.begin(), r.outcomes.end(), [&](const auto& o) { return o.end == end; });
    return it == r.outcomes.end() ? nullptr : &*it;
}

TEST(Check, BundledGameHasNothingToReportAndTheCommandExitsWithOneOnErrors) {
    FixtureFolder folder;
    Report report;
    // A route that ends badly, or a scenario the explorer cannot load, is reported too.
    check::check_folder(folder.path(), report);
    EXPECT_EQ(report.text(), "");

    // Its output beside the folder, where the check does not see it.
    const fs::path out = folder.path().string() + ".out", err = folder.path().string() + ".err";
    const auto tool = [&](std::vector<std::string> args) {
        args.push_back(folder.path().string());
        return test::run_program(fs::path(DALVO_BINARY_DIR) / "tools/dalvo-check", args, out, err);
    };
    EXPECT_EQ(tool({}), 0);
    folder.remove("waku.bmp");
    EXPECT_EQ(tool({}), 1);
    EXPECT_EQ(tool({"--json"}), 1);
    fs::remove(out);
    fs::remove(err);
}

TEST(Check, EveryPlantedFaultIsReportedWithItsFileAndLine) {
    FixtureFolder folder, story;
    const Report report = check_broken(folder, "static");
    // Lines read as the compilers' own: "DIR/3.dat:5: error: ...".
    EXPECT_NE(report.text().find((folder.path() / "3.dat").string() + ":5: error: "), std::string::npos);
    EXPECT_NE(report.text().find((folder.path() / "75.dat").string() + ": error: "), std::string::npos);
    // Story faults are warned on the routes that meet them.
    check_broken(story, "story");
}

// A folder as Windows made it is checked as the game finds its files, with a warning for
// each name found only by case or as Shift-JIS bytes, for two names that differ only by
// case, and for text after an end-of-file mark.
TEST(Check, FoldersMadeOnWindowsAreCheckedAsTheGameFindsTheirFiles) {
    FixtureFolder folder;
    fs::rename(folder.file("wall.bmp"), folder.file("WALL.BMP"));
#ifdef _WIN32
    // Names there are found as Windows finds them, and no name on disk is Shift-JIS: only
    // the marks are left to report.
    fs::rename(folder.file("bgm02.mid"), folder.path() / fs::path(u8"海.MID"));
    const char* expected = "windows-on-windows";
#else
    fs::copy_file(folder.file("75.dat"), folder.file("75.DAT"));
    fs::rename(folder.file("bgm02.mid"), folder.file(*platform::utf8_to_sjis("海.MID")));
    const char* expected = "windows";
#endif
    std::string names = folder.read_text("30.dat");
    names.replace(names.find("bgm02.mid"), 9, "海.mid");
    folder.write_text("30.dat", names + "\x1A" + "more names\n");  // after its 25 lines
    // The mark as editors wrote it, which would be a record cut short if it were read.
    for (const char* text : {"3.dat", "39.dat"}) folder.write_text(text, folder.read_text(text) + "\x1A");
    Report report;
    check::check_folder(folder.path(), report);
    expect_exactly(report, expected);
}

TEST(Check, RoutesFollowEveryOptionToItsEnd) {
    FixtureFolder folder;
    RouteResult routes;
    // Each route's end, with the options picked on the way, is one of the faults listed there.
    const Report report = check_broken(folder, "routes", &routes);
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
    folder.write_scenario("1001,p2,,,,,,,ben,1,,,\n"
                          "1001,g0,1001,,,,,,,,,,\n"
                          "1001,q,,,,,,,,,,,\n"
                          "1001,,,,,,,,,,,,\n",
                          "1001,x,1001\n");
    const RouteResult routes = check::explore_routes(folder.path());
    const auto* o = outcome(routes, RouteEnd::NoWait);
    ASSERT_NE(o, nullptr);
    EXPECT_LE(o->line, 2);
}

}  // namespace
}  // namespace dalvo
