#pragma once
// Drawing into a surface through a translation and a clip, kept on a save/restore
// stack: a control paints in its own coordinates straight into the form's picture,
// and nothing it draws leaves its visible part.

#include <string>
#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"

namespace dalvo::platform {

class Painter {
public:
    explicit Painter(Surface& target);

    void save() { stack_.push_back(state_); }
    void restore();
    // Moves the origin by (dx, dy) of the current coordinates.
    void translate(int dx, int dy);
    // Narrows the clip to `area` of the current coordinates.
    void clip_to(const Rect& area);
    // The clip in the current coordinates (empty: nothing can be drawn).
    Rect clip() const { return state_.clip.translated(-state_.origin.x, -state_.origin.y); }

    void fill(const Rect& area, Color c);
    void plot(int x, int y, Color c);
    void text(int x, int y, const std::string& utf8, const FontSpec& font, Color c);
    // Copies `src` with its top-left corner at (x, y).
    void blit(int x, int y, const Surface& src);

private:
    struct State {
        Point origin;  // of the current coordinates, in the target
        Rect clip;     // in the target
    };
    Surface& target_;
    State state_;
    std::vector<State> stack_;
};

}  // namespace dalvo::platform
