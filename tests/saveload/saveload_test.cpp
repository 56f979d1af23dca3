// The slot dialog and the save files: listing, saving, overwriting, deleting, damaged
// files and saves cut short, on a headless game window with input on the virtual clock;
// then the real program, headless: a save made in the second half-day and loaded later,
// from the menu and from the title of a fresh run, returns to that half-day's start.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "engine/dump.h"
#include "engine/game.h"
#include "platform/codec/text_codec.h"
#include "platform/os/player_folder.h"
#include "saveload/file_window.h"
#include "saveload/saveload.h"
#include "support/game_rig.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

class SaveRig : public GameRig {
public:
    SaveRig() {
        g().g_SeOn = kTrue;
        g().g_ScriptLast = 100;
        for (int n = 1; n <= 9; ++n) g().g_MusicFile[n] = std::string("bgm0").append(std::to_string(n)).append(".mid");
        host().show_form(ui().form);
    }

    FileWindow& win() { return *game().saveload.window; }
    // Operates the named controls of the dialog, one every `step` ms.
    void press(std::uint32_t ms, std::initializer_list<const char*> controls, std::uint32_t step = 400) {
        for (const char* c : controls) {
            post_at(ms, platform::PressControl{"File_Window", c});
            ms += step;
        }
    }
    void open(int mode) {
        g().g_FileMode = static_cast<std::int16_t>(mode);
        File_Window_open(game());
    }
    // The sound effect of each "wave" event.
    std::vector<std::int64_t> waves() const { return numbers(events("wave"), "n"); }

    fs::path slot_file(int s) { return folder().file(std::string("4").append(std::to_string(s)).append(".dat")); }
    std::string slot(int s) { return read_file(slot_file(s)); }
    bool has_slot(int s) { return fs::exists(slot_file(s)); }
    void put_slot(int s, const std::string& bytes) { folder().write_bytes(slot_file(s).filename().string(), bytes); }
};

// A day-start record as the day routine writes it, for half-day `day` begun at record `pos`.
DayStartRecord day_record(int day, int pos) {
    auto number = [](int v) { return v < 0 ? std::to_string(v) : std::string(" ").append(std::to_string(v)); };
    DayStartRecord f{number(day), "友人", "太郎", "True", "False", number(3), number(pos)};
    for (int i = 7; i <= 17; ++i) f[i] = number(i - 10);  // -3 .. 7
    f[18] = number(2);
    f[19] = number(5);
    f[20] = number(0);
    return f;
}

// A slot file holding that record, with entry `entry` replaced by `value` when one is given.
std::string save_bytes(int day, int pos, int entry = -1, const std::string& value = {}) {
    DayStartRecord f = day_record(day, pos);
    if (entry >= 0) f[entry] = value;
    return *save_file_bytes({2001, 3, 4, 5, 6}, f);
}

