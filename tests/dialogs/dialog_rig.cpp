#include "dialogs/dialog_rig.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/startup.h"
#include "support/picture_check.h"

namespace dalvo::test {

namespace fs = std::filesystem;

// A sound card without a mixer for its master level.
class DialogRig::FailingLevel final : public platform::MasterLevel {
public:
    bool open() override { return false; }
    void close() override {}
    bool get(std::uint32_t&) override { return false; }
    bool set(std::uint32_t) override { return false; }
};

DialogRig::DialogRig(bool mixer_fails) {
    // The about box takes its pointer from "data" beside the program.
    fs::create_directories(folder_.path() / "data");
    folder_.write_bytes("data/select.cur", folder_.read_bytes("select.cur"));

    set_ = platform::make_headless_platform({});
    platform::Platform& base = set_->platform();
    base.trace.add_observer([this](const std::string& line) { trace_.push_back(line); });
    if (mixer_fails) failing_ = std::make_unique<FailingLevel>();
    platform_.emplace(platform::Platform{base.clock, base.host, base.trace, base.music, base.wave,
                                         failing_ ? *failing_ : base.master, base.saves, base.instance});
    GameOptions options;
    options.data_dir = folder_.path();
    options.program_dir = folder_.path();
    game_ = std::make_unique<Game>(*platform_, options);
    Window_load(*game_);
}

void DialogRig::send(platform::InputEvent event) {
    host().post(std::move(event));
    host().yield();
}

std::vector<std::string> DialogRig::events(const std::string& ev) const {
    const std::string tag = "\"ev\":\"" + ev + "\"";
    std::vector<std::string> out;
    for (const std::string& line : trace_) {
        if (line.find(tag) != std::string::npos) out.push_back(line);
    }
    return out;
}

std::vector<std::string> DialogRig::messages() const {
    std::vector<std::string> out;
    for (const std::string& line : events("msgbox")) out.push_back(field(line, "text"));
    return out;
}

void expect_form_picture(const platform::Form& form, std::uint64_t hash, const std::string& name) {
    platform::Surface actual(form.client_width, form.client_height);
    platform::compose(form, actual);
    expect_picture(actual, hash, name, PictureCheck("dialogs"));
}

}  // namespace dalvo::test
