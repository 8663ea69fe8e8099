#include "block/line_breaks.h"

#include "block/block_rules.h"

namespace quiren::block {

std::u16string crlf_line_breaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += kLineBreak;
    } else if (c == u'\n') {
      out += kLineBreak;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace quiren::block
