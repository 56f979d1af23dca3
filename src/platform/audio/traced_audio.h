#pragma once
// The sound devices as the trace sees them: every command that reaches the music
// device, every master level set, the opening and closing of the master level.
// Both backends wrap their devices here so that they trace alike.

#include <memory>

#include "platform/audio/devices.h"
#include "platform/automation/trace.h"

namespace dalvo::platform {

std::unique_ptr<MusicDevice> traced(std::unique_ptr<MusicDevice> device, Trace& trace);
std::unique_ptr<MasterLevel> traced(std::unique_ptr<MasterLevel> level, Trace& trace);

}  // namespace dalvo::platform
