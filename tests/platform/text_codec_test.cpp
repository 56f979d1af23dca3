// Shift-JIS at the edge and character counting inside.

#include <gtest/gtest.h>

#include "platform/codec/text_codec.h"

namespace dalvo::platform {
namespace {

TEST(TextCodec, ShiftJisRoundTripKeepsVendorCharactersKanaAndBackslash) {
    const std::string text = "C:\\data ①髙～ ｱｲｳﾞﾟ 日本語 abc";
    const auto sjis = utf8_to_sjis(text);
    ASSERT_TRUE(sjis.has_value());
    EXPECT_EQ(sjis_to_utf8(*sjis), text);
    // Fixed codes the data files rely on.
    EXPECT_EQ(*utf8_to_sjis("\\"), "\x5C");
    EXPECT_EQ(*utf8_to_sjis("①"), "\x87\x40");
    EXPECT_EQ(*utf8_to_sjis("ｱ"), "\xB1");
    EXPECT_EQ(sjis_to_utf8("\x5C\x7E"), "\\~");
    EXPECT_EQ(sjis_to_utf8("\x81\x60"), "～");
}

TEST(TextCodec, UndecodableBytesBecomeReplacementCharacters) {
    EXPECT_EQ(sjis_to_utf8("A\xFF" "B"), "A\xEF\xBF\xBD" "B");
    EXPECT_EQ(sjis_to_utf8("AB\x82"), "AB\xEF\xBF\xBD");  // lead byte cut off at the end
    // Characters with no Shift-JIS form cannot be written.
    EXPECT_FALSE(utf8_to_sjis("€").has_value());
    EXPECT_FALSE(utf8_to_sjis("\xE3\x81").has_value());  // broken UTF-8
    // A failure leaves nothing behind for the next conversion.
    EXPECT_EQ(*utf8_to_sjis("あ"), "\x82\xA0");
}

TEST(TextCodec, CountsAndCutsByCharacter) {
    const std::string name = "ｱﾙﾌｧ太郎x";
    EXPECT_EQ(char_count(name), 7);
    EXPECT_EQ(wide_byte_length(name), 14);
    EXPECT_EQ(char_substr(name, 4, 2), "太郎");
    EXPECT_EQ(char_substr(name, 6, 10), "x");
    EXPECT_EQ(char_substr(name, 9, 1), "");
    EXPECT_TRUE(is_half_width("\\"));
    EXPECT_TRUE(is_half_width("｡"));  // U+FF61, the first half-width form
    EXPECT_TRUE(is_half_width("ﾟ"));  // U+FF9F, the last
    EXPECT_FALSE(is_half_width("ﾠ"));  // U+FFA0, half-width hangul: not a CP932 single byte
    EXPECT_FALSE(is_half_width("ア"));
}

}  // namespace
}  // namespace dalvo::platform
