#include "ending/ending_rig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "engine/interpreter.h"
#include "engine/startup.h"
#include "platform/picture.h"

namespace dalvo::test {

namespace {

std::filesystem::path output_folder() {
    const std::filesystem::path dir = std::filesystem::path(DALVO_BINARY_DIR) / "test_output" / "ending";
    std::filesystem::create_directories(dir);
    return dir;
}

void write_png(const platform::Surface& s, const std::string& file) {
    std::string error;
    if (!platform::save_png(s, output_folder() / file, error)) ADD_FAILURE() << file << ": " << error;
}

}  // namespace

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

std::uint64_t picture_hash(const platform::Surface& s) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            h ^= (v >> (8 * k)) & 0xFF;
            h *= 1099511628211ull;
        }
    };
    mix(static_cast<std::uint32_t>(s.width()));
    mix(static_cast<std::uint32_t>(s.height()));
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) mix(s.row(y)[x] & 0x00FFFFFF);
    }
    return h;
}

void expect_picture_hash(const platform::Surface& actual, std::uint64_t expected, const std::string& name) {
    const std::uint64_t got = picture_hash(actual);
    if (got == expected) return;
    write_png(actual, name + ".actual.png");
    char text[32];
    std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(got));
    ADD_FAILURE() << name << ": the picture hashes to " << text << "; see "
                  << (output_folder() / (name + ".actual.png")).string();
}

void expect_same_picture(const platform::Surface& expected, const platform::Surface& actual,
                         const std::string& name) {
    if (expected == actual) return;
    write_png(expected, name + ".expected.png");
    write_png(actual, name + ".actual.png");
    ADD_FAILURE() << name << ": the pictures differ; see " << output_folder().string();
}

}  // namespace dalvo::test
