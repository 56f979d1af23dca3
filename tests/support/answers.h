#pragma once
// A player's answers to the next message boxes, in turn, as the automation gives them.

#include <deque>
#include <memory>
#include <optional>

#include "platform/host.h"

namespace dalvo::test {

class Answers final : public platform::InputSource {
public:
    void poll(platform::Host&) override {}
    std::optional<platform::MsgAnswer> answer() override {
        if (queue_.empty()) return std::nullopt;
        const platform::MsgAnswer a = queue_.front();
        queue_.pop_front();
        return a;
    }
    std::deque<platform::MsgAnswer> queue_;
};

// Adds an answer source to `host`; the returned one stays the host's to keep.
inline Answers& add_answers(platform::Host& host) {
    auto answers = std::make_unique<Answers>();
    Answers& ref = *answers;
    host.add_input_source(std::move(answers));
    return ref;
}

}  // namespace dalvo::test
