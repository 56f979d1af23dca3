// The message window: prefixes, line pieces, the message modes, the scroll.

#include <gtest/gtest.h>

#include <tuple>

#include "engine/message.h"
#include "message/message_rig.h"
#include "platform/gfx/font.h"
#include "platform/codec/text_codec.h"

namespace dalvo::test {
namespace {

constexpr platform::Color kHayase = platform::Color{0x9EDD60}, kPlayer = platform::Color{0xB7A7F8};
constexpr int kL = 16;  // Line_height of the standard font

// `n` full-width characters that differ from their neighbours.
std::string wide_text(int n) {
    static const char* const kChars[] = {"一", "二", "三", "四", "五", "六", "七"};
    std::string s;
    for (int i = 0; i < n; ++i) s += kChars[i % 7];
    return s;
}

// The text area with each {x, y, text, colour} drawn in the message font, and nothing else.
platform::Surface area_with(MessageRig& rig,
                            std::initializer_list<std::tuple<int, int, std::string, platform::Color>> texts) {
    platform::Surface out(578, 82);
    for (const auto& [x, y, text, c] : texts) platform::draw_text(out, x, y, text, rig.ui().TxtFrame1[1]->font, c);
    return out;
}

TEST(MessageWindow, NamedTextOfSeventyTwoCharactersFillsTwoLinesAndWaits) {
    MessageRig rig;
    ASSERT_EQ(rig.w().Line_height, kL);
    rig.g().g_MsgSpeed = 1;
    const std::string text = wide_text(69);  // with "早瀬：" 72 characters
    rig.click_at(500, kStageX, kStageY);
    rig.say(3, text);

    EXPECT_GE(rig.now(), 500u);
    EXPECT_EQ(rig.w().LineNo, 1);
    EXPECT_EQ(rig.w().SelArmed, kTrue);
    const std::string first = "早瀬：" + platform::char_substr(text, 0, 33);
    const std::string second = "　　　" + platform::char_substr(text, 33);  // 39 characters
    EXPECT_TRUE(rig.w().LogText[7].empty());
    // Whole lines use the font's own advances; the long continuation is cut at the edge.
    EXPECT_TRUE(rig.area() == area_with(rig, {{0, 1, first, kHayase}, {0, 1 + kL, second, kHayase}}));
}

TEST(MessageWindow, PrefixesFollowTheSpeakerAndEmptyTextsShowNothing) {
    MessageRig rig;
    rig.g().g_MsgSpeed = 0;
    rig.say(2, "");
    EXPECT_EQ(rig.w().LineNo, -1);
    rig.say(4, "あ");
    rig.say(4, "い");
    rig.say(1, "う");
    rig.say(0, "え");
    rig.say(6, wide_text(40));
    const auto& log = rig.w().LogText;
    EXPECT_EQ(std::vector(log.begin() + 4, log.begin() + 8),
              (std::vector<std::string>{"楓　：あ", "　　　い", "太郎：う", "え"}));
    EXPECT_EQ(rig.w().LogColor[6], kPlayer);
    EXPECT_EQ(log[9], platform::char_substr(wide_text(40), 36)) << "no name, no indent";
    EXPECT_EQ(rig.w().LastSpeaker, 1);
}

TEST(MessageWindow, TypedModePlacesCharactersOnACellGrid) {
    MessageRig rig;
    rig.at(0, [&] { rig.g().g_WaitClick = kFalse; });
    rig.say(0, "ab字");
    EXPECT_EQ(rig.now(), 40u) << "10 ms a character, then one turn of the click wait";
    // A half-width character takes half a cell and the next one follows it.
    const platform::Color white = platform::kWhite;
    EXPECT_TRUE(rig.area() == area_with(rig, {{0, 1, "a", white}, {kL / 2, 1, "b", white}, {kL, 1, "字", white}}));
}

TEST(MessageWindow, SixthLineScrollsByExactlyOneLineAndLeavesNoSpecks) {
    for (std::int16_t mode : {0, 2}) {
        MessageRig rig;
        rig.g().g_MsgSpeed = 0;
        for (int i = 0; i < 5; ++i) rig.say(i + 1, wide_text(10 + i));
        // Glyph pixels on the last rows of line 0 and line 4 and the row below it, where a
        // glyph taller than its line box reaches.
        for (int y : {16, 80, 81}) rig.area().fill_rect(40, y, 3, 1, platform::kWhite);
        const platform::Surface before = rig.area();
        rig.g().g_MsgSpeed = mode;
        rig.w().LineNo = 5;
        Msg_scroll(rig.game());
        // Smooth scrolling: 16 one-pixel steps of more than 10 ms each; jumping takes no time.
        EXPECT_EQ(rig.now(), mode == 0 ? 0u : 16u * 11u);
        EXPECT_EQ(rig.w().LineNo, 4);
        for (int y = 1; y < 65; ++y) {
            for (int x = 0; x < 578; ++x) ASSERT_EQ(rig.area().get(x, y), before.get(x, y + kL)) << mode;
        }
        EXPECT_FALSE(band_has(rig.area(), 65, 16, platform::Color{0x7DECFF})) << "line 4 is free for the new text";
        // Nothing stays above the top line or climbs into the new one.
        for (int y : {0, 66, 70, 79, 80, 81})
            EXPECT_FALSE(band_has(rig.area(), y, 1, platform::kWhite)) << mode << " " << y;
    }
}

}  // namespace
}  // namespace dalvo::test
