#include "block/armoured_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block/ascii.h"

namespace quiren::block {
namespace {

// Blocks are ASCII: narrow to std::string so failures print readably.
std::string narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}
std::u16string widen(std::string_view s) { return widen_bytes(s); }

std::vector<std::string> lines_of(const std::string& block) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  for (;;) {
    std::size_t end = block.find("\r\n", pos);
    lines.push_back(block.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    if (end == std::string::npos) return lines;
    pos = end + 2;
  }
}

// One item as "A|check|B|text", or "!mode" / "!settings" / "!sep" for a problem.
std::string describe(const BlockItem& item) {
  if (item.problem == Outcome::later_format) return "!mode";
  if (item.problem == Outcome::refused_settings) return "!settings";
  if (item.problem) return "!sep";
  if (item.kind == BlockKind::strong) return "C|" + std::to_string(item.envelope.size()) + " bytes";
  const BlockFields& f = item.fields;
  std::string out;
  out += static_cast<char>(f.check_mode);
  out.append("|").append(narrow(f.check_field)).append("|");
  if (f.text_mode != u'\0') out += static_cast<char>(f.text_mode);
  out.append("|").append(narrow(f.text_field));
  return out;
}

std::vector<std::string> read(std::string_view text) {
  std::vector<std::string> out;
  for (const BlockItem& item : read_blocks(widen(text))) out.push_back(describe(item));
  return out;
}

const std::string kExample = "(quiren_start)\r\nAGg2Qs>A#3\r\nAl~OuWcK\r\n(quiren_end)";
const std::string kExampleFields = "A|Gg2Qs|A|#3Al~OuWcK";

TEST(WriteBlock, WorkedExample) {
  std::u16string block = frame_compatible_block({u"Gg2Qs", u'A'}, {u"#3Al~OuWcK", u'A'}, 10);
  EXPECT_EQ(narrow(block), kExample);
  EXPECT_EQ(read(narrow(block)), std::vector<std::string>{kExampleFields});
}

TEST(WriteBlock, SplitResultTakesTheLastCharacterAsModeLetter) {
  LibraryResult r = split_result(u"Gg2QsB");
  EXPECT_EQ(r.field, u"Gg2Qs");
  EXPECT_EQ(r.mode, u'B');
  LibraryResult only_mode = split_result(u"A");
  EXPECT_EQ(only_mode.field, u"");
  EXPECT_EQ(only_mode.mode, u'A');
  EXPECT_EQ(split_result(u"").mode, u'\0');
}

// The payload is check field + ">" + text mode letter + text field; with a
// 5-character check field it is 7 + text field characters long.
TEST(WriteBlock, WrapEdges) {
  struct Case {
    int width;
    std::size_t payload;
    std::vector<std::size_t> body_lines;
  };
  const Case cases[] = {
      {10, 9, {10}},       {10, 10, {10, 1}},       {10, 19, {10, 10}},
      {10, 20, {10, 10, 1}}, {60, 59, {60}},        {60, 60, {60, 1}},
      {60, 119, {60, 60}}, {100, 199, {100, 100}}, {10, 7, {8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.width) + " payload " + std::to_string(c.payload));
    std::u16string text_field(c.payload - 7, u'G');
    std::u16string block = frame_compatible_block({u"Gg2Qs", u'A'}, {text_field, u'B'}, c.width);
    std::vector<std::string> lines = lines_of(narrow(block));
    ASSERT_EQ(lines.size(), c.body_lines.size() + 2);
    EXPECT_EQ(lines.front(), "(quiren_start)");
    EXPECT_EQ(lines.back(), "(quiren_end)");
    for (std::size_t i = 0; i < c.body_lines.size(); ++i) EXPECT_EQ(lines[i + 1].size(), c.body_lines[i]);
    // Read back whole; a field of broken armour groups only as damaged.
    const std::string expected = text_field.size() % 5 == 0 ? "A|Gg2Qs|B|" + narrow(text_field) : "!sep";
    EXPECT_EQ(read(narrow(block)), std::vector<std::string>{expected});
  }
}

TEST(WriteBlock, WidthIsKeptInRange) {
  std::u16string field(300, u'G');
  for (int width : {-5, 0, 9, 101, 1000}) {
    SCOPED_TRACE(width);
    int expected = width < 10 ? 10 : 100;
    std::vector<std::string> lines = lines_of(narrow(frame_compatible_block({u"Gg2Qs", u'A'}, {field, u'A'}, width)));
    EXPECT_EQ(lines[1].size(), static_cast<std::size_t>(expected));
  }
}

struct ReadCase {
  const char* name;
  std::string text;
  std::vector<std::string> items;
};

TEST(ReadBlocks, Cases) {
  const std::string second = "(quiren_start)\r\nBGGGGG>Bg2Qs#\r\n(quiren_end)";
  const ReadCase cases[] = {
      {"text before and after", "Hi,\r\nsee below\r\n" + kExample + "\r\nbye", {kExampleFields}},
      {"text on the marker lines", "see: " + kExample + " thanks", {kExampleFields}},
      {"spaces in the body and at line ends",
       "(quiren_start) \r\n A Gg2Qs>A #3 \r\n  Al~OuWcK\r\n(quiren_end)", {kExampleFields}},
      {"space inside the start marker", "(quiren _start)\r\nAGg2Qs>A#3\r\n(quiren_end)", {}},
      {"space inside the end marker", "(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_ end)", {}},
      {"lower-case markers", "(QUIREN_START)\r\nAGg2Qs>A#3\r\n(QUIREN_END)", {}},
      {"start marker without end marker", "(quiren_start)\r\nAGg2Qs>A#3\r\n", {}},
      {"end marker only before the start", "(quiren_end)(quiren_start)\r\nAGg2Qs>A#3\r\n", {}},
      {"bare LF, payload letter unknown", "(quiren_start)\nAGg2Qs>A#3\nAl~OuWcK\n(quiren_end)", {"!mode"}},
      {"bare LF, payload letter happens to be B",
       "(quiren_start)\nABg2Qs>A#3\nAl~OuWcK\n(quiren_end)", {"!sep"}},
      {"bare CR", "(quiren_start)\rAGg2Qs>A#3\r(quiren_end)", {"!mode"}},
      {"quote prefix", "> (quiren_start)\r\n> AGg2Qs>A#3\r\n> (quiren_end)", {"!mode"}},
      {"unknown check mode letter", "(quiren_start)\r\nZGg2Qs>A#3\r\n(quiren_end)", {"!mode"}},
      {"lower-case check mode letter", "(quiren_start)\r\naGg2Qs>A#3\r\n(quiren_end)", {"!mode"}},
      {"payload without separator", "(quiren_start)\r\nAGg2QsA#3\r\n(quiren_end)", {"!sep"}},
      {"separator at the payload's end", "(quiren_start)\r\nAGg2Qs>\r\n(quiren_end)", {"A|Gg2Qs||"}},
      {"a second separator is not armour", "(quiren_start)\r\nAGg2Qs>A#>3Al\r\n(quiren_end)", {"!sep"}},
      {"end marker not at a line start drops the rest",
       "(quiren_start)\r\nAGg2Qs>A#3Al~\r\nOu(quiren_end)", {"A|Gg2Qs|A|#3Al~"}},
      {"check field not whole armour groups", "(quiren_start)\r\nAGg2Q>A#3Al~\r\n(quiren_end)", {"!sep"}},
      {"text field not whole armour groups", "(quiren_start)\r\nAGg2Qs>A#3\r\n(quiren_end)", {"!sep"}},
      {"a character outside the armour", "(quiren_start)\r\nAGg2Qs>A#3A,~\r\n(quiren_end)", {"!sep"}},
      {"a second block whose field is not armour",
       kExample + "\r\n(quiren_start)\r\nAGg2Qs>A#3Al~OuWc}\r\n(quiren_end)", {kExampleFields, "!sep"}},
      {"two blocks", kExample + "\r\n\r\n" + second, {kExampleFields, "B|GGGGG|B|g2Qs#"}},
      {"second block with a bad mode letter",
       kExample + "\r\n(quiren_start)\r\nZGGGGG>A\r\n(quiren_end)\r\n" + second, {kExampleFields, "!mode"}},
      {"second block without separator", kExample + second.substr(0, 16) + "BGGGGG\r\n(quiren_end)" + second,
       {kExampleFields, "!sep"}},
      {"stray end marker after the last block", kExample + "\r\n(quiren_end)", {kExampleFields}},
      {"stray end marker before a further block", kExample + "\r\n(quiren_end)\r\n" + second, {kExampleFields}},
      {"first bad block stops the reading", "(quiren_start)\r\nxGGGGG>A\r\n(quiren_end)" + kExample, {"!mode"}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(read(c.text), c.items);
    // The reader yields something exactly when the first search finds a block.
    EXPECT_EQ(has_block(widen(c.text)), !c.items.empty());
  }
}

TEST(ReadBlocks, JoinlinesTakesOnlyLinesEndedByCrLf) {
  EXPECT_EQ(joined_lines(u"(quiren_start)\r\nab\r\ncd\r\nef"), u"abcd");
  EXPECT_EQ(joined_lines(u"(quiren_start)\r\nab\ncd\r\n"), u"ab\ncd");
  EXPECT_EQ(joined_lines(u"(quiren_start)\nab\ncd\n"), u"");
  EXPECT_EQ(without_spaces(u" a b\r\n c "), u"ab\r\nc");
}

TEST(ReadBlocks, NonAsciiTextAroundBlocksIsIgnored) {
  std::u16string text = u"こんにちは\r\n" + widen(kExample) + u"\r\nよろしく";
  std::vector<BlockItem> items = read_blocks(text);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(describe(items[0]), kExampleFields);
}

// Many blocks in one text read in time linear in its length: each block is
// read from its own stretch of the text, never by copying or erasing the
// rest (which took seconds for a few tens of thousands of blocks).
TEST(ReadBlocks, TwoHundredThousandBlocks) {
  constexpr std::size_t kBlocks = 200'000;
  const std::u16string one = u"(quiren_start)\r\nAGg2Qs>A#3Al~OuWcK\r\n(quiren_end)\r\n";
  std::u16string text;
  text.reserve(one.size() * kBlocks);
  for (std::size_t i = 0; i < kBlocks; ++i) text += one;
  const std::vector<BlockItem> items = read_blocks(text);
  ASSERT_EQ(items.size(), kBlocks);
  EXPECT_EQ(describe(items.front()), kExampleFields);
  EXPECT_EQ(describe(items.back()), kExampleFields);
}

}  // namespace
}  // namespace quiren::block
