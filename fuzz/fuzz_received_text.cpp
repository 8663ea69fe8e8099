// The repair of received texts and the block reader. The first byte chooses
// what the rest is:
//   even: a received text, each byte below 0x80 as that ASCII character and
//     each other byte as one of a few others (blanks among them). It is
//     repaired and read, and two things must hold: has_block gives the same
//     answer before and after the repair, and the blocks the reader read
//     from the text as it stood (the leading ones without a problem and
//     without blanks or line breaks in their fields) read the same after it.
//   odd: the fields of a block (mode letters, wrap width, armour), written
//     and then received as written, with LF line breaks, quoted with "> "
//     (CR LF and LF) and run together on one line. The repair must give the
//     block back as written (on one line: its body on one line).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_rules.h"
#include "block/received_text.h"
#include "tests/support/received_forms.h"

namespace {

using namespace quiren::block;
using quiren::testing::joined;
using quiren::testing::lines_of;

constexpr std::u16string_view kArmour =
    u"Gg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k'a4PtVh!Bq1m&ULd)F8\"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_Nw";

void require(bool ok) {
  if (!ok) std::abort();
}

bool clean(std::u16string_view s) {
  for (char16_t c : s)
    if (is_blank(c) || c == u'\r' || c == u'\n') return false;
  return true;
}

bool read_cleanly(const BlockItem& item) {
  const BlockFields& f = item.fields;
  return item.problem == BlockProblem::none && clean(f.check_field) && clean(f.text_field) &&
         clean(std::u16string_view(&f.text_mode, 1));
}

bool same(const BlockItem& a, const BlockItem& b) {
  return a.problem == b.problem && a.kind == b.kind && a.fields.check_mode == b.fields.check_mode &&
         a.fields.check_field == b.fields.check_field && a.fields.text_mode == b.fields.text_mode &&
         a.fields.text_field == b.fields.text_field && a.envelope == b.envelope;
}

void received_text(const std::uint8_t* data, std::size_t size) {
  static constexpr char16_t kOthers[] = {u'\u00A0', u'\u3000', u'\t', u'\u65E5', u'\u00E9', u'\r', u'\n', u' '};
  std::u16string text;
  for (std::size_t i = 0; i < size; ++i) text += data[i] < 0x80 ? char16_t{data[i]} : kOthers[data[i] % 8];

  const std::u16string repaired = repair_received_text(text);
  require(has_block(repaired) == has_block(text));
  const std::vector<BlockItem> before = read_blocks(text);
  const std::vector<BlockItem> after = read_blocks(repaired);
  for (std::size_t i = 0; i < before.size() && read_cleanly(before[i]); ++i) {
    require(i < after.size() && same(before[i], after[i]));
  }
}

// A block of the kind whose check mode letter is "C": armour alone, no ">",
// wrapped as the writer wraps.
std::u16string body_only_block(std::u16string_view armour, int width) {
  const std::size_t w = static_cast<std::size_t>(width < kNarrowestWrap ? kNarrowestWrap
                                                 : width > kWidestWrap  ? kWidestWrap
                                                                        : width);
  std::u16string block(kStartMarker);
  block += kLineBreak;
  block += u'C';
  std::size_t taken = std::min(armour.size(), w - 1);
  block += armour.substr(0, taken);
  while (taken < armour.size()) {
    std::size_t n = std::min(armour.size() - taken, w);
    block += kLineBreak;
    block += armour.substr(taken, n);
    taken += n;
  }
  block += kLineBreak;
  block += kEndMarker;
  return block;
}

void round_trip(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return;
  const std::uint8_t mode = data[0] % 3;
  const char16_t text_mode = kArmour[data[1] % kArmour.size()];
  const int width = data[2];
  std::size_t check_length = data[3];
  data += 4;
  size -= 4;
  // Fields as the library writes them: whole groups of armour characters.
  check_length = std::min(check_length, size) / 5 * 5;
  size = check_length + (size - check_length) / 5 * 5;
  std::u16string check;
  std::u16string body;
  for (std::size_t i = 0; i < size; ++i) (i < check_length ? check : body) += kArmour[data[i] % kArmour.size()];

  std::u16string block;
  if (mode == 2) {
    block = body_only_block(check + body, width);
  } else {
    block = frame_compatible_block({check, mode == 0 ? u'A' : u'B'}, {body, text_mode}, width);
    const std::vector<BlockItem> items = read_blocks(block);
    // An end marker spelt out by the armour ends the block early: not a
    // block this writer can make readable.
    if (block.find(kEndMarker) + kEndMarker.size() != block.size()) return;
    require(items.size() == 1 && items[0].problem == BlockProblem::none);
    require(items[0].fields.check_field == check && items[0].fields.text_mode == text_mode &&
            items[0].fields.text_field == body);
  }
  if (block.find(kEndMarker) + kEndMarker.size() != block.size()) return;

  const std::vector<std::u16string> lines = lines_of(block);
  require(repair_received_text(block) == block);
  require(repair_received_text(joined(lines, u"", u"\n")) == block);
  require(repair_received_text(joined(lines, u"> ", u"\r\n")) == block);
  require(repair_received_text(u"wrote:\n" + joined(lines, u"> ", u"\n") + u"\n> \nok") ==
          u"wrote:\n" + block + u"\n> \nok");

  std::u16string one_line_body;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) one_line_body += lines[i];
  std::u16string one_line = std::u16string(kStartMarker) + std::u16string(kLineBreak) + one_line_body +
                            std::u16string(kLineBreak) + std::u16string(kEndMarker);
  require(repair_received_text(joined(lines, u"", u" ")) == one_line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    round_trip(data + 1, size - 1);
  } else {
    received_text(data + 1, size - 1);
  }
  return 0;
}
