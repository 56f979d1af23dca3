#include "support/game_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <stdexcept>

#include "engine/dump.h"
#include "engine/interpreter.h"
#include "engine/startup.h"
#include "platform/codec/json.h"
#include "platform/pacing.h"

namespace dalvo::test {

// A sound card without a mixer for its master level.
class GameRig::FailingLevel final : public platform::MasterLevel {
public:
    bool open() override { return false; }
    void close() override {}
    bool get(std::uint32_t&) override { return false; }
    bool set(std::uint32_t) override { return false; }
};

GameRig::GameRig(RigOptions options) {
    if (options.data_dir.empty()) options.data_dir = folder_.emplace().path();
    if (!PlayerHome::active()) {
        player_folder_.emplace();
        player_home_.emplace(player_folder_->path());
    }
    platform::PlatformOptions platform_options;
    platform_options.master_level = options.master_level;
    std::string error;
    set_ = options.window ? platform::make_sdl_platform(platform_options, error)
                          : platform::make_headless_platform(platform_options);
    if (!set_) throw std::runtime_error("no window: " + error);
    platform::Platform& base = set_->platform();
    if (options.mixer_fails) failing_ = std::make_unique<FailingLevel>();
    base.trace.add_observer([this](const std::string& line) {
        trace_.push_back(Json::parse(line));
        if (on_trace) on_trace(trace_.back());
    });
    platform_.emplace(platform::Platform{base.clock, base.host, base.trace, base.music, base.wave,
                                         failing_ ? *failing_ : base.master, base.saves, base.instance});
    const auto program_dir = options.program_dir.empty() ? options.data_dir : options.program_dir;
    game_ = std::make_unique<Game>(*platform_, GameOptions{options.data_dir, program_dir, false});
    game_->g_DataPath = options.data_dir;
    game_->data = platform::DataFolder(options.data_dir);
}

GameRig::~GameRig() {
    watch({});
    game_.reset();
}

int GameRig::until_end(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::ProgramEnd& end) {
        return end.code;
    }
    return -1;
}

int GameRig::load() { return until_end([this] { Window_load(*game_); }); }
int GameRig::run() { return until_end([this] { Run_script(*game_); }); }
int GameRig::unload() { return until_end([this] { Window_unload(*game_, 0); }); }

std::vector<Json> GameRig::events(std::string_view ev, std::string_view pattern) const {
    const Json want = Json::parse(pattern);
    std::vector<Json> out;
    std::copy_if(trace_.begin(), trace_.end(), std::back_inserter(out),
                 [&](const Json& e) { return (ev.empty() || e["ev"].str() == ev) && matches(e, want); });
    return out;
}

Json GameRig::first(std::string_view pattern) const {
    for (const Json& e : trace_) {
        if (matches(e, pattern)) return e;
    }
    ADD_FAILURE() << "no trace event matches " << pattern;
    return {};
}

std::vector<std::uint32_t> GameRig::times(std::string_view ev, std::string_view pattern) const {
    std::vector<std::uint32_t> out;
    for (const Json& e : events(ev, pattern)) out.push_back(time_of(e));
    return out;
}

platform::Surface GameRig::screen_of(const platform::Form& form) {
    // Watchers look from inside a yield, before its own present: present first.
    host().present();
    const platform::Surface* shown = host().screen(form);
    return shown ? *shown : platform::Surface();
}

Json GameRig::dump() const {
    platform::JsonWriter out;
    out.begin_object();
    write_dump(*game_, out);
    out.end_object();
    return Json::parse(out.str());
}

void GameRig::at(std::uint32_t ms, std::function<void()> action) {
    due_.emplace_back(now() + ms, std::move(action));
    schedule();
}

void GameRig::schedule() {
    if (scheduling_) return;
    scheduling_ = true;
    const std::uint32_t start = now();
    host().add_timer("rig", 1, [this, start] {
        if (now() - start > 600000) throw std::runtime_error("waited ten virtual minutes");
        auto due = std::move(due_);
        due_.clear();
        for (auto& [when, action] : due) {
            if (static_cast<std::int32_t>(now() - when) >= 0) action();
            else due_.emplace_back(when, std::move(action));
        }
        if (sample) sample();
    }).set_enabled(true, now());
}

void GameRig::post_at(std::uint32_t ms, platform::InputEvent event) {
    at(ms, [this, event] { host().post(event); });
}

void GameRig::click_at(std::uint32_t ms, int x, int y, platform::MouseButton b) {
    post_at(ms, platform::MouseDown{"Main_Form", x, y, b});
    post_at(ms, platform::MouseUp{"Main_Form", x, y, b});
}

void GameRig::watch(std::function<void()> look) {
    look_ = std::move(look);
    if (!look_) {
        if (watcher_ != nullptr) watcher_->set_enabled(false, now());
        return;
    }
    if (watcher_ == nullptr) {
        watcher_ = &host().add_timer("test_watch", 1, [this] {
            if (look_) look_();
            // Due again at once: the next yield looks again even if no time passed.
            if (look_) watcher_->set_enabled(true, now() - 1);
        });
    }
    watcher_->set_enabled(true, now() - 1);
}

void GameRig::send(platform::InputEvent event) {
    host().post(std::move(event));
    host().yield();
}

std::string script_text(const std::vector<Rec>& records) {
    std::string text = "num,cmd,target,place,doll,face,spare,speaker,text,arg1,arg2,arg3,x\n";
    for (const Rec& r : records) {
        for (const std::string* f : {&r.scene, &r.cmd, &r.target, &r.place, &r.doll, &r.face,
                                     &r.spare, &r.speaker, &r.text, &r.arg1, &r.arg2, &r.arg3}) {
            text.append(*f).append(",");
        }
        text += "\n";
    }
    return text;
}

std::string first_scene_choice(const std::vector<Rec>& records) {
    return records.front().scene + ",a," + records.front().scene + "\n";
}

void GameRig::idle(std::uint32_t ms) { platform::wait_since(host(), now(), ms, 10); }

}  // namespace dalvo::test
