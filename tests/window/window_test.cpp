// The real window: the pure parts (scaling, keys, menu bar, change detection) run
// anywhere; the window itself is opened under Xvfb by re-running this program there.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>

#include "platform/gfx/font.h"
#include "platform/ui/form.h"
#include "platform/platform.h"
#include "platform/sdl/drawn_message_box.h"
#include "platform/sdl/menu_bar.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_input.h"
#include "support/fixture.h"
#include "support/picture_check.h"
#include "window/sdl_click.h"
#include "window/x11_poke.h"

namespace dalvo::platform {
namespace {

std::vector<MenuItem> game_menu() {
    return {{"prog_end", "終了", true, {}},
            {"prog_load", "ロード", true, {}},
            {"prog_save", "セーブ", false, {}},
            {"opt_menu", "設定", true, {}},
            {"speedup", "次の選択まで[Skip]", true, {}},
            {"vvrr", "バージョン", true, {}}};
}

TEST(WindowMapping, WholeFactorsMapWindowPixelsBackToTheClientAndFullscreenLetterboxes) {
    const Viewport win = fit_viewport(1280, 998, 640, 499, 2, false);
    const Viewport full = fit_viewport(1920, 1080, 640, 499, 1, true);  // the largest whole factor, centred
    EXPECT_EQ((std::array{win.factor, win.x, full.factor, full.x, full.y}), (std::array{2, 0, 2, 320, 41}));
    // The letterbox maps outside the picture, also to the left (no rounding towards zero).
    for (const auto& [vp, x, y, inside, px, py] :
         {std::tuple{win, 0, 0, true, 0, 0}, {win, 1279, 997, true, 639, 498}, {win, 3, 5, true, 1, 2},
          {win, 1280, 10, false, 640, 5}, {full, 319, 41, false, -1, 0}, {full, 1599, 1038, true, 639, 498}}) {
        const PicturePoint p = to_picture(vp, x, y);
        EXPECT_EQ((std::tuple{p.inside, p.x, p.y}), (std::tuple{inside, px, py})) << x << "," << y;
    }
    // A screen smaller than the picture still shows it at factor 1.
    EXPECT_EQ(fit_viewport(600, 400, 640, 499, 1, true).factor, 1);
    // Smooth scaling fills the output by the picture's aspect between whole multiples, and
    // maps back exactly; at a whole multiple it is the sharp picture.
    const Viewport smooth = fit_viewport(1600, 1000, 640, 499, 1, true, true);
    EXPECT_EQ((std::array{smooth.x, smooth.y, smooth.shown_w, smooth.shown_h}), (std::array{159, 0, 1282, 1000}));
    EXPECT_TRUE(smooth.smooth());
    EXPECT_FALSE(fit_viewport(1280, 998, 640, 499, 1, true, true).smooth());
    EXPECT_FALSE(fit_viewport(1600, 1000, 640, 499, 2, false, true).smooth()) << "a window of its own size";
    for (const auto& [x, y, inside, px, py] :
         {std::tuple{159, 0, true, 0, 0}, {1440, 999, true, 639, 498}, {158, 500, false, -1, 249}, {1441, 0, false, 640, 0}}) {
        const PicturePoint p = to_picture(smooth, x, y);
        EXPECT_EQ((std::tuple{p.inside, p.x, p.y}), (std::tuple{inside, px, py})) << x << "," << y;
    }
}

TEST(WindowKeys, SdlKeysBecomeTheGameKeyCodes) {
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_RETURN, key::Enter}, {SDLK_KP_ENTER, key::Enter}, {SDLK_SPACE, key::Space}, {SDLK_ESCAPE, key::Escape},
        {SDLK_TAB, key::Tab},      {SDLK_BACKSPACE, key::Backspace}, {SDLK_LEFT, key::Left}, {SDLK_UP, key::Up},
        {SDLK_RIGHT, key::Right},  {SDLK_DOWN, key::Down},  {SDLK_F1, 112}, {SDLK_F12, 123}, {SDLK_a, 'A'},
        {SDLK_z, 'Z'},             {SDLK_0, '0'},           {SDLK_9, '9'},  {SDLK_CAPSLOCK, 0}};
    for (const auto& [sdl, code] : keys) EXPECT_EQ(key_code_from_sdl(sdl), code) << sdl;
}

