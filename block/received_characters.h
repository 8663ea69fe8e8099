// The characters of a received block as the repair reads them: what
// programs put into a block's lines and how each is undone. The lists are
// in block_rules.h. Inline: the repair asks about every character of a
// text.
#pragma once

#include <string_view>

#include "block/block_rules.h"

namespace quiren::block {

namespace received_characters_detail {
constexpr bool is_one_of(char16_t c, std::u16string_view set) {
  for (char16_t s : set)
    if (c == s) return true;
  return false;
}
}  // namespace received_characters_detail

// Space, tab, no-break space and ideographic space: never part of a body.
constexpr bool is_blank(char16_t c) {
  return c == u' ' || c == u'\t' || (c >= 0xA0 && received_characters_detail::is_one_of(c, kReceivedBlanks));
}

// The invisible characters dropped inside a block's lines.
constexpr bool is_invisible_insertion(char16_t c) {
  return c >= 0xAD && received_characters_detail::is_one_of(c, kInvisibleInsertions);
}

// A full-width form of printable ASCII as that character, the ideographic
// space as a space; any other character as it is.
constexpr char16_t ascii_form(char16_t c) {
  if (c >= kFirstFullWidth && c <= kLastFullWidth) return static_cast<char16_t>(c - kFullWidthOffset);
  if (c == u'\u3000') return u' ';
  return c;
}

// A curly quote as the straight one; any other character as it is.
constexpr char16_t straight_quote(char16_t c) {
  if (c < 0x2018) return c;
  if (received_characters_detail::is_one_of(c, kCurlySingleQuotes)) return u'\'';
  if (received_characters_detail::is_one_of(c, kCurlyDoubleQuotes)) return u'"';
  return c;
}

}  // namespace quiren::block
