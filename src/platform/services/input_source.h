#pragma once
// Input besides the window system's: the automation's script and its answers come
// in through here, and the recorder watches every input the game receives.

#include <cstdint>
#include <optional>

#include "platform/ui/input_event.h"
#include "platform/services/message_box.h"

namespace dalvo::platform {

class Host;

class InputSource {
public:
    virtual ~InputSource() = default;
    // Runs in every yield after the window system's input reached the game; may post
    // input with Host::post, which the game then sees in the same yield.
    virtual void poll(Host& host) = 0;
    // The answer to a message box about to be shown, when this source has one; the
    // box is then not put before the player.
    virtual std::optional<MsgAnswer> answer() { return std::nullopt; }
};

class InputObserver {
public:
    virtual ~InputObserver() = default;
    // Called before the game handles `event`, whichever source it came from.
    virtual void on_input(Host& host, const InputEvent& event) = 0;
    // A message box was answered; it stood open for `shown_ms` of the clock.
    virtual void on_answer(Host& host, MsgAnswer answer, std::uint32_t shown_ms) = 0;
};

}  // namespace dalvo::platform