TEST(SlotDialog, SaveWritesTheDayStartRecordAndListsItsFullWidthDate) {
    SaveRig rig;
    rig.g().g_Flags = day_record(7, 42);
    rig.game().sound.g_BgmNo = 4;
    std::vector<bool> offered;
    std::set<std::string> waiting;
    rig.at(50, [&] {
        for (auto* button : rig.win().Picture2) offered.push_back(button->visible);
    });
    rig.sample = [&] {
        if (rig.game().saveload.window) waiting.insert(waiting_for(rig.game()));
    };
    rig.press(100, {"Label1(1)"});
    rig.at(350, [&] { EXPECT_EQ(rig.win().Picture1[1]->back_color, platform::Color{0x8080FF}); });
    rig.press(400, {"Picture2(0)"});
    rig.at(2000, [&] {
        EXPECT_FALSE(rig.win().Picture3->visible);
        EXPECT_EQ(rig.win().Label2->caption, "セーブしました");
        EXPECT_EQ(rig.win().Label1[1]->caption, "１２／２８　ＰＭ     (12/25 09:00)");
        EXPECT_EQ(rig.win().Label1[1]->fore_color, platform::Color{0x800000});
        EXPECT_EQ(rig.g().g_FileMode, 1);  // saving leaves the dialog open
    });
    rig.press(2100, {"Label3(1)"});
    rig.open(1);

    EXPECT_EQ(offered, (std::vector<bool>{true, true, true, false}));  // "Save", "Close", "Del"
    EXPECT_EQ(waiting, (std::set<std::string>{"dialog", "none"}));   // "none" while a button works
    const std::string expected =
        "2000/12/25 09:00\r\n 7\r\n友人\r\n太郎\r\nTrue\r\nFalse\r\n 3\r\n 42\r\n-3\r\n-2\r\n-1\r\n 0\r\n"
        " 1\r\n 2\r\n 3\r\n 4\r\n 5\r\n 6\r\n 7\r\n 2\r\n 5\r\n 4\r\n\\\r\n";
    EXPECT_EQ(rig.slot(1), *platform::utf8_to_sjis(expected));
    EXPECT_FALSE(rig.has_slot(0));
    EXPECT_FALSE(fs::exists(rig.folder().file("41.dat.tmp")));
    EXPECT_EQ(rig.waves(), (std::vector<std::int64_t>{2, 2, 2}));  // the slot, "Save", "Close"
}

TEST(SlotDialog, OverwriteAndDelAskFirstAndNoChangesNothing) {
    SaveRig rig;
    rig.g().g_SeOn = kFalse;
    rig.put_slot(0, save_bytes(3, 10));
    rig.put_slot(2, save_bytes(1, 5));
    const std::string old_bytes = rig.slot(0);
    rig.g().g_Flags = day_record(9, 60);
    rig.press(100, {"Picture1(0)", "Label3(0)"}, 100);
    rig.at(600, [&] {
        EXPECT_TRUE(rig.win().Picture4->visible);
        EXPECT_EQ(rig.win().Label4->caption, "上書きしますか？");
        EXPECT_EQ(waiting_for(rig.game()), "dialog");
    });
    rig.press(700, {"Command2"});
    rig.at(900, [&] {
        EXPECT_FALSE(rig.win().Picture4->visible);
        EXPECT_EQ(rig.slot(0), old_bytes);
    });
    rig.press(1000, {"Label3(0)", "Command1"}, 500);  // asked again, "Yes" replaces it
    rig.press(3000, {"Picture1(2)", "Picture2(2)", "Command2", "Picture2(2)", "Command1"});
    rig.at(6000, [&] {
        EXPECT_FALSE(rig.has_slot(2));
        EXPECT_EQ(rig.win().Label1[2]->caption, "データなし");
        EXPECT_EQ(rig.win().Label2->caption, "消去しました");
        EXPECT_EQ(rig.g().g_FileMode, 1);  // the dialog stays open
    });
    rig.press(6100, {"Picture2(2)"});  // on an empty slot it only drops the selection
    rig.at(6400, [&] { EXPECT_EQ(rig.win().selected, -1); });
    rig.press(6500, {"Picture2(1)"});
    rig.open(1);

    EXPECT_EQ(read_slot(rig.folder().file("40.dat"), 100).flags[6], "60");
    // With effects off only the warnings before the three questions sound.
    EXPECT_EQ(rig.waves(), (std::vector<std::int64_t>{0, 0, 0, 0}));
}

