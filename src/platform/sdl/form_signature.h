#pragma once
// A cheap fingerprint of everything that shows in a form's window, so that an idle
// window is never composed or presented again.

#include <cstdint>

#include "platform/form.h"

namespace dalvo::platform {

// Changes when a control is refreshed or when anything the player sees of the form
// changes (positions, visibility, captions, texts, colours, the menu bar).
std::uint64_t form_signature(const Form& form);

}  // namespace dalvo::platform
