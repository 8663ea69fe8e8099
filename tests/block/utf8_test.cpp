#include "block/utf8.h"

#include <gtest/gtest.h>

#include <string_view>

namespace quiren::block {
namespace {

TEST(Utf8, AcceptsEveryRangeUpToItsEdges) {
  for (const std::string_view text : {
           std::string_view(""), std::string_view("\x00\x7f", 2),
           std::string_view("\xc2\x80\xdf\xbf"),            // U+0080, U+07FF
           std::string_view("\xe0\xa0\x80\xed\x9f\xbf"),    // U+0800, U+D7FF
           std::string_view("\xee\x80\x80\xef\xbf\xbf"),    // U+E000, U+FFFF
           std::string_view("\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"),  // U+10000, U+10FFFF
           std::string_view("テスト😀"),
       }) {
    EXPECT_TRUE(is_valid_utf8(text)) << testing::PrintToString(text);
    EXPECT_TRUE(decode_utf8(text).has_value()) << testing::PrintToString(text);
    EXPECT_EQ(valid_utf8_length(text), text.size()) << testing::PrintToString(text);
  }
}

TEST(Utf8, RejectsMalformedSequences) {
  for (const std::string_view text : {
           std::string_view("\x80"),                  // continuation without a lead
           std::string_view("\xc0\x80"),              // overlong NUL
           std::string_view("\xc1\xbf"),              // overlong U+007F
           std::string_view("\xe0\x9f\xbf"),          // overlong U+07FF
           std::string_view("\xf0\x8f\xbf\xbf"),      // overlong U+FFFF
           std::string_view("\xed\xa0\x80"),          // surrogate U+D800
           std::string_view("\xed\xbf\xbf"),          // surrogate U+DFFF
           std::string_view("\xf4\x90\x80\x80"),      // U+110000
           std::string_view("\xf5\x80\x80\x80"),      // lead beyond F4
           std::string_view("\xff"),
           std::string_view("\xe3\x83"),              // cut off at the end
           std::string_view("\xf0\x9f\x98"),          // cut off at the end
           std::string_view("\xe3\x83\x41"),          // ASCII where a continuation belongs
           std::string_view("ok\xc3"),
       }) {
    EXPECT_FALSE(is_valid_utf8(text)) << testing::PrintToString(text);
    std::size_t bad = text.size();
    EXPECT_FALSE(decode_utf8(text, &bad).has_value()) << testing::PrintToString(text);
    EXPECT_FALSE(utf16_from_utf8(text).has_value()) << testing::PrintToString(text);
    // Where the bad sequence starts, as decoding finds it, without decoding.
    EXPECT_EQ(valid_utf8_length(text), bad) << testing::PrintToString(text);
  }
}

TEST(Utf8, ConvertsToAndFromUtf16) {
  const std::u16string text = u"テスト😀é\r\n";
  const std::string utf8 = utf8_from_utf16(text);
  EXPECT_EQ(utf8, "テスト😀é\r\n");
  EXPECT_EQ(utf16_from_utf8(utf8), text);
  // A lone surrogate cannot be written as UTF-8: it becomes U+FFFD.
  EXPECT_EQ(utf8_from_utf16(std::u16string{u'a', char16_t{0xD800}, u'b'}), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(utf16_length(*decode_utf8("a😀")), 3u);
  EXPECT_TRUE(is_valid_utf16(text));
  for (const std::u16string& broken : {std::u16string{char16_t{0xD83D}}, std::u16string{u'a', char16_t{0xDE00}},
                                       std::u16string{char16_t{0xD83D}, u'a'}}) {
    EXPECT_FALSE(is_valid_utf16(broken));
  }
}

}  // namespace
}  // namespace quiren::block
