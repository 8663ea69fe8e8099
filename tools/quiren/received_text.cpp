#include "tools/quiren/received_text.h"

namespace quiren::tool {

namespace {

constexpr std::string_view kStart = "(quiren_start)";
constexpr std::string_view kEnd = "(quiren_end)";
constexpr std::string_view kCrLf = "\r\n";

bool is_quote_char(char c) { return c == '>' || c == '|' || c == ' '; }

std::string without_spaces(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ') out += c;
  return out;
}

// How many leading characters of `line` make up `quote` (spaces aside),
// with the spaces after it; 0 when the line does not begin with it.
std::size_t quote_length(std::string_view line, std::string_view quote) {
  std::size_t i = 0;
  for (char q : quote) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size() || line[i] != q) return 0;
    ++i;
  }
  while (i < line.size() && line[i] == ' ') ++i;
  return i;
}

}  // namespace

std::string crlf_line_breaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += kCrLf;
    } else if (c == '\n') {
      out += kCrLf;
    } else {
      out += c;
    }
  }
  return out;
}

std::string unquote_blocks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;  // text before this offset is in `out`
  std::size_t search = 0;
  for (;;) {
    std::size_t start = text.find(kStart, search);
    if (start == std::string_view::npos) break;
    std::size_t line_start = text.rfind(kCrLf, start);
    line_start = line_start == std::string_view::npos ? 0 : line_start + kCrLf.size();
    if (line_start < done) line_start = done;
    std::string_view prefix = text.substr(line_start, start - line_start);
    bool quoted = !prefix.empty();
    for (char c : prefix) quoted = quoted && is_quote_char(c);
    std::size_t end = text.find(kEnd, start + kStart.size());
    if (!quoted || end == std::string_view::npos) {
      search = start + kStart.size();
      continue;
    }
    std::string quote = without_spaces(prefix);
    std::size_t block_end = end + kEnd.size();
    out.append(text.substr(done, line_start - done));
    // Line by line, from the marker's line to the end marker's line.
    std::size_t pos = line_start;
    while (pos < block_end) {
      std::size_t eol = text.find(kCrLf, pos);
      std::size_t line_end = (eol == std::string_view::npos || eol >= block_end) ? block_end : eol + kCrLf.size();
      std::string_view line = text.substr(pos, line_end - pos);
      out.append(line.substr(quote_length(line, quote)));
      pos = line_end;
    }
    done = block_end;
    search = block_end;
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace quiren::tool
