// The repair of received texts, the block reader and the damage finder. The
// first byte chooses what the rest is:
//   even: a received text in UTF-8 (each byte that starts no valid sequence
//     stands for one of a few characters programs put into blocks: blanks,
//     invisible ones, full-width forms, curly quotes). It is repaired, read
//     and searched for damage, and these must hold: a text with a block
//     still has one after the repair; when the repair finds its markers
//     where the reader does (no invisible character or full-width form in
//     them), the blocks the reader read from the text as it stood (the
//     leading ones without a problem, with nothing in their fields the
//     repair would change) read the same after it; and every damage found
//     points into the text.
//     The seeds are the shared table of received forms (fuzz/received-seeds.py
//     writes them from tests/vectors/received-forms.json).
//   odd: the fields of a block (mode letters, wrap width, armour), written
//     and then received as written, with LF line breaks, quoted with "> "
//     (CR LF and LF), run together on one line, with zero-width spaces put
//     in, made full-width, and with smart quotes. The repair must give the
//     block back as written (on one line: its body on one line).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_damage.h"
#include "block/block_rules.h"
#include "block/received_blocks.h"
#include "block/received_text.h"
#include "tests/support/received_forms.h"

namespace {

using namespace quiren::block;
using quiren::testing::joined;
using quiren::testing::lines_of;

constexpr std::u16string_view kArmour =
    u"Gg2Qs#3Al~OuWc@Kv^o.D-e+x$i:S|IR0k'a4PtVh!Bq1m&ULd)F8\"p*T;H[/E(j5Zy6Cb7Yr9J%nXMz?f_Nw";
constexpr std::u16string_view kBase64 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// What a byte that starts no valid UTF-8 sequence stands for.
constexpr char16_t kOthers[] = {u'\u00A0', u'\u3000', u'\t',     u'\u65E5', u'\r',     u'\n',     u' ',      u'\u200B',
                                u'\uFEFF', u'\u00AD', u'\uFF08', u'\uFF09', u'\uFF1E', u'\u2019', u'\u201C', u'\u2060'};

void require(bool ok) {
  if (!ok) std::abort();
}

void append_code_point(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    out += static_cast<char16_t>(c);
  }
}

// How many continuation bytes follow `lead`; 4 for a byte no sequence
// starts with.
std::size_t continuation_bytes(std::uint8_t lead) {
  if (lead < 0x80) return 0;
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 4;
}

// UTF-8 as its characters; any other byte as one of kOthers.
std::u16string lenient_utf8(const std::uint8_t* data, std::size_t size) {
  constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};  // below these a sequence is overlong
  std::u16string text;
  for (std::size_t i = 0; i < size;) {
    const std::size_t extra = continuation_bytes(data[i]);
    bool ok = extra < 4 && i + extra < size;
    char32_t c = ok ? data[i] & (0x7F >> extra) : 0;
    for (std::size_t k = 1; ok && k <= extra; ++k) {
      ok = (data[i + k] & 0xC0) == 0x80;
      c = c << 6 | (data[i + k] & 0x3F);
    }
    if (ok && c >= kLeast[extra] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF)) {
      append_code_point(text, c);
      i += extra + 1;
    } else {
      text += kOthers[data[i] % std::size(kOthers)];
      ++i;
    }
  }
  return text;
}

bool clean(std::u16string_view s) {
  for (char16_t c : s)
    if (is_blank(c) || c == u'\r' || c == u'\n' || is_invisible_insertion(c) || ascii_form(c) != c ||
        straight_quote(c) != c) {
      return false;
    }
  return true;
}

bool read_cleanly(const BlockItem& item) {
  const BlockFields& f = item.fields;
  return !item.problem && clean(f.check_field) && clean(f.text_field) &&
         clean(std::u16string_view(&f.text_mode, 1));
}

bool same(const BlockItem& a, const BlockItem& b) {
  return a.problem == b.problem && a.kind == b.kind && a.fields.check_mode == b.fields.check_mode &&
         a.fields.check_field == b.fields.check_field && a.fields.text_mode == b.fields.text_mode &&
         a.fields.text_field == b.fields.text_field && a.envelope == b.envelope;
}

