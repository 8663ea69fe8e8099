#include "block/block_damage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/damage_message.h"
#include "block/received_text.h"
#include "tests/support/received_forms.h"

namespace quiren::block {
namespace {

using testing::printable;
namespace vectors = testing::vectors;

std::string describe(const std::optional<BlockDamage>& d) {
  if (!d) return "none";
  return std::to_string(static_cast<int>(d->kind)) + " line " + std::to_string(d->line) + " column " +
         std::to_string(d->column) + " U+" + std::to_string(static_cast<unsigned long>(d->character));
}

// Every damaged form of the shared table: the reader refuses it, and the
// damage is found where the table says, in the text as received.
TEST(BlockDamage, DamagedFormsSayWhere) {
  int forms = 0;
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    if (form.expect != vectors::Expect::damaged) continue;
    ++forms;
    SCOPED_TRACE(form.name);
    ASSERT_EQ(read_blocks(repair_received_text(form.received)).front().problem, Outcome::damaged);
    EXPECT_EQ(describe(find_block_damage(form.received, 0)), describe(testing::expected_damage(form)));
  }
  EXPECT_GT(forms, 0);
}

struct Case {
  const char* name;
  std::u16string_view received;
  std::size_t block;
  std::optional<BlockDamage> damage;
};


TEST(BlockDamage, Places) {
  const BlockDamage comma{DamageKind::foreign_character, 3, 4, U','};
  const Case cases[] = {
      {"a comma in the text field", u"(quiren_start)\r\nAGGGGG>A\r\nGGG,G\r\n(quiren_end)", 0, comma},
      {"lines ended by LF, then by CR", u"(quiren_start)\nAGGGGG>A\rGGG,G\n(quiren_end)", 0, comma},
      {"characters counted as the user sees them: an emoji is one",
       u"(quiren_start)\r\nAGGGGG>AGG😀😀\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 2, 11, U'\U0001F600'}},
      {"the quote prefix counts", u"Re:\r\n> > (quiren_start)\r\n> > AGGGGG>A\r\n> > GGG,G\r\n> > (quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 4, 8, U','}},
      {"a full-width character that is no armour's",
       u"（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\r\nＡＧＧＧＧＧ＞Ａ\r\nＧＧＧ，Ｇ\r\n（ｑｕｉｒｅｎ＿ｅｎｄ）", 0,
       BlockDamage{DamageKind::foreign_character, 3, 4, U'\uFF0C'}},
      {"a second separator", u"(quiren_start)\r\nAGGGGG>AGG>GGG\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 2, 11, U'>'}},
      {"half an emoji as the text mode letter", u"(quiren_start)\r\nAGGGGG>😀GGGGG\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 2, 8, U'\U0001F600'}},
      {"a curly quote in a strong block", u"(quiren_start)\r\nCAQEB\u2019AAA\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 2, 6, U'\u2019'}},
      {"a character of the compatible armour in a strong block", u"(quiren_start)\r\nCAQEB:AAA\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 2, 6, U':'}},
      {"key and recipient blocks hold base64 too", u"> (quiren_start)\r\n> DAQE\r\n> B:AAA\r\n> (quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 3, 4, U':'}},
      {"a key block's length", u"(quiren_start)\r\nKAQEBA\r\nAQEB\r\nAQEB\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::short_line, 3, 0, 0}},
      // Key and recipient envelopes may have any length: whole bytes are
      // whole, and a character changed in them is nothing to point at.
      {"a key envelope of 39 bytes", u"(quiren_start)\r\nKAQHDzuptw\r\no+JBYqzn4D\r\nhaoApF5qGs\r\nhzh5WnlOSu\r\n"
       u"vizUgSQAl6\r\ntiA\r\n(quiren_end)", 0, std::nullopt},
      {"a recipient envelope of 2 bytes", u"(quiren_start)\r\nDAQE\r\n(quiren_end)", 0, std::nullopt},
      {"a strong envelope of 2 bytes", u"(quiren_start)\r\nCAQE\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::uneven_length, 2, 0, 0}},
      {"the second block, after a readable one", u"(quiren_start)\r\nAGGGGG>AGGGGG\r\n(quiren_end)\r\n\r\n"
       u"> (quiren_start)\r\n> BGGGGG>B\r\n> G😀GGG\r\n> (quiren_end)", 1,
       BlockDamage{DamageKind::foreign_character, 7, 4, U'\U0001F600'}},
      {"after a block the reader does not see",
       u"見て（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\r\nＡＧ\r\n（ｑｕｉｒｅｎ＿ｅｎｄ）\r\n(quiren_start)\r\nAGGGGG>A,GGGG\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::foreign_character, 5, 9, U','}},
      {"a short line", u"(quiren_start)\r\nAGGGGGGGGG\r\n>AGGGGGGG\r\nGGGGGGGGGG\r\nGG\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::short_line, 3, 0, 0}},
      {"the first line short", u"(quiren_start)\r\nAGGGGGGGG\r\nGGGGGGGGGG\r\n>AGGGGGGGG\r\nGG\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::short_line, 2, 0, 0}},
      {"no line shorter: the last named", u"(quiren_start)\r\nAGGGGG>AGG\r\nGGGG\r\n(quiren_end)", 0,
       BlockDamage{DamageKind::uneven_length, 3, 0, 0}},
      // Nothing to point at.
      {"no separator, whole groups", u"(quiren_start)\r\nAGGGGG\r\n(quiren_end)", 0, std::nullopt},
      {"a strong envelope too short, whole bytes", u"(quiren_start)\r\nCAQEBAw\r\n(quiren_end)", 0, std::nullopt},
      {"no such block", u"(quiren_start)\r\nAGGGGG>AGG\r\n(quiren_end)", 1, std::nullopt},
      {"no block at all", u"text", 0, std::nullopt},
      {"other text after the start marker", u"(quiren_start) ←\r\nAGGGGG>A,\r\n(quiren_end)", 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(describe(find_block_damage(c.received, c.block)), describe(c.damage)) << printable(c.received);
  }
}

// A line taken out of a strong block: 60 characters are 45 bytes, so the
// envelope is no longer whole groups of 4, and every line left is as long
// as the others.
TEST(BlockDamage, ALineTakenOut) {
  std::vector<std::u16string> lines = testing::lines_of(testing::source_named("strong").block);
  ASSERT_GE(lines.size(), 6u);
  lines.erase(lines.begin() + 2);
  const std::u16string received = u"Re: see below\r\n\r\n" + testing::joined(lines, u"", u"\r\n");
  ASSERT_EQ(read_blocks(received).front().problem, Outcome::damaged);
  EXPECT_EQ(describe(find_block_damage(received, 0)),
            describe(BlockDamage{DamageKind::uneven_length, lines.size() + 1, 0, 0}));
}

TEST(BlockDamage, Messages) {
  const DamageTexts<char16_t> japanese{u"{line} 行目の {column} 文字目「{character}」(U+{code}) は暗号文に使われない文字です。",
                                       u"{line}:{column} (U+{code})", u"{line} short", u"{line} uneven"};
  EXPECT_EQ(describe_damage(BlockDamage{DamageKind::foreign_character, 3, 17, U'\U0001F600'}, japanese),
            u"3 行目の 17 文字目「😀」(U+1F600) は暗号文に使われない文字です。");
  EXPECT_EQ(describe_damage(BlockDamage{DamageKind::foreign_character, 12, 1, U','}, japanese),
            u"12 行目の 1 文字目「,」(U+002C) は暗号文に使われない文字です。");
  EXPECT_EQ(describe_damage(BlockDamage{DamageKind::foreign_character, 2, 5, U'\u200E'}, japanese), u"2:5 (U+200E)");
  EXPECT_EQ(describe_damage(BlockDamage{DamageKind::short_line, 4, 0, 0}, japanese), u"4 short");
  EXPECT_EQ(describe_damage(BlockDamage{DamageKind::uneven_length, 9, 0, 0}, japanese), u"9 uneven");

  const DamageTexts<char> english{"line {line}, character {column}: \"{character}\" (U+{code})", "invisible U+{code}",
                                  "{line}", "{line}"};
  EXPECT_EQ(describe_damage(BlockDamage{DamageKind::foreign_character, 3, 17, U'\U0001F600'}, english),
            "line 3, character 17: \"\xF0\x9F\x98\x80\" (U+1F600)");
  EXPECT_EQ(describe_damage(BlockDamage{DamageKind::foreign_character, 1, 1, U'\u3000'}, english), "invisible U+3000");
}

TEST(BlockDamage, VisibleCharacters) {
  for (char32_t c : {U'A', U',', U'😀', U'日', U'\uFF0C', U'\u2019', U'\u00E9'}) EXPECT_TRUE(is_visible_character(c)) << static_cast<long>(c);
  for (char32_t c : {U' ', U'\t', U'\u0007', U'\u00A0', U'\u00AD', U'\u200B', U'\u200E', U'\u202E', U'\u2060', U'\u3000',
                     U'\uFEFF', char32_t{0xD800}, U'\U000E0041', char32_t{0x110000}}) {
    EXPECT_FALSE(is_visible_character(c)) << static_cast<long>(c);
  }
}

}  // namespace
}  // namespace quiren::block
