// Damaged data folders that once ended the program by an abort or a sanitizer report, played
// by the real program: each ends with the game's own message (or plays on), the pictures
// sealed again, the slots the play never saved into as they were.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/fixture.h"
#include "support/json_value.h"
#include "support/made_files.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

// Title, name entry, two lines, the options dialog, then on to the first choice.
constexpr const char* kToFirstChoice =
    "idle\npress Main_Form.Label1\nidle\npress Main_Form.Name_ent_btn\nidle\nclick 320 200\nidle\n"
    "click 320 200\nidle\npress Option_Window.Command1\nwait 100\nidle\nmenu speedup\nidle\n"
    // The load dialog lists every slot, then closes.
    "menu prog_load\nidle\npress File_Window.Label3(1)\nidle\ndump choice\n";

// A run-length bitmap of the given size in a few bytes, sealed as the folder keeps it.
std::string sealed_rle8(std::int32_t width, std::int32_t height) {
    const Bytes b = rle8_bitmap(width, height);
    return "JF" + std::string(b.begin() + 2, b.end());
}

struct Case {
    const char* what;
    std::function<void(FixtureFolder&)> damage;
    int exit_code;
    const char* message;  // a part of the one message box, or "" for none
};

TEST(HostileFolder, EndsWithTheGamesMessageAndLeavesPicturesSealedAndSlotsAlone) {
    const Case cases[] = {
        {"the frame picture a folder",
         [](FixtureFolder& d) {
             d.remove("waku.bmp");
             fs::create_directory(d.file("waku.bmp"));
         },
         1, "ありません"},
        {"a place's picture a folder",
         [](FixtureFolder& d) {
             std::string script = d.read_text("3.dat");
             script.replace(script.find("\n1000,,,1,"), 10, "\n1000,,,13,");
             d.write_text("3.dat", script);
             d.remove("83.dat");
             fs::create_directory(d.file("83.dat"));
         },
         1, "83.dat"},
        {"a picture past the size limit", [](FixtureFolder& d) { d.write_bytes("71.dat", sealed_rle8(4097, 4097)); },
         1, "71.dat"},
        {"a picture at the size limit", [](FixtureFolder& d) { d.write_bytes("71.dat", sealed_rle8(4096, 4096)); },
         0, ""},
        {"an empty option label",
         [](FixtureFolder& d) {
             std::string choices = d.read_text("39.dat");
             choices.replace(0, choices.find(",1200"), "1190,");
             d.write_text("39.dat", choices);
         },
         0, ""},
        {"a save slot a folder", [](FixtureFolder& d) { fs::create_directories(d.file("42.dat") / "inside"); }, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FixtureFolder data;
        data.write_bytes("40.dat", std::string("not a save\r\n"));
        c.damage(data);
        const fs::path out = data.path() / "out";
        data.write_bytes("input.txt", std::string(kToFirstChoice));
        const RunResult run =
            play_dalvo(data.path(), data.file("input.txt"), out, {"--trace", (out / "trace.jsonl").string()});
        EXPECT_EQ(run.exit_code, c.exit_code) << run.err;
        const std::vector<std::string> boxes = texts(read_json_lines(out / "trace.jsonl"), "text", "msgbox");
        if (*c.message == '\0') {
            EXPECT_TRUE(boxes.empty()) << boxes.front();
            EXPECT_EQ(read_json(out / "choice.json")["waiting"].str(), "choice");
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_NE(boxes[0].find(c.message), std::string::npos) << boxes[0];
        }
        for (int n : {51, 61, 70, 71, 82, 91}) EXPECT_EQ(data.signature(std::to_string(n) + ".dat"), "JF") << n;
        EXPECT_EQ(data.read_text("40.dat"), "not a save\r\n");
        EXPECT_TRUE(fs::is_directory(data.file("42.dat")) || !fs::exists(data.file("42.dat")));
    }
}

}  // namespace
}  // namespace dalvo::test
