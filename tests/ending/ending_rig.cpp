#include "ending/ending_rig.h"

#include <gtest/gtest.h>

#include "engine/interpreter.h"
#include "engine/startup.h"
#include "support/picture_check.h"

namespace dalvo::test {

// The scenario: an optional "p2" on "hap", a background, the ending with its four
// epilogue lines, and the closing records that are never reached.
static void write_scenario(FixtureFolder& folder, const EndingScript& script) {
    std::string text = "num,cmd,target,place,doll,face,spare,speaker,text,arg1,arg2,arg3,memo\n";
    if (script.hap != 0) text += "1001,p2,,,,,,,hap," + std::to_string(script.hap) + ",,,\n";
    text += "1001,,,5,,,,,,,,,\n";
    text += "1001,e,,,,,,,,,,,\n";
    for (const std::string& line : script.lines) text += "1001,,,,,,,,\"" + line + "\",,,,\n";
    folder.write_text("3.dat", text + "9999,q,,,,,,,,,,,\n9999,,,,,,,,,,,,\n");
    folder.write_text("39.dat", "1001,\"-\",1001\n");
}

EndingRig::EndingRig(const EndingScript& script) {
    write_scenario(folder_, script);
    set_ = platform::make_headless_platform({});
    set_->platform().trace.add_observer([this](const std::string& line) {
        trace_.push_back(line);
        for (const auto& [marker, name] : shots_wanted_) {
            if (line.find(marker) == std::string::npos || shots_.contains(name)) continue;
            platform::compose(game_->ui.form, shots_[name]);
        }
    });
    GameOptions options;
    options.data_dir = folder_.path();
    options.program_dir = folder_.path();
    options.autostart = false;
    game_ = std::make_unique<Game>(set_->platform(), options);
    Window_load(*game_);
    // The ending comes long after the title screen has gone.
    game_->ui.Title->visible = false;
}

int EndingRig::play() {
    game_->g.g_ScriptPos = 0;
    try {
        Run_script(*game_);
        return -1;
    } catch (const platform::ProgramEnd& end) {
        return end.code;
    }
}

void EndingRig::shoot_at(const std::string& marker, const std::string& name) {
    shots_wanted_.emplace_back(marker, name);
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

std::uint32_t time_of_line(const std::string& line) {
    const std::size_t i = line.find("\"t\":");
    if (i == std::string::npos) return 0;
    return static_cast<std::uint32_t>(std::stoul(line.substr(i + 4)));
}

void expect_picture_hash(const platform::Surface& actual, std::uint64_t expected, const std::string& name) {
    expect_picture(actual, expected, name, PictureCheck("ending"));
}

void expect_same_picture(const platform::Surface& expected, const platform::Surface& actual,
                         const std::string& name) {
    expect_picture(actual, picture_hash(expected), name, PictureCheck("ending").with_expected(expected));
}

}  // namespace dalvo::test
