// The about box: its texts, its links, and how it goes away.

#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/about_box.h"
#include "dialogs/dialog_rig.h"
#include "dialogs/dialogs.h"
#include "dialogs/maker.h"

namespace dalvo::test {
namespace {

constexpr const char* kForm = "frmAbout";

AboutBox& about(DialogRig& rig) { return *rig.game().dialogs.about; }

TEST(AboutBox, ShowsTitleVersionAndLinksWithTheSelectPointer) {
    DialogRig rig;
    rig.send(platform::MenuCommand{"Main_Form", "vvrr"});
    ASSERT_TRUE(About_is_open(rig.game()));
    AboutBox& d = about(rig);
    EXPECT_TRUE(rig.host().is_shown(d.form));
    EXPECT_EQ(d.form.caption, "ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(d.form.client_width, 338);
    EXPECT_EQ(d.form.client_height, 194);
    EXPECT_EQ(d.Label5->caption, "DALVO!");
    EXPECT_EQ(d.Label6->caption, "Ver. 1.20");
    EXPECT_EQ(d.Label3->caption, std::string("mailto:") + kMakerMail);
    EXPECT_EQ(d.Label4->caption, kMakerWeb);
    ASSERT_NE(d.Label3->cursor, nullptr);
    EXPECT_EQ(d.Label4->cursor, d.Label3->cursor);
    // Not modal: the game window still takes the player's input.
    EXPECT_TRUE(rig.game().ui.form.enabled);

    expect_form_picture(d.form, 0x5f74d5004bddc087ull, "about_box");
}

TEST(AboutBox, LinkCaptionsReachTheDesktopExactlyAsShown) {
    DialogRig rig;
    About_open(rig.game());
    rig.press(kForm, "Label3");
    rig.press(kForm, "Label4");
    const auto shell = rig.events("shell");
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(field(shell[0], "url"), about(rig).Label3->caption);
    EXPECT_EQ(field(shell[0], "url").rfind("mailto:", 0), 0u);
    EXPECT_EQ(field(shell[1], "url"), about(rig).Label4->caption);
    // Labels that are not links open nothing.
    rig.press(kForm, "Label1");
    EXPECT_EQ(rig.events("shell").size(), 2u);
}

TEST(AboutBox, ClosesByOkOrWhenTheGameWindowIsClicked) {
    DialogRig rig;
    About_open(rig.game());
    rig.press(kForm, "cmdOK");
    EXPECT_FALSE(About_is_open(rig.game()));
    EXPECT_EQ(rig.host().find_form(kForm), nullptr);

    About_open(rig.game());
    rig.send(platform::MouseDown{"Main_Form", 320, 200, platform::MouseButton::Left});
    rig.send(platform::MouseUp{"Main_Form", 320, 200, platform::MouseButton::Left});
    EXPECT_FALSE(About_is_open(rig.game()));

    // Opening it again gives a fresh box; a click inside it keeps it.
    About_open(rig.game());
    rig.press(kForm, "Label2");
    EXPECT_TRUE(About_is_open(rig.game()));
    rig.send(platform::FocusLost{kForm});
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
