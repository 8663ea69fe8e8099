#include "tools/quiren/notice_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tools/quiren/linked_cipher.h"

namespace quiren::tool {
namespace {

using cipher::NoticeText;

TEST(NoticeLine, ReadableOnAUtf8Terminal) {
  struct Case {
    std::string caption, text;
    NoticeText encoding;
    std::string line;
  };
  const Case cases[] = {
      {"quiren.dll", "暗号文が異常です", NoticeText::utf8, "quiren.dll: 暗号文が異常です"},
      {"Error", ",", NoticeText::ansi, "Error: character outside the armour alphabet: ','"},
      {"Error", " ", NoticeText::ansi, "Error: character outside the armour alphabet: ' '"},
      {"Error", "\r", NoticeText::ansi, "Error: character outside the armour alphabet: byte 0x0D"},
      {"Error", "\x7F", NoticeText::ansi, "Error: character outside the armour alphabet: byte 0x7F"},
      // A lead byte of code page 932, or a 1252 letter: not a character alone.
      {"Error", "\x82", NoticeText::ansi, "Error: character outside the armour alphabet: byte 0x82"},
      {"Error", std::string(1, '\0'), NoticeText::ansi, "Error: character outside the armour alphabet: byte 0x00"},
      // Nothing the library sends today, but still one line and no raw bytes.
      {"Other", "a\x82\n", NoticeText::ansi, "Other: 'a\\x82\\x0A'"},
      {"caption", "two\nlines", NoticeText::utf8, "caption: two\\x0Alines"},
      {"caption", "\xE6\x9A\x97\xE5", NoticeText::utf8, "caption: \\xE6\\x9A\\x97\\xE5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(notice_line(c.caption, c.text, c.encoding), c.line);
  }
}

// The library's damaged-armour notices, through the sink the tool installs.
class NoticesFromTheLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    send_notices_to([this](std::string_view line) { printed << line << "\n"; });
  }
  void TearDown() override { cipher::set_notice_sink({}); }

  std::string printed_by_decrypting(std::string_view body) {
    printed.str({});
    (void)cipher.decrypt(body, "pw", "A");
    return printed.str();
  }

  std::ostringstream printed;
  LinkedCipher cipher;
};

TEST_F(NoticesFromTheLibrary, EachNoticeIsOneReadableLine) {
  EXPECT_EQ(printed_by_decrypting("GGGGGGG"), "quiren: quiren.dll: 暗号文が異常です\n");
  EXPECT_EQ(printed_by_decrypting("GG,GG"), "quiren: Error: character outside the armour alphabet: ','\n");
  EXPECT_EQ(printed_by_decrypting("GGGG\r\nGGGG"),
            "quiren: Error: character outside the armour alphabet: byte 0x0D\n"
            "quiren: Error: character outside the armour alphabet: byte 0x0A\n");
}

}  // namespace
}  // namespace quiren::tool
