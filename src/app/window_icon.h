#pragma once
// The game window's icon, made at build time by the data-folder builder from the same
// drawing as the desktop's icons, so that the program reads no file for it.

#include "platform/platform.h"

namespace dalvo::app {

platform::WindowIcon window_icon();

}  // namespace dalvo::app