TEST(WindowMenu, CaptionsSitSideBySideAndGreyWhenDisabled) {
    const std::vector<MenuItem> menu = game_menu();
    const auto slots = layout_menu(menu);
    ASSERT_EQ(slots.size(), menu.size());
    for (std::size_t i = 1; i < slots.size(); ++i) {
        EXPECT_EQ(slots[i].left, slots[i - 1].left + slots[i - 1].width);
    }
    EXPECT_GT(slots[4].width, slots[0].width);  // the long skip caption is wider
    const int end = slots.back().left + slots.back().width;
    EXPECT_LE(end, 640);
    EXPECT_EQ((std::array{menu_item_at(slots, slots[2].left), menu_item_at(slots, slots[2].left - 1),
                          menu_item_at(slots, end)}),
              (std::array{2, 1, -1}));

    Surface bar(640, kMenuBarHeight, kWhite);
    draw_menu_bar(bar, 0, 640, menu, slots, -1);
    auto uses = [&](int item, Color c) {
        for (int y = 0; y < kMenuBarHeight; ++y) {
            for (int x = slots[item].left; x < slots[item].left + slots[item].width; ++x) {
                if (bar.get(x, y) == c) return true;
            }
        }
        return false;
    };
    EXPECT_EQ(bar.get(639, 0), platform::Color{0xC0C0C0});
    // An enabled caption is black; "セーブ" disabled is grey and embossed (white), no black.
    const platform::Color grey{0x808080};
    EXPECT_EQ((std::array{uses(0, kBlack), uses(0, grey), uses(2, kBlack), uses(2, grey), uses(2, kWhite)}),
              (std::array{true, false, false, true, true}));
}

TEST(WindowMenu, TheBarIsDrawnAgainOnlyWhenTheFormChangedIt) {
    Form form("Main_Form", "DALVO!", 64, 48);
    form.menu = game_menu();
    EXPECT_TRUE(form.take_menu_change());  // a new bar is drawn once
    EXPECT_FALSE(form.take_menu_change());
    form.set_menu_caption("speedup", "次の選択まで[Stop]");
    EXPECT_TRUE(form.take_menu_change());
    form.set_menu_enabled("prog_load", false);
    form.set_menu_enabled("prog_load", false);
    EXPECT_TRUE(form.take_menu_change());
    form.set_menu_enabled("prog_load", false);  // no change
    EXPECT_FALSE(form.take_menu_change());
}

TEST(WindowMessageBox, ButtonsSitCentredSideBySideBelowTheText) {
    const std::vector<std::string> captions = {"はい", "いいえ"};
    const MessageBoxLayout l = layout_message_box("終了しますか？", captions);
    ASSERT_EQ(l.buttons.size(), 2u);
    EXPECT_EQ(l.buttons[0].x, l.width - (l.buttons[1].x + l.buttons[1].w));
    EXPECT_GT(l.buttons[1].x, l.buttons[0].x + l.buttons[0].w);
    EXPECT_GT(l.buttons[0].y, l.text_y + l.line_height);
    EXPECT_EQ(message_box_button_at(l, l.buttons[1].x, l.buttons[1].y), 1);
    EXPECT_EQ(message_box_button_at(l, l.buttons[0].x - 1, l.buttons[0].y), -1);
    // A long report widens the box; each line break is a line of its own.
    const MessageBoxLayout wide = layout_message_box(std::string(60, 'x') + "\n2", {"OK"});
    EXPECT_EQ(wide.lines.size(), 2u);
    EXPECT_GE(wide.width, text_width(menu_font(), std::string(60, 'x')) + 2 * wide.text_x);
}

// --- The real window, under Xvfb -------------------------------------------------