// Slot 1 damaged in each way in turn, slots 0 and 2 without files.
TEST(SlotDialog, EmptyAndDamagedSlotsNeverLoadAndDamagedOnesCanBeDeleted) {
    const std::string good = save_bytes(4, 20);
    std::string random(300, '\0');
    for (std::size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>((i * 7919 + 13) % 256);
    std::string letters = good;
    letters.replace(letters.find(" 20\r\n"), 3, " 2x");
    for (const std::string& bytes : {good.substr(0, good.size() / 2), letters, random,
                                     save_bytes(4, 100),  // past the last record
                                     std::string("yesterday").append(good.substr(good.find('\r'))),
                                     save_bytes(4, 20, 18, " 40"),  // background 40: no picture 110.dat
                                     save_bytes(4, 20, 20, " 5"),   // its music file is gone
                                     save_bytes(4, 20, 20, " 12")}) {
        SaveRig rig;
        rig.folder().remove("bgm05.mid");
        rig.put_slot(1, bytes);
        std::vector<bool> offered;
        rig.at(50, [&] {
            for (int k : {0, 2}) {
                EXPECT_EQ(rig.win().Label1[k]->caption, "データなし");
                EXPECT_EQ(rig.win().Label1[k]->fore_color, platform::Color{0x808080});
            }
            EXPECT_EQ(rig.win().Label1[1]->caption, "データが壊れています");
            for (auto* button : rig.win().Picture2) offered.push_back(button->visible);
            EXPECT_EQ(waiting_for(rig.game()), "dialog");
            EXPECT_FALSE(rig.game().ui.form.enabled);
        });
        // An empty slot is not even selected, so "Load" does nothing there.
        rig.press(100, {"Picture1(0)", "Label3(3)"});
        rig.at(900, [&] { EXPECT_EQ(rig.win().selected, -1); });
        rig.press(1000, {"Picture1(1)", "Picture2(3)", "Picture2(1)"}, 1000);
        rig.open(2);
        EXPECT_EQ(offered, (std::vector<bool>{false, true, false, true}));  // "Close" and "Load"
        EXPECT_EQ(rig.g().g_FileMode, 0);
        EXPECT_EQ(rig.g().g_Flags[0], "");
        EXPECT_EQ(rig.g().g_Flags[20], " 0");  // the music playing when the dialog opened
        EXPECT_TRUE(rig.game().ui.form.enabled);
        EXPECT_EQ(rig.host().find_form("File_Window"), nullptr);
        EXPECT_EQ(File_Window_waiting(rig.game()), nullptr);
        ASSERT_EQ(rig.messages().size(), 1u);  // from the damaged slot only
        EXPECT_NE(rig.messages()[0].find("ロードできません"), std::string::npos);

        rig.press(100, {"Picture1(1)", "Picture2(2)", "Command1", "Picture2(1)"}, 500);
        rig.open(1);
        EXPECT_FALSE(rig.has_slot(1));
    }
}

struct Crash {};

TEST(SlotDialog, ASaveCutShortOrRefusedLeavesTheOldSlot) {
    SaveRig rig;
    rig.put_slot(0, save_bytes(3, 10));
    const std::string old_bytes = rig.slot(0);
    rig.g().g_Flags = day_record(5, 30);
    rig.game().saveload.after_temp_written = [](const fs::path&) { throw Crash{}; };
    rig.press(100, {"Picture1(0)", "Picture2(0)", "Command1"});
    EXPECT_THROW(rig.open(1), Crash);
    EXPECT_EQ(rig.slot(0), old_bytes);
    EXPECT_TRUE(rig.game().ui.form.enabled);  // the dialog went away with the crash

    // A folder that takes no file: a message, the slot as it was, the dialog still open.
    rig.game().saveload.after_temp_written = nullptr;
    fs::remove(rig.folder().file("40.dat.tmp"));
    fs::create_directory(rig.folder().file("40.dat.tmp"));
    rig.press(100, {"Picture1(0)", "Picture2(0)", "Command1"});
    rig.at(1500, [&] { EXPECT_EQ(rig.g().g_FileMode, 1); });
    rig.press(1600, {"Picture2(1)"});
    rig.open(1);
    EXPECT_EQ(rig.slot(0), old_bytes);
    ASSERT_EQ(rig.messages().size(), 1u);
    EXPECT_NE(rig.messages()[0].find("セーブできませんでした"), std::string::npos);

    // Once the folder takes files again the save goes through.
    fs::remove(rig.folder().file("40.dat.tmp"));
    rig.press(100, {"Picture1(0)", "Picture2(0)", "Command1", "Picture2(1)"}, 500);
    rig.open(1);
    EXPECT_EQ(read_slot(rig.folder().file("40.dat"), 100).flags[6], "30");
}

constexpr const char* kScript =
    "num,cmd,jump,place,doll,face,spare,speaker,text,arg1,arg2,arg3,memo\n"
    "1001,,,0,,,,,MS,,,,\n"
    "1001,,,,,,,0,プロローグ。,,,,\n"
    "1001,g1,,,,,,,,初日,,,\n"
    "1001,,,,,,,0,一日目。,,,,\n"
    "1001,p2,,,,,,,kok,5,,,\n"
    "1001,g1,,,,,,,,二日目,,,\n"
    "1001,,,,,,,0,二日目の始まり。,,,,\n"  // record 6
    "1001,p2,,,,,,,kok,7,,,\n"
    "1001,p2,,,,,,,eig,-3,,,\n"
    "1001,,,,,,,0,二日目の続き。,,,,\n"
    "1001,q,,,,,,,,,,,\n"
    "1001,,,,,,,,,,,,\n";

// The real program on kScript, headless, its input and dumps (`out`) kept outside the data folder.
class SavePlay : public ::testing::Test {
protected:
    SavePlay() { data.write_scenario(kScript, "1001,a,1001\n"); }
    RunResult play(const std::string& input) {
        home.write_bytes("input.txt", input);
        return play_dalvo(data.path(), home.file("input.txt"), out);
    }
    FixtureFolder data, home;
    const fs::path out = home.path() / "out";
    // Continue_game's card and level display take a few seconds after the dialog closes.
    const std::string after_load = "idle\nwait 8000\nidle\n";
};

// As a player meets them: a save made in the prologue and one made at the start of the
// second half-day each load back to where they were made, from the menu and from the title
// of a fresh run; a slot naming a background the folder lacks is refused without touching
// the running game.
TEST_F(SavePlay, EverySaveLoadsBackToItsHalfDayAndNoneBreaksTheGame) {
    data.write_bytes("42.dat", save_bytes(4, 20, 18, " 40"));
    // A new game whose first name is "ab" instead of the default one.
    std::string new_game = "idle\npress Main_Form.Label1\nidle\n";
    for (int i = 0; i < 12; ++i) new_game += "key Backspace\n";
    const auto save_in = [](char slot) {
        return std::string("menu prog_save\nidle\npress File_Window.Picture1(").append(1, slot).append(
            ")\nidle\npress File_Window.Label3(0)\nidle\npress File_Window.Label3(1)\nidle\n");
    };
    // The load dialog's slot picked and loaded, from the menu or from the title.
    const auto pick = [](char slot) {
        return std::string("idle\npress File_Window.Label1(").append(1, slot).append(")\nidle\npress File_Window.Label3(3)\n");
    };
    const auto load_from = [&](char slot) { return std::string("menu prog_load\n").append(pick(slot)); };
    const RunResult saved = play(
        new_game + "type ab\npress Main_Form.Name_ent_btn\nidle\ndump prologue\n" + save_in('0') +
        "click 300 200\nidle\ndump day1\n" +
        load_from('2') + "idle\npress File_Window.Label3(1)\nidle\ndump refused\n" +
        "click 300 200\nidle\ndump start\n" + save_in('1') + "click 300 200\nidle\ndump changed\n" +
        load_from('1') + after_load + "dump loaded_start\n" + load_from('0') + after_load + "dump loaded_prologue\n");
    ASSERT_EQ(saved.exit_code, 0) << saved.err;
    EXPECT_NE(saved.err.find("データが壊れているため"), std::string::npos) << saved.err;
    for (const char slot : {'1', '0'}) {
        const RunResult fresh = play(std::string("idle\npress Main_Form.Label2\n").append(pick(slot)) + after_load +
                                     "dump continued_" + (slot == '1' ? "start" : "prologue") + "\n");
        ASSERT_EQ(fresh.exit_code, 0) << fresh.err;
    }

    const Json day1 = read_json(out / "day1.json"), start = read_json(out / "start.json");
    ASSERT_EQ(day1["g_Day"].num(), 1);
    ASSERT_TRUE(matches(start, R"({"g_ScriptPos":6,"g_Day":2})")) << start;
    EXPECT_NE(read_json(out / "changed.json")["g_kok"], start["g_kok"]);
    // The broken slot changed nothing: the game still waits where it waited.
    for (const char* key : {"waiting", "g_ScriptPos", "g_Day", "g_Flags", "Place_no"}) {
        EXPECT_EQ(read_json(out / "refused.json")[key], day1[key]) << key;
    }
    const std::vector<const char*> day_keys = {"waiting", "g_ScriptPos", "g_Text", "g_Day", "g_DateText", "g_kok",
                                               "g_eig", "g_suu", "g_BgmOn", "g_SeOn", "g_MsgSpeed", "Place_no"};
    const std::vector<const char*> prologue_keys = {"waiting", "g_ScriptPos", "g_Text", "g_Day", "g_Names", "g_kok",
                                                    "g_BgmOn", "g_MsgSpeed"};
    for (const auto& [made, keys] : {std::pair{"start", day_keys}, {"prologue", prologue_keys}}) {
        const Json at_save = read_json(out / (std::string(made) + ".json"));
        for (const char* how : {"loaded_", "continued_"}) {
            const Json resumed = read_json(out / (std::string(how) + made + ".json"));
            for (const char* key : keys) EXPECT_EQ(resumed[key], at_save[key]) << how << made << " " << key;
        }
    }
    EXPECT_EQ(read_json(out / "prologue.json")["g_Names"][1].str(), "ab");
}

std::map<fs::path, std::string> folder_bytes(const fs::path& dir) {
    std::map<fs::path, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_regular_file()) files[e.path()] = read_file(e.path());
    }
    return files;
}

