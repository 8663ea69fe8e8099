#include "block/received_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/line_breaks.h"
#include "block/received_characters.h"
#include "tests/support/received_forms.h"

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
      ASSERT_EQ(items[0].problem, BlockProblem::none);
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
    EXPECT_EQ(items.front().problem, BlockProblem::unreadable);
  }
}

struct Case {
  const char* name;
  std::u16string_view in;
  std::u16string_view out;
};

TEST(ReceivedText, BlocksComeBackInTheWritersForm) {
  const Case cases[] = {
      {"one level", u"hi\r\n> (quiren_start)\r\n> AGg2Qs>A#3\r\n> (quiren_end)\r\n> bye",
       u"hi\r\n(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)\r\n> bye"},
      {"body line starting with the separator", u"> (quiren_start)\r\n> AGGGG\r\n> >A#3\r\n> (quiren_end)",
       u"(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)"},
      {"separator right after an unspaced prefix", u">(quiren_start)\r\n>AGGGG\r\n>>A#3\r\n>(quiren_end)",
       u"(quiren_start)\r\nAGGGG\r\n>A#3\r\n(quiren_end)"},
      {"two levels, spacing differs", u">> (quiren_start)\r\n> > AGg\r\n>>(quiren_end)",
       u"(quiren_start)\r\nAGg\r\n(quiren_end)"},
      {"bar prefix keeps a bar of the body", u"| (quiren_start)\r\n| AGg\r\n| |>A\r\n| (quiren_end)",
       u"(quiren_start)\r\nAGg\r\n|>A\r\n(quiren_end)"},
      {"each block its own prefix",
       u"> (quiren_start)\r\n> AG\r\n> (quiren_end)\r\n| (quiren_start)\r\n| BG\r\n| (quiren_end)",
       u"(quiren_start)\r\nAG\r\n(quiren_end)\r\n(quiren_start)\r\nBG\r\n(quiren_end)"},
      {"a line without the quote keeps its characters", u"> (quiren_start)\r\n> AG\r\ng2>\r\n> (quiren_end)",
       u"(quiren_start)\r\nAG\r\ng2>\r\n(quiren_end)"},
      {"line breaks of the block only", u"a\nb\n(quiren_start)\nAG>A\r(quiren_end)\nc\rd",
       u"a\nb\n(quiren_start)\r\nAG>A\r\n(quiren_end)\nc\rd"},
      {"blanks, and the lines they leave empty",
       u"\t(quiren_start)\u3000\r\n\r\n\tA G\u00A0g\t>\r\n\t\u3000\r\n\t(quiren_end)",
       u"(quiren_start)\r\nAGg>\r\n(quiren_end)"},
      {"tab inside a body line the reader read", u"(quiren_start)\r\nAGg\t2>A\r\n(quiren_end)",
       u"(quiren_start)\r\nAGg2>A\r\n(quiren_end)"},
      {"whole block on one line", u"(quiren_start) AGg2Qs>A#3 Al~ (quiren_end) thanks",
       u"(quiren_start)\r\nAGg2Qs>A#3Al~\r\n(quiren_end) thanks"},
      {"one line, quoted", u"> > (quiren_start) AGg2Qs>A#3 (quiren_end)",
       u"(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)"},
      {"first and last body lines run into the markers",
       u"> (quiren_start) AGg2\n> Qs>A#3 (quiren_end)", u"(quiren_start)\r\nAGg2\r\nQs>A#3\r\n(quiren_end)"},
      {"a block after one on the same line", u"(quiren_start) AG>A (quiren_end) (quiren_start) BG>B (quiren_end)",
       u"(quiren_start)\r\nAG>A\r\n(quiren_end)(quiren_start)\r\nBG>B\r\n(quiren_end)"},
      {"start marker broken by a space, as the reader sees it",
       u"> (quiren _start)\r\n> AG>A\r\n> (quiren_end)\r\n> (quiren_start)\r\n> BG>B\r\n> (quiren_end)",
       u"(quiren _start)\r\nAG>A\r\n(quiren_end)\r\n(quiren_start)\r\nBG>B\r\n(quiren_end)"},
      {"other text before the end marker stays there", u"> (quiren_start)\r\n> AG>A\r\n> 以上 (quiren_end)",
       u"(quiren_start)\r\nAG>A\r\n以上 (quiren_end)"},
      {"mode letter C, no separator", u"> (quiren_start)\n> CAQEB\n> Al~\n> (quiren_end)",
       u"(quiren_start)\r\nCAQEB\r\nAl~\r\n(quiren_end)"},
      // What chat and office programs put in.
      {"invisible characters in the markers and the body",
       u"(qui\u200Bren_start)\u2060\r\nAG\u00ADg2\u200CQs\u200D>\uFEFFA\r\n(quiren\u200B_end)",
       u"(quiren_start)\r\nAGg2Qs>A\r\n(quiren_end)"},
      {"a byte order mark before the start marker", u"\uFEFF(quiren_start)\r\nAG>A#\u200B3\r\n(quiren_end)",
       u"(quiren_start)\r\nAG>A#3\r\n(quiren_end)"},
      {"full-width markers and body, ideographic spaces",
       u"（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\u3000\r\nＡＧｇ２\u3000Ｑｓ＞Ａ＃３\r\n（ｑｕｉｒｅｎ＿ｅｎｄ）",
       u"(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)"},
      {"the last full-width character and the first", u"(quiren_start)\r\nA～！＂＇>A\r\n(quiren_end)",
       u"(quiren_start)\r\nA~!\"'>A\r\n(quiren_end)"},
      {"full-width quote prefix, as Japanese mail quotes",
       u"＞　（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\r\n＞　ＡＧｇ\r\n＞　＞Ａ＃３\r\n＞　（ｑｕｉｒｅｎ＿ｅｎｄ）",
       u"(quiren_start)\r\nAGg\r\n>A#3\r\n(quiren_end)"},
      {"curly quotes in a compatible body", u"(quiren_start)\r\nB\u2018Gg\u2019>A\u201CQ\u201D\r\n(quiren_end)",
       u"(quiren_start)\r\nB'Gg'>A\"Q\"\r\n(quiren_end)"},
      {"curly quotes stay in a strong body, where nothing reads them",
       u"(quiren_start)\r\nCAQ\u2019E\u00A0B\r\n(quiren_end)", u"(quiren_start)\r\nCAQ\u2019EB\r\n(quiren_end)"},
      {"a full-width text mode letter the reader would take as it is",
       u"(quiren_start)\r\nAGGGGG>ＢGGGGG\r\n(quiren_end)", u"(quiren_start)\r\nAGGGGG>BGGGGG\r\n(quiren_end)"},
      {"the whole full-width block on one line",
       u"（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\u3000ＡＧｇ２Ｑｓ＞Ａ\u3000＃３\u3000（ｑｕｉｒｅｎ＿ｅｎｄ）",
       u"(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(printable(repair_received_text(c.in)), printable(c.out));
  }
}

// What the reader reads today, and what it never reads, stays as it is.
TEST(ReceivedText, LeftAsItStands) {
  const std::u16string_view cases[] = {
      // read as they stand (odd ones too: the reader's result is kept; a
      // field it reads is whole armour groups)
      u"x\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)",
      u"see: (quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end) thanks",
      u"  (quiren_start) \r\n A Gg2Qs>A #3 \r\n  Al~OuWcK\r\n  (quiren_end)",
      u"(quiren_start)\r\nAGg2Qs>A#3Al~\r\nOu(quiren_end)",
      u"(quiren_start)\nxB\r\nGg2Qs>A#3Al~\r\n(quiren_end)",
      u"> (quiren_start) xyB\r\nGg2Qs>A#3Al~\r\n(quiren_end)",
      u"> (quiren_start)\r\nAGg2Qs\r\n> >A#3Al\r\n(quiren_end)",
      u"(quiren_start)\r\nAGg2Qs>A#3Al~\r\nOu\n(quiren_end)",
      // no start marker followed by an end marker
      u"> (quiren_start)\r\n> AG>A\r\n",
      u"> (quiren_end)\r\n> (quiren_start)\r\n> AG>A\r\n",
      u"> (quiren_ start)\n> AG>A\n> (quiren_end)",
      u"> (quiren_start)\n> AG>A\n> (quiren\u00A0_end)",
      // other text before the start marker on its line
      u"see (quiren_start)\r\n> AGg\r\n> (quiren_end)",
      u"> see (quiren_start)\n> AGg\n> (quiren_end)",
      u"Re: (quiren_start) AG>A (quiren_end)",
      // after the start marker on its line, something that is no body
      u"> (quiren_start) ← here\n> AG>A\n> (quiren_end)",
      // a broken end marker the blanks' removal would mend
      u"> (quiren_start)\n> AG>A(quiren_\tend)x\n> (quiren_end)",
      // after a stray end marker the reader reads nothing
      u"(quiren_start)\r\nAG>A\r\n(quiren_end)\r\n(quiren_end)\r\n> (quiren_start)\n> BG>B\n> (quiren_end)",
      // full-width and invisible characters outside the blocks
      u"ＡＢＣ\u200B“quoted”\r\n(quiren_start)\r\nAG>A\r\n(quiren_end)\r\n\u00ADＸ",
      // a blank inside a full-width marker hides it, as a space does
      u"（ｑｕｉｒｅｎ\u3000＿ｓｔａｒｔ）\r\nＡＧ＞Ａ\r\n（ｑｕｉｒｅｎ＿ｅｎｄ）",
      // other text before a full-width start marker on its line
      u"見てください（ｑｕｉｒｅｎ＿ｓｔａｒｔ）\r\nＡＧ＞Ａ\r\n（ｑｕｉｒｅｎ＿ｅｎｄ）",
      // full-width forms of characters that are no marker's
      u"［ｑｕｉｒｅｎ＿ｓｔａｒｔ］\r\nＡＧ＞Ａ\r\n（ｑｕｉｒｅｎ＿ｅｎｄ）",
  };
  for (std::u16string_view text : cases) {
    SCOPED_TRACE(printable(text));
    EXPECT_EQ(printable(repair_received_text(text)), printable(text));
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
