#include "ending/ending_rig.h"

#include <gtest/gtest.h>

#include "engine/interpreter.h"
#include "engine/startup.h"
#include "support/picture_check.h"

namespace dalvo::test {

// The scenario: an optional "p2" on "hap", a background, the ending with its four
// epilogue lines, and the closing records that are never reached.
static std::string ending_scenario(const EndingScript& script) {
    std::string text = "num,cmd,target,place,doll,face,spare,speaker,text,arg1,arg2,arg3,memo\n";
    if (script.hap != 0) text += "1001,p2,,,,,,,hap," + std::to_string(script.hap) + ",,,\n";
    text += "1001,,,5,,,,,,,,,\n";
    text += "1001,e,,,,,,,,,,,\n";
    for (const std::string& line : script.lines) text += "1001,,,,,,,,\"" + line + "\",,,,\n";
    text += "9999,q,,,,,,,,,,,\n";
    text += "9999,,,,,,,,,,,,\n";
    return text;
}

void write_ending_scenario(FixtureFolder& folder, const EndingScript& script) {
    folder.write_text("3.dat", ending_scenario(script));
    folder.write_text("39.dat", "1001,\"-\",1001\n");
}

EndingRig::EndingRig(const EndingScript& script) {
    write_ending_scenario(folder_, script);
    set_ = platform::make_headless_platform({});
    set_->platform().trace.add_observer([this](const std::string& line) {
        trace_.push_back(line);
        for (const auto& [marker, name] : shots_wanted_) {
            if (line.find(marker) != std::string::npos && !shots_.contains(name)) shots_[name] = screen();
        }
    });
    GameOptions options;
    options.data_dir = folder_.path();
    options.program_dir = folder_.path();
    options.autostart = false;
    game_ = std::make_unique<Game>(set_->platform(), options);
    EXPECT_EQ(until_end([this] { Window_load(*game_); }), -1) << "the game could not start";
    // The ending comes long after the title screen has gone.
    game_->ui.Title->visible = false;
}

EndingRig::~EndingRig() { game_.reset(); }

int EndingRig::until_end(const std::function<void()>& f) {
    try {
        f();
        return -1;
    } catch (const platform::ProgramEnd& end) {
        return end.code;
    }
}

int EndingRig::play() {
    game_->g.g_ScriptPos = 0;
    return until_end([this] { Run_script(*game_); });
}

void EndingRig::shoot_at(const std::string& marker, const std::string& name) {
    shots_wanted_.emplace_back(marker, name);
}

const platform::Surface& EndingRig::shot(const std::string& name) const {
    static const platform::Surface none;
    const auto it = shots_.find(name);
    if (it == shots_.end()) {
        ADD_FAILURE() << "no screenshot " << name;
        return none;
    }
    return it->second;
}

std::vector<std::string> EndingRig::events(const std::string& ev) const {
    const std::string tag = "\"ev\":\"" + ev + "\"";
    std::vector<std::string> out;
    for (const std::string& line : trace_) {
        if (line.find(tag) != std::string::npos) out.push_back(line);
    }
    return out;
}

std::string EndingRig::line_with(const std::string& marker) const {
    for (const std::string& line : trace_) {
        if (line.find(marker) != std::string::npos) return line;
    }
    ADD_FAILURE() << "no trace line with " << marker;
    return {};
}

std::uint32_t EndingRig::time_of(const std::string& marker) const { return time_of_line(line_with(marker)); }

platform::Surface EndingRig::screen() {
    platform::Surface out(640, 480);
    platform::compose(game_->ui.form, out);
    return out;
}

std::uint32_t time_of_line(const std::string& line) {
    const std::size_t i = line.find("\"t\":");
    if (i == std::string::npos) return 0;
    return static_cast<std::uint32_t>(std::stoul(line.substr(i + 4)));
}

// These screenshots were pinned with a start value one digit short of the usual one.
std::uint64_t ending_picture_hash(const platform::Surface& s) { return picture_hash(s, 1469598103934665603ull); }

void expect_picture_hash(const platform::Surface& actual, std::uint64_t expected, const std::string& name) {
    expect_picture(actual, expected, name, PictureCheck("ending").with_hash(ending_picture_hash));
}

void expect_same_picture(const platform::Surface& expected, const platform::Surface& actual,
                         const std::string& name) {
    expect_picture(actual, ending_picture_hash(expected), name,
                   PictureCheck("ending").with_expected(expected).with_hash(ending_picture_hash));
}

}  // namespace dalvo::test
