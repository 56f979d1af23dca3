// Shift-JIS at the edge and character counting inside.

#include <gtest/gtest.h>

#include <utility>

#include "platform/codec/text_codec.h"

namespace dalvo::platform {
namespace {

TEST(TextCodec, ShiftJisKeepsVendorCharactersKanaAndBackslashAndMarksWhatItCannotConvert) {
    const std::string text = "C:\\data ①髙～ ｱｲｳﾞﾟ 日本語 abc";
    const auto sjis = utf8_to_sjis(text);
    ASSERT_TRUE(sjis.has_value());
    EXPECT_EQ(sjis_to_utf8(*sjis), text);
    // Characters with no Shift-JIS form cannot be written.
    EXPECT_FALSE(utf8_to_sjis("€").has_value());
    EXPECT_FALSE(utf8_to_sjis("\xE3\x81").has_value());  // broken UTF-8
    // Fixed codes the data files rely on, both ways; the failures above left nothing behind.
    const std::pair<std::string, std::string> codes[] = {
        {"\\~", "\x5C\x7E"}, {"①", "\x87\x40"}, {"ｱ", "\xB1"}, {"～", "\x81\x60"}, {"あ", "\x82\xA0"}};
    for (const auto& [utf8, sjis] : codes) {
        EXPECT_EQ(utf8_to_sjis(utf8), sjis) << utf8;
        EXPECT_EQ(sjis_to_utf8(sjis), utf8) << utf8;
    }
    // Undecodable bytes become replacement characters.
    EXPECT_EQ(sjis_to_utf8("A\xFF" "B"), "A\xEF\xBF\xBD" "B");
    EXPECT_EQ(sjis_to_utf8("AB\x82"), "AB\xEF\xBF\xBD");  // lead byte cut off at the end
    // A lead byte before a byte that cannot follow it stands alone; 0x80 is no character
    // (Windows' own code page reads it as U+0080: both builds read a folder alike).
    EXPECT_EQ(sjis_to_utf8("\x81 \x82\xA0"), "\xEF\xBF\xBD あ");
    EXPECT_EQ(sjis_to_utf8("A\x80" "B"), "A\xEF\xBF\xBD" "B");
    EXPECT_FALSE(utf8_to_sjis("\xC2\x80").has_value());
}

TEST(TextCodec, CountsAndCutsByCharacter) {
    const std::string name = "ｱﾙﾌｧ太郎x";
    EXPECT_EQ(char_count(name), 7);
    EXPECT_EQ(wide_byte_length(name), 14);
    EXPECT_EQ(char_substr(name, 4, 2), "太郎");
    EXPECT_EQ(char_substr(name, 6, 10), "x");
    EXPECT_EQ(char_substr(name, 9, 1), "");
    // Single bytes in CP932: ASCII and U+FF61 to U+FF9F, the half-width forms; not U+FFA0,
    // half-width hangul, nor full-width kana.
    for (const char* c : {"\\", "｡", "ﾟ"}) EXPECT_TRUE(is_half_width(c)) << c;
    for (const char* c : {"ﾠ", "ア"}) EXPECT_FALSE(is_half_width(c)) << c;
}

}  // namespace
}  // namespace dalvo::platform
