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
    auto* backend = dynamic_cast<platform::SdlBackend*>(&rig.host().backend());
    ASSERT_NE(backend, nullptr);
    rig.idle(100);

    Option_open(game);
    rig.idle(100);
    int w = 0, h = 0;
    ASSERT_TRUE(backend->window_size(game.dialogs.option->form, w, h));
    EXPECT_EQ(w, 216);
    EXPECT_EQ(h, 185);
    EXPECT_NE(backend->window_id(game.dialogs.option->form), backend->window_id(game.ui.form));
    rig.host().post(platform::PressControl{"Option_Window", "Command2"});
    rig.idle(100);
    EXPECT_FALSE(Option_is_open(game));

    About_open(game);
    rig.idle(100);
    ASSERT_TRUE(About_is_open(game));
    ASSERT_TRUE(backend->window_size(game.dialogs.about->form, w, h));
    EXPECT_EQ(w, 338);
    EXPECT_EQ(h, 194);

    // A click in the game window takes the focus away from the box, which closes.
    push_sdl_click(backend->window_id(game.ui.form), 600, 60);
    rig.idle(100);
    EXPECT_FALSE(About_is_open(game));
}

}  // namespace
}  // namespace dalvo::test
