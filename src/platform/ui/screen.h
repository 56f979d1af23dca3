#pragma once
// The screen as the player sees it: for each shown form, its client area as last
// presented. Only a present changes it; both backends present through it, so the
// headless `shot` and the real window show the same pixels.

#include <map>
#include <memory>

#include "platform/ui/form.h"
#include "platform/gfx/damage.h"
#include "platform/gfx/surface.h"

namespace dalvo::platform {

class Screen {
public:
    // Draws the form's damage into its picture; returns the parts whose pixels
    // changed (empty when the damage drew what was already there).
    Damage present(Form& form);

    // The form's picture as last presented; nullptr before its first present.
    const Surface* picture(const Form& form) const;
    void forget(const Form& form);

private:
    std::map<const Form*, Surface> pictures_;
    Surface before_;  // the damaged area as it was, to find what changed
};

}  // namespace dalvo::platform
