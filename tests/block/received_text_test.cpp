#include "block/received_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/line_breaks.h"
#include "tests/support/received_forms.h"

namespace quiren::block {
namespace {

using testing::received_forms;
using testing::received_pairs;

// Blocks are ASCII around a few blanks: print them readably on failure.
std::string printable(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    if (c == u'\r') out += "\\r";
    else if (c == u'\n') out += "\\n";
    else if (c == u'\t') out += "\\t";
    else if (c == u'\u00A0') out += "<NBSP>";
    else if (c == u'\u3000') out += "<IDSP>";
    else out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return out;
}

// `n` armour characters, starting `offset` into the armour alphabet.
std::u16string armour(std::size_t n, std::size_t offset = 0) {
  const std::u16string_view alphabet =
      u"Gg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k'a4PtVh!Bq1m&ULd)F8\"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_Nw";
  std::u16string out;
  for (std::size_t i = 0; i < n; ++i) out += alphabet[(offset + i) % alphabet.size()];
  return out;
}

bool same_fields(const BlockFields& a, const BlockFields& b) {
  return a.check_mode == b.check_mode && a.check_field == b.check_field && a.text_mode == b.text_mode &&
         a.text_field == b.text_field;
}

// What any reader of any block kind takes from the first block of `text`:
// the characters on the lines between the markers, provided the markers
// stand on lines of their own (spaces aside). Empty when they do not.
std::u16string body_of_first_block(std::u16string_view received) {
  const std::u16string text = without_spaces(received);
  std::size_t start = text.find(kStartMarker);
  std::size_t end = text.find(kEndMarker, start);
  if (start == std::u16string::npos || end == std::u16string::npos) return {};
  std::size_t first = start + kStartMarker.size();
  if (text.substr(first, 2) != kLineBreak || text.substr(end - 2, 2) != kLineBreak) return {};
  if (start > 0 && text[start - 1] != u'\n') return {};
  std::u16string body;
  for (char16_t c : std::u16string_view(text).substr(first + 2, end - 2 - (first + 2)))
    if (c != u'\r' && c != u'\n') body += c;
  return body;
}

struct SentBlock {
  const char* name;
  std::u16string block;
};

// Blocks whose lines begin with the characters a quote is made of: the
// separator ">" (a 9-character check field at width 10) and the armour
// character "|"; a long one that re-wrapping changes; and a block of the
// kind whose check mode letter is "C" and whose body holds no ">".
std::vector<SentBlock> sent_blocks() {
  std::u16string bar_line = armour(8, 3) + u"|" + armour(30, 7);
  return {
      {"long, width 60", frame_compatible_block({armour(25), u'A'}, {armour(160, 11), u'A'}, 60)},
      {"lines begin with > and |, width 10", frame_compatible_block({armour(9, 5), u'B'}, {bar_line, u'B'}, 10)},
      {"C block without separator", u"(quiren_start)\r\nC" + armour(59, 2) + u"\r\n" + armour(60, 9) + u"\r\n" +
                                        armour(17, 40) + u"\r\n(quiren_end)"},
  };
}

TEST(ReceivedText, EveryFormReadsAsSent) {
  for (const SentBlock& sent : sent_blocks()) {
    SCOPED_TRACE(sent.name);
    const std::vector<BlockItem> expected = read_blocks(sent.block);
    ASSERT_EQ(expected.size(), 1u);
    const std::u16string sent_body = body_of_first_block(sent.block);
    ASSERT_FALSE(sent_body.empty());
    for (const testing::ReceivedForm& form : received_forms(sent.block)) {
      SCOPED_TRACE(form.name);
      const std::u16string repaired = repair_received_text(form.text);
      SCOPED_TRACE(printable(repaired));
      EXPECT_EQ(body_of_first_block(repaired), sent_body);
      EXPECT_TRUE(has_block(repaired));
      std::vector<BlockItem> items = read_blocks(repaired);
      ASSERT_EQ(items.size(), 1u);
      EXPECT_EQ(items[0].problem, expected[0].problem);
      EXPECT_TRUE(same_fields(items[0].fields, expected[0].fields));
    }
    EXPECT_EQ(repair_received_text(sent.block), sent.block);
  }
}

TEST(ReceivedText, TwoBlocksOneQuoted) {
  const std::u16string first = frame_compatible_block({armour(20), u'A'}, {armour(90, 4), u'A'}, 30);
  const std::u16string second = frame_compatible_block({armour(20, 50), u'B'}, {armour(40, 8), u'B'}, 60);
  for (const testing::ReceivedForm& form : received_pairs(first, second)) {
    SCOPED_TRACE(form.name);
    std::vector<BlockItem> items = read_blocks(repair_received_text(form.text));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(same_fields(items[0].fields, read_blocks(first)[0].fields));
    EXPECT_TRUE(same_fields(items[1].fields, read_blocks(second)[0].fields));
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
      {"mode letter C, no separator", u"> (quiren_start)\n> CGg2Qs#3\n> Al~\n> (quiren_end)",
       u"(quiren_start)\r\nCGg2Qs#3\r\nAl~\r\n(quiren_end)"},
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

TEST(ReceivedText, Blanks) {
  for (char16_t c : {u' ', u'\t', u'\u00A0', u'\u3000'}) EXPECT_TRUE(is_blank(c)) << int(c);
  for (char16_t c : {u'>', u'|', u'\r', u'\n', u'A', u'\u2003', u'_'}) EXPECT_FALSE(is_blank(c)) << int(c);
}

}  // namespace
}  // namespace quiren::block
