#include "block/block_damage.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "block/base64.h"
#include "block/block_rules.h"
#include "block/received_blocks.h"
#include "cipher/armour.h"

namespace quiren::block {

namespace {

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool is_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

bool is_compatible_armour(char16_t c) { return c < 0x80 && cipher::armour_digit(static_cast<char>(c)).has_value(); }

// Whether `length` characters of base64 can be the envelope of a block of
// mode `mode`: whole bytes, as many as base64_armour writes; for a strong
// block, for a multiple of 4 bytes. Key and recipient envelopes may have
// any length.
bool is_envelope_armour_length(std::size_t length, char16_t mode) {
  const std::size_t bytes = length * 3 / 4;
  const bool whole_groups = mode != kStrongModeLetter || bytes % 4 == 0;
  return is_base64_length(length) && whole_groups && (bytes * 4 + 2) / 3 == length;
}

struct Place {
  std::size_t line = 1;
  std::size_t column = 1;
};

// Where `offset` stands in `text` as the user sees it.
Place place_of(std::u16string_view text, std::size_t offset) {
  Place place;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool after_cr = i > 0 && text[i - 1] == u'\r';
    if (c == u'\n' && after_cr) continue;  // CR LF ends one line
    if (c == u'\r' || c == u'\n') {
      ++place.line;
      place.column = 1;
    } else if (!(is_low_surrogate(c) && i > 0 && is_high_surrogate(text[i - 1]))) {
      ++place.column;
    }
  }
  return place;
}

char32_t character_at(std::u16string_view text, std::size_t offset) {
  const char16_t c = text[offset];
  if (is_high_surrogate(c) && offset + 1 < text.size() && is_low_surrogate(text[offset + 1])) {
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(text[offset + 1]) - 0xDC00);
  }
  return c;
}

// A line of the body in the writer's form: [begin, end).
struct BodyLine {
  std::size_t begin;
  std::size_t end;
};

// The lines after the marker line that a line break ends, as the reader
// joins them.
std::vector<BodyLine> body_lines(std::u16string_view form) {
  std::vector<BodyLine> lines;
  std::size_t pos = form.find(kLineBreak);
  if (pos == std::u16string_view::npos) return lines;
  for (pos += kLineBreak.size();;) {
    const std::size_t eol = form.find(kLineBreak, pos);
    if (eol == std::u16string_view::npos) return lines;
    lines.push_back({pos, eol});
    pos = eol + kLineBreak.size();
  }
}

// Where to look for characters that are missing or too many: the first
// line shorter than the longest of the others (the last line, which holds
// what is left, aside), or else the last line.
BlockDamage length_damage(std::u16string_view received, const std::vector<BodyLine>& lines,
                          const std::vector<std::size_t>& origins) {
  std::size_t widest = 0;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) widest = std::max(widest, lines[i].end - lines[i].begin);
  BlockDamage damage{DamageKind::uneven_length, 0, 0, 0};
  std::size_t line = lines.size() - 1;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].end - lines[i].begin < widest) {
      damage.kind = DamageKind::short_line;
      line = i;
      break;
    }
  }
  damage.line = place_of(received, origins[lines[line].begin]).line;
  return damage;
}

BlockDamage foreign(std::u16string_view received, std::size_t offset) {
  const Place place = place_of(received, offset);
  return {DamageKind::foreign_character, place.line, place.column, character_at(received, offset)};
}

// The damage in a block's writer's form, its characters' origins in
// `received`.
std::optional<BlockDamage> damage_in(std::u16string_view received, std::u16string_view form,
                                     const std::vector<std::size_t>& origins) {
  const std::vector<BodyLine> lines = body_lines(form);
  if (lines.empty()) return std::nullopt;
  const char16_t mode = form[lines.front().begin];
  // Strong, key and recipient blocks alike hold base64.
  const bool base64 = is_base64_mode_letter(mode);
  if (!base64 && !is_compatible_mode_letter(mode)) return std::nullopt;

  enum class Part { check_field, text_mode, text_field };
  Part part = Part::check_field;  // compatible blocks only
  std::size_t check_length = 0;
  std::size_t text_length = 0;  // a base64 block's whole armour
  bool first = true;
  for (const BodyLine& line : lines) {
    for (std::size_t j = line.begin; j < line.end; ++j) {
      const char16_t c = form[j];
      if (first) {
        first = false;
        continue;
      }
      bool fits = false;
      if (base64) {
        fits = is_base64_character(c);
        ++text_length;
      } else if (part == Part::check_field && c == u'>') {
        part = Part::text_mode;
        fits = true;
      } else if (part == Part::text_mode) {
        // Any letter reads as a text mode; half an emoji does not.
        fits = !is_surrogate(c);
        part = Part::text_field;
      } else {
        fits = is_compatible_armour(c);
        ++(part == Part::check_field ? check_length : text_length);
      }
      if (!fits) return foreign(received, origins[j]);
    }
  }
  const bool whole = base64 ? is_envelope_armour_length(text_length, mode)
                            : check_length % 5 == 0 && text_length % 5 == 0;
  if (whole) return std::nullopt;
  return length_damage(received, lines, origins);
}

// Whether the reader finds the block in the repaired text: under markers
// that are exact but for spaces, or rewritten into the writer's form.
bool reader_sees(std::u16string_view text, const ReceivedBlock& block, bool rewritten) {
  if (rewritten) return true;
  const auto exact_but_spaces = [&](MarkerSpan span, std::u16string_view marker) {
    std::u16string spaced_out;
    for (char16_t c : text.substr(span.begin, span.end - span.begin))
      if (c != u' ') spaced_out += c;
    return spaced_out == marker;
  };
  return exact_but_spaces(block.start, kStartMarker) && exact_but_spaces(block.end, kEndMarker);
}

}  // namespace

std::optional<BlockDamage> find_block_damage(std::u16string_view received, std::size_t block_index) {
  std::size_t seen = 0;
  for (const ReceivedBlock& block : received_blocks(received)) {
    std::vector<std::size_t> origins;
    std::optional<std::u16string> form = writers_form(received, block, &origins);
    if (!reader_sees(received, block, form.has_value() && after_quote_prefix(received, block))) continue;
    if (seen++ < block_index) continue;
    if (!form) return std::nullopt;
    return damage_in(received, *form, origins);
  }
  return std::nullopt;
}

bool is_visible_character(char32_t c) {
  if (c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD || c > 0x10FFFF) return false;
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  const std::pair<char32_t, char32_t> invisible[] = {
      {0x034F, 0x034F}, {0x061C, 0x061C}, {0x115F, 0x1160}, {0x1680, 0x1680}, {0x17B4, 0x17B5},
      {0x180E, 0x180E}, {0x2000, 0x200F}, {0x2028, 0x202F}, {0x205F, 0x206F}, {0x3000, 0x3000},
      {0x3164, 0x3164}, {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFFB},
      {0xE0000, 0xE0FFF},
  };
  for (const auto& [first, last] : invisible)
    if (c >= first && c <= last) return false;
  return true;
}

}  // namespace quiren::block
