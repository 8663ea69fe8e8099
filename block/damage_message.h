// A block's damage (block_damage.h) in words: each front end keeps its own
// texts, with the places where the numbers and the character go named in
// braces: {line}, {column}, {character} (the character itself) and {code}
// (its code point in hex, at least four digits: 1F600).
#pragma once

#include <string>
#include <string_view>

#include "block/block_damage.h"
#include "block/filled_text.h"
#include "block/utf8.h"

namespace quiren::block {

template <typename Char>
struct DamageTexts {
  std::basic_string_view<Char> foreign_character;    // {line} {column} {character} {code}
  std::basic_string_view<Char> invisible_character;  // {line} {column} {code}: one that shows as nothing
  std::basic_string_view<Char> short_line;           // {line}
  std::basic_string_view<Char> uneven_length;        // {line}
};

namespace damage_message_detail {

inline void append_character(std::string& out, char32_t c) { append_utf8(out, c); }

inline void append_character(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    out += static_cast<char16_t>(c);
  }
}

template <typename Char>
std::basic_string<Char> widened(std::string_view ascii) {
  return std::basic_string<Char>(ascii.begin(), ascii.end());
}

inline std::string code_of(char32_t c) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (; c != 0 || hex.size() < 4; c >>= 4) hex.insert(hex.begin(), digits[c & 15]);
  return hex;
}

}  // namespace damage_message_detail

template <typename Char>
std::basic_string<Char> describe_damage(const BlockDamage& damage, const DamageTexts<Char>& texts) {
  namespace d = damage_message_detail;
  const bool visible = is_visible_character(damage.character);
  std::basic_string_view<Char> pattern = texts.uneven_length;
  if (damage.kind == DamageKind::foreign_character) pattern = visible ? texts.foreign_character : texts.invisible_character;
  if (damage.kind == DamageKind::short_line) pattern = texts.short_line;

  std::basic_string<Char> character;
  if (visible) d::append_character(character, damage.character);
  return filled_text_detail::filled<Char>(pattern, {{"line", d::widened<Char>(std::to_string(damage.line))},
                                                    {"column", d::widened<Char>(std::to_string(damage.column))},
                                                    {"code", d::widened<Char>(d::code_of(damage.character))},
                                                    {"character", character}});
}

}  // namespace quiren::block