bool on_path(const char* program) {
    const std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// -noreset: the server stays up when the last window of one test closes; a server
// starting over refuses the next test's connection for a moment.
const std::string kXvfb = "timeout -s KILL 60 xvfb-run -a -s '-screen 0 1024x768x24 -noreset' ";

TEST(WindowSmoke, RealWindowShowsTheComposedFormUnderXvfb) {
    if (std::getenv("DALVO_WINDOW_INNER") != nullptr) GTEST_SKIP() << "inner run";
    if (!on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string cmd = kXvfb + "env DALVO_WINDOW_INNER=1 SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy '" + self +
                            "' --gtest_filter='WindowInner.*' --gtest_brief=1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

// What `script` of tests/window printed, run under Xvfb on the program, its data and a work
// folder; `skip` says which tool it needs is missing.
std::string run_window_script(const std::string& script, std::initializer_list<const char*> tools,
                              const std::string& screen, const std::string& more, std::string& skip) {
    for (const char* tool : tools) {
        if (on_path(tool)) continue;
        skip = std::string(tool) + " is not installed";
        return {};
    }
    const std::filesystem::path work = std::filesystem::path(DALVO_BINARY_DIR) / "test_output" / script;
    const std::string out = work.string() + ".txt";
    std::filesystem::create_directories(work.parent_path());
    const std::string cmd = "timeout -s KILL 60 xvfb-run -a -s '-screen 0 " + screen + "' '" + DALVO_SOURCE_DIR +
                            "/tests/window/" + script + ".sh' '" + DALVO_BINARY_DIR + "/dalvo' '" + DALVO_BINARY_DIR +
                            "/data' '" + work.string() + "'" + more + " >'" + out + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return test::read_file(out);
}

// The player's view two ways: the program's own `shot` and a capture of its real window.
TEST(WindowSmoke, ShotAndTheRealWindowShowTheSamePixels) {
    if (std::getenv("DALVO_WINDOW_INNER") != nullptr) GTEST_SKIP() << "inner run";
    std::string skip;
    const std::string out =
        run_window_script("shot_matches_window", {"xvfb-run", "xdotool", "import", "convert", "compare"}, "1024x768x24 -noreset", "", skip);
    if (!skip.empty()) GTEST_SKIP() << skip;
    EXPECT_EQ(out.substr(0, out.find('\n')), "0") << "pixels differing between the shot and the window; see test_output";
}

// What the window manager is told, read back with xprop: the game window is a main window
// of the class "dalvo" with its icon, whole on a screen too small for the scale asked,
// and the about box is its dialog.
TEST(WindowSmoke, MainWindowHasItsClassIconAndPlaceAndDialogsBelongToIt) {
    if (std::getenv("DALVO_WINDOW_INNER") != nullptr) GTEST_SKIP() << "inner run";
    std::string skip;
    std::istringstream in(run_window_script("window_props", {"xvfb-run", "xdotool", "xprop"}, "1280x1024x24", " --scale 3", skip));
    if (!skip.empty()) GTEST_SKIP() << skip;
    std::string word, win_class, transient, icon, dialog, warning;
    int x = 0, y = 0, w = 0, h = 0;
    in >> word >> x >> y >> w >> h >> win_class >> transient;
    if (transient == "not") in >> word;  // "not found."
    in >> icon >> word >> dialog;
    std::getline(in >> std::ws, warning);
    EXPECT_EQ((std::array{w, h}), (std::array{1280, 2 * (480 + kMenuBarHeight)}));  // scale 2, the largest that fits
    EXPECT_LE(y + h, 1024);
    EXPECT_EQ((std::array<std::string, 4>{win_class, transient, icon, dialog}),
              (std::array<std::string, 4>{"\"dalvo\",\"dalvo\"", "not", "64,64", "yes"}));
    EXPECT_EQ(warning, "dalvo: --scale 3 does not fit the screen; the window uses scale 2");
}

using test::composed;

void settle(Platform& p) {
    for (int i = 0; i < 10; ++i) {
        p.clock.sleep(10);
        p.host.yield();
    }
}

// The game's form with its menu and a stage picture of `height` rows, shown in a real
// window; none (with `error` set) when the window cannot be made.
struct WindowedForm {
    explicit WindowedForm(int height) : set(make_sdl_platform({}, error)) {
        if (!set) return;
        form.menu = game_menu();
        form.image.fill_rect(0, 0, 640, 480, platform::Color{0x203040});
        pic.move(0, 0, 640, height);
        test::paint(pic.image, [](int x, int y) { return rgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF); });
        pic.refresh();
        set->platform().host.show_form(form);
        settle(set->platform());
    }
    SdlBackend& backend() { return dynamic_cast<SdlBackend&>(set->platform().host.backend()); }
    std::string error;
    std::unique_ptr<PlatformSet> set;
    Form form{"Main_Form", "DALVO!", 640, 480};
    Control& pic = form.add("Pic_Main", ControlKind::Picture);
};

TEST(WindowInner, FormAppearsWithItsMenuBarAndPresentsOnlyChanges) {
    if (std::getenv("DALVO_WINDOW_INNER") == nullptr) GTEST_SKIP() << "runs inside Xvfb only";
    WindowedForm win(368);
    ASSERT_TRUE(win.set) << win.error;
    Platform& p = win.set->platform();
    SdlBackend& backend = win.backend();
    Form& form = win.form;
    Control& pic = win.pic;

    int w = 0, h = 0;
    ASSERT_TRUE(backend.window_size(form, w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(640, 480 + kMenuBarHeight));
    // The window's client area, read back, is the form as composed now.
    auto shows_composed = [&] {
        Surface shown;
        return backend.read_client(form, shown) && shown == composed(form);
    };
    EXPECT_TRUE(shows_composed());

    // Idle: nothing changed, nothing presented.
    const std::uint64_t frames = backend.frames_presented();
    settle(p);
    EXPECT_EQ(backend.frames_presented(), frames);

    // A change: the window reads back as the new picture only if it was presented.
    pic.image.fill_rect(100, 100, 50, 50, kWhite);
    pic.refresh();
    settle(p);
    EXPECT_TRUE(shows_composed());

    // A small mark blinks and moves over the picture: only its rectangle is drawn again,
    // and the window keeps showing exactly the composed form.
    Control& mark = pic.add("Blinker", ControlKind::Shape);
    mark.filled = true;
    mark.fill_color = kWhite;
    mark.move(570, 74, 8, 8);
    pic.refresh();
    for (int blink = 0; blink < 4; ++blink) {
        mark.visible = blink % 2 == 1;
        if (blink == 3) mark.move(300, 200, 8, 8);
        mark.refresh();
        settle(p);
        EXPECT_TRUE(shows_composed()) << "blink " << blink;
    }

    // What the X server sends while the loop idles reaches the control at the next turn:
    // the pointer is moved through another connection, so that neither SDL nor Xlib has
    // anything queued and only the connection itself shows it.
    MouseEvent moved_to{};
    pic.on_mouse_move = [&](const MouseEvent& m) { moved_to = m; };
    SDL_StopTextInput();  // as the game has it outside the name entry
    settle(p);
    ASSERT_TRUE(dalvo::test::warp_pointer_from_outside(backend.window_id(form), 200, kMenuBarHeight + 60));
    p.clock.sleep(10);
    p.host.yield();
    EXPECT_EQ(std::pair(moved_to.x, moved_to.y), std::pair(200, 60));

    // Input through the window: a caption runs its command, a greyed one does not, and
    // a click on the client area reaches the control under it in its own coordinates.
    int ended = 0, saved = 0;
    MouseEvent got{};
    form.menu[0].on_click = [&] { ++ended; };
    form.menu[2].on_click = [&] { ++saved; };
    pic.on_mouse_down = [&](const MouseEvent& m) { got = m; };
    const std::uint32_t id = backend.window_id(form);
    auto click = [&](int x, int y) { dalvo::test::push_sdl_click(id, x, y); };
    const auto slots = layout_menu(form.menu);
    click(slots[0].left + 3, 5);
    click(slots[2].left + 3, 5);
    click(100, kMenuBarHeight + 50);
    settle(p);
    EXPECT_EQ((std::array{ended, saved, got.x, got.y}), (std::array{1, 0, 100, 50})) << "ended, saved, click x, y";
    p.host.hide_form(form);
    EXPECT_EQ(backend.window_id(form), 0u);
}

// The game window made any size: the picture fitted in by a whole factor, centred, the
// mouse mapped back through the bars; Alt+Enter is the window's, never the game's.
TEST(WindowInner, AResizedWindowLetterboxesMapsTheMouseAndAltEnterGoesFullscreen) {
    if (std::getenv("DALVO_WINDOW_INNER") == nullptr) GTEST_SKIP() << "runs inside Xvfb only";
    WindowedForm win(480);
    ASSERT_TRUE(win.set) << win.error;
    Platform& p = win.set->platform();
    SdlBackend& backend = win.backend();
    Form& form = win.form;
    MouseEvent got{};
    int keys = 0;
    win.pic.on_mouse_down = [&](const MouseEvent& m) { got = m; };
    form.on_key_down = [&](int) { ++keys; };
    SDL_Window* window = SDL_GetWindowFromID(backend.window_id(form));
    ASSERT_NE(window, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE, 0u);
    SDL_SetWindowSize(window, 1001, 737);
    settle(p);
    int out_w = 0, out_h = 0;
    SDL_GetWindowSize(window, &out_w, &out_h);
    ASSERT_EQ(std::pair(out_w, out_h), std::pair(1001, 737)) << "Xvfb has no window manager to refuse it";
    const int left = (1001 - 640) / 2, top = (737 - 480 - kMenuBarHeight) / 2;
    dalvo::test::push_sdl_click(backend.window_id(form), left + 200, top + kMenuBarHeight + 60);
    settle(p);
    EXPECT_EQ(std::pair(got.x, got.y), std::pair(200, 60));
    Surface shown;
    EXPECT_TRUE(backend.read_client(form, shown) && shown == composed(form)) << "the picture inside the bars";

    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = backend.window_id(form);
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = SDLK_RETURN;
    e.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&e);
    settle(p);
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_EQ(keys, 0);
    p.host.hide_form(form);
}

}  // namespace
}  // namespace dalvo::platform
