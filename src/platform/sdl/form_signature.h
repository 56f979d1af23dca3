#pragma once
// A cheap fingerprint of everything that shows in a form's window, so that an idle
// window is never composed or presented again.

#include <cstdint>
#include <vector>

#include "platform/form.h"

namespace dalvo::platform {

// Changes when a control is refreshed or when anything the player sees of the form
// changes (positions, visibility, captions, texts, colours, the menu bar).
std::uint64_t form_signature(const Form& form);

// Far cheaper, no text read: changes with every refresh (the forms' and pictures'
// counters) and with controls added, but not with a caption or visibility set alone.
std::uint64_t form_counters(const Form& form);

// Changes with what the menu bar shows: its captions and which of them are enabled.
std::uint64_t menu_signature(const Form& form);

// Where a form's picture changed since the last look: each shown control's place and
// everything about it that shows, compared with what they were. A blinking mark or a
// hovered caption then costs its own rectangle, not the whole window.
class FormDamage {
public:
    // The part of the client area to compose again: empty when nothing that shows has
    // changed; the whole area at the first look and when the form itself changed
    // (its size, colour, own picture or the number of its controls).
    ClientRect update(const Form& form);

    // One control as last seen: a fingerprint of how it looks and where it draws.
    struct Part {
        std::uint64_t look = 0;
        ClientRect place;  // empty when not shown
    };

private:
    std::uint64_t form_look_ = 0;
    bool looked_ = false;
    std::vector<Part> parts_;
    std::vector<Part> next_;  // kept to reuse its storage
};

}  // namespace dalvo::platform
