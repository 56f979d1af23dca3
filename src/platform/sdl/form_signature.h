#pragma once
// A cheap fingerprint of everything that shows in a form's window, so that an idle
// window is never composed or presented again.

#include <cstdint>

#include "platform/form.h"

namespace dalvo::platform {

// Changes when a control is refreshed or when anything the player sees of the form
// changes (positions, visibility, captions, texts, colours, the menu bar).
std::uint64_t form_signature(const Form& form);

// Far cheaper, no text read: changes with every refresh (the forms' and pictures'
// counters) and with controls added, but not with a caption or visibility set alone.
std::uint64_t form_counters(const Form& form);

}  // namespace dalvo::platform
