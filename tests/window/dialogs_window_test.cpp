// The dialogs in real windows of their own (run under Xvfb by the window smoke test).

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "dialogs/about_box.h"
#include "dialogs/dialogs.h"
#include "dialogs/option_window.h"
#include "engine/game.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "support/fixture.h"
#include "window/sdl_click.h"

namespace dalvo::test {
namespace {

void settle(platform::Platform& p) {
    for (int i = 0; i < 10; ++i) {
        p.clock.sleep(10);
        p.host.yield();
    }
}

TEST(WindowInner, DialogsOpenAsTheirOwnWindowsWithTheirClientSizes) {
    if (std::getenv("DALVO_WINDOW_INNER") == nullptr) GTEST_SKIP() << "runs inside Xvfb only";
    FixtureFolder folder;
    std::filesystem::create_directories(folder.path() / "data");
    folder.write_bytes("data/select.cur", folder.read_bytes("select.cur"));
    std::string error;
    auto set = platform::make_sdl_platform({}, error);
    ASSERT_TRUE(set) << error;
    platform::Platform& p = set->platform();
    auto* backend = dynamic_cast<platform::SdlBackend*>(&p.host.backend());
    ASSERT_NE(backend, nullptr);

    GameOptions options;
    options.data_dir = folder.path();
    options.program_dir = folder.path();
    auto game = std::make_unique<Game>(p, options);
    Window_load(*game);
    settle(p);

    Option_open(*game);
    settle(p);
    int w = 0, h = 0;
    ASSERT_TRUE(backend->window_size(game->dialogs.option->form, w, h));
    EXPECT_EQ(w, 216);
    EXPECT_EQ(h, 185);
    EXPECT_NE(backend->window_id(game->dialogs.option->form), backend->window_id(game->ui.form));
    p.host.post(platform::PressControl{"Option_Window", "Command2"});
    settle(p);
    EXPECT_FALSE(Option_is_open(*game));

    About_open(*game);
    settle(p);
    ASSERT_TRUE(About_is_open(*game));
    ASSERT_TRUE(backend->window_size(game->dialogs.about->form, w, h));
    EXPECT_EQ(w, 338);
    EXPECT_EQ(h, 194);

    // A click in the game window takes the focus away from the box, which closes.
    const std::uint32_t id = backend->window_id(game->ui.form);
    dalvo::test::push_sdl_click(id, 600, 60);
    settle(p);
    EXPECT_FALSE(About_is_open(*game));
    game.reset();
}

}  // namespace
}  // namespace dalvo::test
