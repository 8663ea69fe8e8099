#include "block/received_characters.h"

#include "block/block_rules.h"

namespace quiren::block {

bool is_blank(char16_t c) { return kReceivedBlanks.find(c) != std::u16string_view::npos; }

bool is_invisible_insertion(char16_t c) { return kInvisibleInsertions.find(c) != std::u16string_view::npos; }

char16_t ascii_form(char16_t c) {
  if (c >= kFirstFullWidth && c <= kLastFullWidth) return static_cast<char16_t>(c - kFullWidthOffset);
  if (c == u'\u3000') return u' ';
  return c;
}

char16_t straight_quote(char16_t c) {
  if (kCurlySingleQuotes.find(c) != std::u16string_view::npos) return u'\'';
  if (kCurlyDoubleQuotes.find(c) != std::u16string_view::npos) return u'"';
  return c;
}

}  // namespace quiren::block
