#include "engine/engine_run.h"

#include "engine/dump.h"
#include "engine/interpreter.h"
#include "engine/startup.h"
#include "platform/codec/json.h"

namespace dalvo::test {

namespace {

// The value of a string key of one trace line, unescaped.
std::string string_field(const std::string& line, std::string_view key) {
    const std::string start = "\"" + std::string(key) + "\":\"";
    std::size_t i = line.find(start);
    if (i == std::string::npos) return {};
    std::string out;
    for (i += start.size(); i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char c = line[++i];
            out += c == 'n' ? '\n' : c;
        } else {
            out += line[i];
        }
    }
    return out;
}

}  // namespace

std::string script_text(const std::vector<Rec>& records) {
    std::string text = "num,cmd,target,place,doll,face,spare,speaker,text,arg1,arg2,arg3,x\n";
    for (const Rec& r : records) {
        for (const std::string* f : {&r.scene, &r.cmd, &r.target, &r.place, &r.doll, &r.face,
                                     &r.spare, &r.speaker, &r.text, &r.arg1, &r.arg2, &r.arg3}) {
            text += *f + ",";
        }
        text += "\n";
    }
    return text;
}

std::string first_scene_choice(const std::vector<Rec>& records) {
    return records.front().scene + ",a," + records.front().scene + "\n";
}

EngineRun::EngineRun(const std::filesystem::path& data_dir, const std::filesystem::path& program_dir,
                     const std::function<std::unique_ptr<platform::PlatformSet>()>& make_platform) {
    set_ = make_platform ? make_platform() : platform::make_headless_platform({});
    set_->platform().trace.add_observer([this](const std::string& line) { trace_.push_back(line); });
    GameOptions options;
    options.data_dir = data_dir;
    options.program_dir = program_dir.empty() ? data_dir : program_dir;
    options.autostart = false;
    game_ = std::make_unique<Game>(set_->platform(), options);
}

EngineRun::~EngineRun() { game_.reset(); }

template <class F>
int EngineRun::until_end(F f) {
    try {
        f();
        return -1;
    } catch (const platform::ProgramEnd& end) {
        return end.code;
    }
}

int EngineRun::load() { return until_end([this] { Window_load(*game_); }); }
int EngineRun::run() { return until_end([this] { Run_script(*game_); }); }
int EngineRun::unload() { return until_end([this] { Window_unload(*game_, 0); }); }

std::vector<std::string> EngineRun::messages() const {
    std::vector<std::string> out;
    for (const std::string& line : events("msgbox")) out.push_back(string_field(line, "text"));
    return out;
}

std::vector<std::string> EngineRun::events(std::string_view ev) const {
    const std::string tag = "\"ev\":\"" + std::string(ev) + "\"";
    std::vector<std::string> out;
    for (const std::string& line : trace_) {
        if (line.find(tag) != std::string::npos) out.push_back(line);
    }
    return out;
}

std::string EngineRun::dump() const {
    platform::JsonWriter out;
    out.begin_object();
    write_dump(*game_, out);
    out.end_object();
    return out.str();
}

}  // namespace dalvo::test
