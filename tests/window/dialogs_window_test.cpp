// The dialogs in real windows of their own (run under Xvfb by the window smoke test).

#include <gtest/gtest.h>

#include <cstdlib>

#include "dialogs/about_box.h"
#include "dialogs/dialog_rig.h"
#include "dialogs/dialogs.h"
#include "dialogs/option_window.h"
#include "platform/sdl/sdl_backend.h"
#include "window/sdl_click.h"

namespace dalvo::test {
namespace {

TEST(WindowInner, DialogsOpenAsTheirOwnWindowsWithTheirClientSizes) {
    if (std::getenv("DALVO_WINDOW_INNER") == nullptr) GTEST_SKIP() << "runs inside Xvfb only";
    DialogRig rig(/*mixer_fails=*/false, /*window=*/true);
    Game& game = rig.game();
    auto& backend = dynamic_cast<platform::SdlBackend&>(rig.host().backend());
    rig.idle(100);
    auto size = [&](const platform::Form& form) {
        int w = 0, h = 0;
        return backend.window_size(form, w, h) ? std::pair(w, h) : std::pair(-1, -1);
    };

    Option_open(game);
    rig.idle(100);
    EXPECT_EQ(size(game.dialogs.option->form), std::pair(216, 185));
    EXPECT_NE(backend.window_id(game.dialogs.option->form), backend.window_id(game.ui.form));
    rig.host().post(platform::PressControl{"Option_Window", "Command2"});
    rig.idle(100);
    EXPECT_FALSE(Option_is_open(game));

    About_open(game);
    rig.idle(100);
    ASSERT_TRUE(About_is_open(game));
    EXPECT_EQ(size(game.dialogs.about->form), std::pair(338, 194));

    // A click in the game window takes the focus away from the box, which closes.
    push_sdl_click(backend.window_id(game.ui.form), 600, 60);
    rig.idle(100);
    EXPECT_FALSE(About_is_open(game));
}

}  // namespace
}  // namespace dalvo::test
