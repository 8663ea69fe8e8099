#include "block/received_text.h"

#include "block/block_rules.h"
#include "block/line_breaks.h"

namespace quiren::block {

namespace {

bool is_quote_char(char16_t c) { return c == u'>' || c == u'|' || c == u' '; }

std::u16string without_spaces(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s)
    if (c != u' ') out += c;
  return out;
}

// How many leading characters of `line` make up `quote` (spaces aside),
// with the spaces after it; 0 when the line does not begin with it.
std::size_t quote_length(std::u16string_view line, std::u16string_view quote) {
  std::size_t i = 0;
  for (char16_t q : quote) {
    while (i < line.size() && line[i] == u' ') ++i;
    if (i == line.size() || line[i] != q) return 0;
    ++i;
  }
  while (i < line.size() && line[i] == u' ') ++i;
  return i;
}

}  // namespace

std::u16string unquote_blocks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t done = 0;  // text before this offset is in `out`
  std::size_t search = 0;
  for (;;) {
    std::size_t start = text.find(kStartMarker, search);
    if (start == std::u16string_view::npos) break;
    std::size_t line_start = text.rfind(kLineBreak, start);
    line_start = line_start == std::u16string_view::npos ? 0 : line_start + kLineBreak.size();
    if (line_start < done) line_start = done;
    std::u16string_view prefix = text.substr(line_start, start - line_start);
    bool quoted = !prefix.empty();
    for (char16_t c : prefix) quoted = quoted && is_quote_char(c);
    std::size_t end = text.find(kEndMarker, start + kStartMarker.size());
    if (!quoted || end == std::u16string_view::npos) {
      search = start + kStartMarker.size();
      continue;
    }
    std::u16string quote = without_spaces(prefix);
    std::size_t block_end = end + kEndMarker.size();
    out.append(text.substr(done, line_start - done));
    // Line by line, from the marker's line to the end marker's line.
    std::size_t pos = line_start;
    while (pos < block_end) {
      std::size_t eol = text.find(kLineBreak, pos);
      std::size_t line_end =
          (eol == std::u16string_view::npos || eol >= block_end) ? block_end : eol + kLineBreak.size();
      std::u16string_view line = text.substr(pos, line_end - pos);
      out.append(line.substr(quote_length(line, quote)));
      pos = line_end;
    }
    done = block_end;
    search = block_end;
  }
  out.append(text.substr(done));
  return out;
}

std::u16string repair_received_text(std::u16string_view text) { return unquote_blocks(crlf_line_breaks(text)); }

}  // namespace quiren::block
