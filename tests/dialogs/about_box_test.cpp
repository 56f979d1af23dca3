// The about box: its texts, its links, and how it goes away.

#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/about_box.h"
#include "dialogs/dialog_rig.h"
#include "dialogs/dialogs.h"

namespace dalvo::test {
namespace {

constexpr const char* kForm = "frmAbout";

TEST(AboutBox, ShowsItsTextsAndItsLinksOpenExactlyWhatTheyShow) {
    DialogRig rig;
    rig.send(platform::MenuCommand{"Main_Form", "vvrr"});
    ASSERT_TRUE(About_is_open(rig.game()));
    AboutBox& d = *rig.game().dialogs.about;
    ASSERT_NE(d.Label3->cursor, nullptr);
    // Not modal: the game window still takes the player's input.
    EXPECT_TRUE(rig.game().ui.form.enabled);
    expect_picture(composed(d.form), 0x7fcd91dc496cd890ull, "about_box");  // its client size too

    // The link captions reach the desktop exactly as shown.
    rig.press(kForm, "Label3");
    rig.press(kForm, "Label4");
    const auto shell = rig.events("shell");
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0]["url"].str(), d.Label3->caption);
    EXPECT_TRUE(shell[0]["url"].str().starts_with("mailto:"));
    EXPECT_EQ(shell[1]["url"].str(), d.Label4->caption);
    // Labels that are not links open nothing.
    rig.press(kForm, "Label1");
    EXPECT_EQ(rig.events("shell").size(), 2u);

    // It closes by OK, or when the game window is clicked.
    rig.press(kForm, "cmdOK");
    EXPECT_EQ(rig.host().find_form(kForm), nullptr);

    About_open(rig.game());
    rig.send(platform::MouseDown{"Main_Form", 320, 200, platform::MouseButton::Left});
    rig.send(platform::MouseUp{"Main_Form", 320, 200, platform::MouseButton::Left});
    EXPECT_FALSE(About_is_open(rig.game()));
}

TEST(AboutBox, MissingPointerBesideTheProgramStopsTheLoad) {
    DialogRig rig;
    std::filesystem::remove(rig.folder().path() / "data" / "select.cur");
    About_open(rig.game());
    EXPECT_FALSE(About_is_open(rig.game()));
    ASSERT_EQ(rig.messages().size(), 1u);
    EXPECT_NE(rig.messages()[0].find("select.cur"), std::string::npos);
}

}  // namespace
}  // namespace dalvo::test