// A folder that cannot be written plays: its pictures stay as they are, a save goes to
// the player's own folder (made by that save) and loads back in the next run.
TEST_F(SavePlay, AReadOnlyFolderSavesToThePlayersFolderAndStaysUntouched) {
    const PlayerHome player(home.path() / "share");
    const std::map<fs::path, std::string> before = folder_bytes(data.path());
    const ReadOnlyMount mount(data.path());
    if (!mount.refused().empty()) GTEST_SKIP() << "no read-only mount: " << mount.refused();

    const RunResult saved = play("idle\npress Main_Form.Label1\nidle\npress Main_Form.Name_ent_btn\nidle\n"
                                 "click 300 200\nidle\ndump day1\nmenu prog_save\nidle\n"
                                 "press File_Window.Picture1(0)\nidle\npress File_Window.Label3(0)\nidle\n"
                                 "press File_Window.Label3(1)\nidle\n");
    ASSERT_EQ(saved.exit_code, 0) << saved.err;
    const fs::path slot = platform::player_data_dir(data.path()) / "40.dat";
    EXPECT_NE(saved.err.find(slot.parent_path().string()), std::string::npos) << "said where saves go: " << saved.err;
    EXPECT_EQ(read_slot(slot, 100).state, SlotState::Used);

    const RunResult resumed = play("idle\npress Main_Form.Label2\nidle\npress File_Window.Label1(0)\nidle\n"
                                   "press File_Window.Label3(3)\nidle\nwait 8000\nidle\ndump resumed\n");
    ASSERT_EQ(resumed.exit_code, 0) << resumed.err;
    const Json day1 = read_json(out / "day1.json"), again = read_json(out / "resumed.json");
    ASSERT_EQ(day1["g_Day"].num(), 1);
    for (const char* key : {"g_ScriptPos", "g_Day", "g_Text"}) EXPECT_EQ(again[key], day1[key]) << key;
    EXPECT_TRUE(folder_bytes(data.path()) == before) << "the data folder's bytes are unchanged";
}

}  // namespace
}  // namespace dalvo::test
