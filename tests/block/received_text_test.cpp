#include "block/received_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/line_breaks.h"
#include "block/received_characters.h"
#include "tests/support/received_forms.h"
#include "vectors/repair_cases.h"

namespace quiren::block {
namespace {

using testing::printable;
using testing::ReceivedForm;

bool same_item(const BlockItem& a, const BlockItem& b) {
  return a.problem == b.problem && a.kind == b.kind && a.fields.check_mode == b.fields.check_mode &&
         a.fields.check_field == b.fields.check_field && a.fields.text_mode == b.fields.text_mode &&
         a.fields.text_field == b.fields.text_field && a.envelope == b.envelope;
}

// What any reader of any block kind takes from the first block of `text`:
// the characters on the lines between the markers, provided a line break
// follows the start marker and comes before the end marker (spaces aside).
// Empty when they do not.
std::u16string body_of_first_block(std::u16string_view received) {
  const std::u16string text = without_spaces(received);
  std::size_t start = text.find(kStartMarker);
  std::size_t end = text.find(kEndMarker, start);
  if (start == std::u16string::npos || end == std::u16string::npos) return {};
  std::size_t first = start + kStartMarker.size();
  if (text.substr(first, 2) != kLineBreak || text.substr(end - 2, 2) != kLineBreak) return {};
  std::u16string body;
  for (char16_t c : std::u16string_view(text).substr(first + 2, end - 2 - (first + 2)))
    if (c != u'\r' && c != u'\n') body += c;
  return body;
}

// Every form of the shared table that reads: after the repair the reader
// finds its blocks, in order, exactly as it finds them in the blocks as
// written, and a block as written comes back unchanged.
TEST(ReceivedText, EveryFormReadsAsItsBlocks) {
  for (const ReceivedForm* form : testing::readable_forms(testing::vectors::BlockFormat::compatible, true)) {
    SCOPED_TRACE(form->name);
    std::vector<BlockItem> expected;
    for (std::size_t i = 0; i < form->sources.size(); ++i) {
      std::vector<BlockItem> items = read_blocks(testing::source_of(*form, i).block);
      ASSERT_EQ(items.size(), 1u);
      ASSERT_EQ(items[0].problem, std::nullopt);
      expected.push_back(std::move(items[0]));
    }
    const std::u16string repaired = repair_received_text(form->received);
    SCOPED_TRACE(printable(repaired));
    const std::vector<BlockItem> items = read_blocks(repaired);
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_TRUE(same_item(items[i], expected[i])) << i;
    if (form->sources.size() == 1) {
      EXPECT_EQ(body_of_first_block(repaired), body_of_first_block(testing::source_of(*form).block));
    }
    if (form->untouched) {
      EXPECT_EQ(repaired, form->received);
    }
    EXPECT_EQ(repair_received_text(repaired), repaired) << "a second repair changes nothing";
  }
}

// A damaged form stays damaged: the repair makes no block readable that
// was not written so.
TEST(ReceivedText, DamagedFormsStayUnreadable) {
  for (const ReceivedForm& form : testing::vectors::kReceivedForms) {
    if (form.expect != testing::vectors::Expect::damaged) continue;
    SCOPED_TRACE(form.name);
    const std::vector<BlockItem> items = read_blocks(repair_received_text(form.received));
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front().problem, Outcome::damaged);
  }
}

// The shared repair cases (tests/vectors/repair-cases.json), which the
// reader page's repair is held to as well.
TEST(ReceivedText, BlocksComeBackInTheWritersForm) {
  for (const testing::vectors::RewrittenCase& c : testing::vectors::kRewrittenCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(printable(repair_received_text(c.received)), printable(c.repaired));
  }
}

// What the reader reads today, and what it never reads, stays as it is.
TEST(ReceivedText, LeftAsItStands) {
  for (const testing::vectors::UntouchedCase& c : testing::vectors::kUntouchedCases) {
    SCOPED_TRACE(c.why);
    SCOPED_TRACE(printable(c.received));
    EXPECT_EQ(printable(repair_received_text(c.received)), printable(c.received));
  }
}

// Linear in the text: neither searches over the rest of the text for each
// marker nor copies of it per block.
TEST(ReceivedText, LargeTexts) {
  const std::size_t four_mb = 4u << 20;
  const std::u16string_view start = kStartMarker;
  const std::u16string_view end = kEndMarker;
  const std::size_t count = four_mb / (start.size() + 4) + 1;

  std::u16string markers_only;
  for (std::size_t i = 0; i < count; ++i) markers_only.append(u"> ").append(start).append(u"\r\n");
  ASSERT_GE(markers_only.size(), four_mb);
  EXPECT_EQ(repair_received_text(markers_only), markers_only) << "no end marker: no block";

  // One block whose body is every further start marker.
  std::u16string quoted = markers_only + u"> " + std::u16string(end);
  std::u16string unquoted;
  for (std::size_t i = 0; i < count; ++i) unquoted.append(start).append(u"\r\n");
  unquoted += end;
  EXPECT_TRUE(repair_received_text(quoted) == unquoted);

  // The same on one line.
  std::u16string one_line;
  for (std::size_t i = 0; i < count; ++i) one_line.append(start).append(u" ");
  one_line += end;
  std::u16string one_line_repaired = std::u16string(start) + u"\r\n";
  for (std::size_t i = 1; i < count; ++i) one_line_repaired += start;
  one_line_repaired.append(u"\r\n").append(end);
  EXPECT_TRUE(repair_received_text(one_line) == one_line_repaired);

  // 200,000 quoted blocks, each read.
  const std::u16string block = u"(quiren_start)\r\nAGg2Qs>AAl~Ou\r\nWc@Kv\r\n(quiren_end)";
  const std::u16string quoted_block = u"> (quiren_start)\r\n> AGg2Qs>AAl~Ou\r\n> Wc@Kv\r\n> (quiren_end)";
  std::u16string many;
  std::u16string many_repaired;
  for (int i = 0; i < 200'000; ++i) {
    many.append(quoted_block).append(u"\r\n> \r\n");
    many_repaired.append(block).append(u"\r\n> \r\n");
  }
  std::u16string repaired = repair_received_text(many);
  EXPECT_TRUE(repaired == many_repaired);
  EXPECT_EQ(read_blocks(repaired.substr(0, 10 * many_repaired.size() / 200'000)).size(), 10u);
}

TEST(ReceivedText, LineBreaksBecomeCrLf) {
  EXPECT_EQ(crlf_line_breaks(u"a\nb\rc\r\nd\n\ne\r\r"), u"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n");
  EXPECT_EQ(crlf_line_breaks(u"\r\n\r\n"), u"\r\n\r\n");
}

TEST(ReceivedText, Characters) {
  for (char16_t c : {u' ', u'\t', u'\u00A0', u'\u3000'}) EXPECT_TRUE(is_blank(c)) << int(c);
  for (char16_t c : {u'>', u'|', u'\r', u'\n', u'A', u'\u2003', u'_', u'\u200B'}) EXPECT_FALSE(is_blank(c)) << int(c);
  for (char16_t c : {u'\u200B', u'\u200C', u'\u200D', u'\u2060', u'\uFEFF', u'\u00AD'})
    EXPECT_TRUE(is_invisible_insertion(c)) << int(c);
  for (char16_t c : {u'\u200E', u'\u2061', u'\u00A0', u'\u3000', u' ', u'\u200A'})
    EXPECT_FALSE(is_invisible_insertion(c)) << int(c);
  EXPECT_EQ(ascii_form(u'\uFF01'), u'!');
  EXPECT_EQ(ascii_form(u'\uFF5E'), u'~');
  EXPECT_EQ(ascii_form(u'\uFF21'), u'A');
  EXPECT_EQ(ascii_form(u'\u3000'), u' ');
  for (char16_t c : {u'\uFF00', u'\uFF5F', u'\uFF65', u'\u301C', u'a', u'\uFFE5'}) EXPECT_EQ(ascii_form(c), c) << int(c);
  EXPECT_EQ(straight_quote(u'\u2018'), u'\'');
  EXPECT_EQ(straight_quote(u'\u2019'), u'\'');
  EXPECT_EQ(straight_quote(u'\u201C'), u'"');
  EXPECT_EQ(straight_quote(u'\u201D'), u'"');
  for (char16_t c : {u'\u201A', u'\u201E', u'\u2032', u'\''}) EXPECT_EQ(straight_quote(c), c) << int(c);
}

// A text whose start marker a program changed is a block to decrypt, not a
// text to encrypt; a marker broken by a blank is no marker, as for the
// reader.
TEST(ReceivedText, StartMarkers) {
  for (std::u16string_view text : {u"(quiren_start)", u"x （ｑｕｉｒｅｎ＿ｓｔａｒｔ） y", u"(quiren\u200B_start)",
                                   u"\uFEFF（quiren_ｓtart)"}) {
    EXPECT_TRUE(holds_start_marker(text)) << printable(text);
  }
  for (std::u16string_view text : {u"(quiren _start)", u"（ｑｕｉｒｅｎ\u3000＿ｓｔａｒｔ）", u"(quiren_end)", u"quiren_start"}) {
    EXPECT_FALSE(holds_start_marker(text)) << printable(text);
  }
}

}  // namespace
}  // namespace quiren::block