// The lines of `text` as the damage finder counts them, each its length in
// code points.
std::vector<std::size_t> line_lengths(std::u16string_view text) {
  std::vector<std::size_t> lengths{0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && i > 0 && text[i - 1] == u'\r') continue;
    if (text[i] == u'\r' || text[i] == u'\n') lengths.push_back(0);
    else if (!(text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF))
      ++lengths.back();
  }
  return lengths;
}

// Whether every marker the repair finds is one the reader finds too: exact
// but for spaces. A marker that a program filled with invisible characters
// or made full-width is one more block for the reader after the repair.
bool markers_as_the_reader_finds_them(std::u16string_view text) {
  const auto exact_but_spaces = [&](MarkerSpan span, std::u16string_view marker) {
    std::u16string found;
    for (char16_t c : text.substr(span.begin, span.end - span.begin))
      if (c != u' ') found += c;
    return found == marker;
  };
  for (const ReceivedBlock& block : received_blocks(text)) {
    if (!exact_but_spaces(block.start, kStartMarker) || !exact_but_spaces(block.end, kEndMarker)) return false;
  }
  return true;
}

void received_text(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = lenient_utf8(data, size);
  const std::u16string repaired = repair_received_text(text);
  if (has_block(text)) require(has_block(repaired) && holds_start_marker(text));
  const std::vector<BlockItem> before = read_blocks(text);
  const std::vector<BlockItem> after = read_blocks(repaired);
  if (markers_as_the_reader_finds_them(text)) {
    for (std::size_t i = 0; i < before.size() && read_cleanly(before[i]); ++i) {
      require(i < after.size() && same(before[i], after[i]));
    }
  }
  if (after.empty() || after.back().problem != Outcome::damaged) return;
  if (const std::optional<BlockDamage> damage = find_block_damage(text, after.size() - 1)) {
    const std::vector<std::size_t> lines = line_lengths(text);
    require(damage->line >= 1 && damage->line <= lines.size());
    if (damage->kind == DamageKind::foreign_character) {
      require(damage->column >= 1 && damage->column <= lines[damage->line - 1]);
    }
  }
}

// `inserted` after every 20th character but the last, line breaks not
// counted: inside the block, never after its end marker.
std::u16string every_20(std::u16string_view text, char16_t inserted) {
  std::u16string out;
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] != u'\r' && text[i] != u'\n' && ++count % 20 == 0 && i + 1 < text.size()) out += inserted;
  }
  return out;
}

std::u16string full_width(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) out += c > u' ' && c < 0x7F ? static_cast<char16_t>(c + kFullWidthOffset) : c;
  return out;
}

std::u16string smart_quotes(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool opening = i == 0 || text[i - 1] == u'\n';
    char16_t c = text[i];
    if (c == u'\'') c = opening ? u'\u2018' : u'\u2019';
    if (c == u'"') c = opening ? u'\u201C' : u'\u201D';
    out += c;
  }
  return out;
}

void round_trip(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return;
  const std::uint8_t mode = data[0] % 3;
  const char16_t text_mode = kArmour[data[1] % kArmour.size()];
  const int width = data[2];
  std::size_t check_length = data[3];
  data += 4;
  size -= 4;
  std::u16string block;
  if (mode == 2) {
    // A strong block: base64 alone, no ">".
    std::u16string body;
    for (std::size_t i = 0; i < size; ++i) body += kBase64[data[i] % kBase64.size()];
    block = frame_block(kStrongModeLetter, body, width);
  } else {
    // Fields as the library writes them: whole groups of armour characters.
    check_length = std::min(check_length, size) / 5 * 5;
    size = check_length + (size - check_length) / 5 * 5;
    std::u16string check;
    std::u16string body;
    for (std::size_t i = 0; i < size; ++i) (i < check_length ? check : body) += kArmour[data[i] % kArmour.size()];
    block = frame_compatible_block({check, mode == 0 ? u'A' : u'B'}, {body, text_mode}, width);
    const std::vector<BlockItem> items = read_blocks(block);
    // An end marker spelt out by the armour ends the block early: not a
    // block this writer can make readable.
    if (block.find(kEndMarker) + kEndMarker.size() != block.size()) return;
    require(items.size() == 1 && !items[0].problem);
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
  require(repair_received_text(every_20(block, u'\u200B')) == block);
  require(repair_received_text(full_width(block)) == block);
  if (mode != 2) require(repair_received_text(smart_quotes(block)) == block);

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
