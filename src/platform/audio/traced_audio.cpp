#include "platform/audio/traced_audio.h"

#include <string>

namespace dalvo::platform {
namespace {

class TracedMusic final : public MusicDevice {
public:
    TracedMusic(std::unique_ptr<MusicDevice> inner, Trace& trace) : inner_(std::move(inner)), trace_(trace) {}
    int send(std::string_view command, std::string& result) override {
        const int ret = inner_->send(command, result);
        trace_.event("mci", {{"cmd", command}, {"ret", ret}});
        return ret;
    }
    Peek peek() const override { return inner_->peek(); }
    void prepare() override { inner_->prepare(); }

private:
    std::unique_ptr<MusicDevice> inner_;
    Trace& trace_;
};

class TracedLevel final : public MasterLevel {
public:
    TracedLevel(std::unique_ptr<MasterLevel> inner, Trace& trace) : inner_(std::move(inner)), trace_(trace) {}
    bool open() override {
        const bool ok = inner_->open();
        if (ok) trace_.event("mixer", {{"op", "open"}});
        return ok;
    }
    void close() override {
        inner_->close();
        trace_.event("mixer", {{"op", "close"}});
    }
    bool get(std::uint32_t& level) override { return inner_->get(level); }
    bool set(std::uint32_t level) override {
        const bool ok = inner_->set(level);
        if (ok) trace_.event("level", {{"value", static_cast<std::int64_t>(level)}});
        return ok;
    }

private:
    std::unique_ptr<MasterLevel> inner_;
    Trace& trace_;
};

}  // namespace

std::unique_ptr<MusicDevice> traced(std::unique_ptr<MusicDevice> device, Trace& trace) {
    return std::make_unique<TracedMusic>(std::move(device), trace);
}

std::unique_ptr<MasterLevel> traced(std::unique_ptr<MasterLevel> level, Trace& trace) {
    return std::make_unique<TracedLevel>(std::move(level), trace);
}

}  // namespace dalvo::platform
