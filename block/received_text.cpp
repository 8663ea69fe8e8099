#include "block/received_text.h"

#include <optional>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_rules.h"

namespace quiren::block {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

bool is_line_break(char16_t c) { return c == u'\r' || c == u'\n'; }
bool is_quote_mark(char16_t c) { return c == u'>' || c == u'|'; }
// What a block's body can hold: armour and ">" are printable ASCII.
bool is_printable_ascii(char16_t c) { return c > u' ' && c < 0x7F; }

// Where a marker stands in the text: [begin, end).
struct Span {
  std::size_t begin;
  std::size_t end;
};

// The first marker at or after `from` as the reader sees it: the reader
// drops every space first, so spaces inside a marker do not hide it there.
// Each attempt reads on only while the text matches, and no character but
// the marker's first is "(", so every character is looked at a bounded
// number of times.
std::optional<Span> find_marker(std::u16string_view text, std::u16string_view marker, std::size_t from) {
  for (std::size_t at = text.find(marker.front(), from); at != npos; at = text.find(marker.front(), at + 1)) {
    std::size_t i = at + 1;
    std::size_t k = 1;
    for (; k < marker.size(); ++k, ++i) {
      while (i < text.size() && text[i] == u' ') ++i;
      if (i == text.size() || text[i] != marker[k]) break;
    }
    if (k == marker.size()) return Span{at, i};
  }
  return std::nullopt;
}

// Where the line holding `pos` begins, looking back no further than `floor`.
std::size_t line_begin(std::u16string_view text, std::size_t pos, std::size_t floor) {
  while (pos > floor && !is_line_break(text[pos - 1])) --pos;
  return pos;
}

// The first line break at or after `pos`, or `limit` when none comes before it.
std::size_t line_end(std::u16string_view text, std::size_t pos, std::size_t limit) {
  while (pos < limit && !is_line_break(text[pos])) ++pos;
  return pos;
}

// Past the line break at `pos` (CR LF counts as one).
std::size_t past_line_break(std::u16string_view text, std::size_t pos) {
  return text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n' ? pos + 2 : pos + 1;
}

bool is_quote_prefix(std::u16string_view prefix) {
  for (char16_t c : prefix)
    if (!is_quote_mark(c) && !is_blank(c)) return false;
  return true;
}

// `line` without the quote and the blanks around it; the line as it is when
// it does not begin with the whole quote.
std::u16string_view without_quote(std::u16string_view line, std::u16string_view quote) {
  std::size_t i = 0;
  for (char16_t q : quote) {
    while (i < line.size() && is_blank(line[i])) ++i;
    if (i == line.size() || line[i] != q) return line;
    ++i;
  }
  while (i < line.size() && is_blank(line[i])) ++i;
  return line.substr(i);
}

// Copied a run at a time: long bodies are common, blanks in them rare.
std::u16string without_blanks(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    std::size_t run = i;
    while (run < s.size() && !is_blank(s[run])) ++run;
    out.append(s.substr(i, run - i));
    i = run;
    while (i < s.size() && is_blank(s[i])) ++i;
  }
  return out;
}

bool all_printable_ascii(std::u16string_view s) {
  for (char16_t c : s)
    if (!is_printable_ascii(c)) return false;
  return true;
}

bool holds_blank_or_line_break(std::u16string_view s) {
  for (char16_t c : s)
    if (is_blank(c) || is_line_break(c)) return true;
  return false;
}

// Whether the reader reads the block [start, end marker] without a problem,
// into fields that nothing here would change. The reader's result for a
// block depends on nothing outside it, so the block is read alone (without
// spaces when they break a marker, as the reader drops them anyway).
bool reads_as_it_stands(std::u16string_view block, bool broken_marker) {
  std::vector<BlockItem> items = read_blocks(broken_marker ? without_spaces(block) : std::u16string(block));
  if (items.empty() || items.front().problem != BlockProblem::none) return false;
  const BlockFields& f = items.front().fields;
  return !holds_blank_or_line_break(f.check_field) && !holds_blank_or_line_break(f.text_field) &&
         !is_blank(f.text_mode) && !is_line_break(f.text_mode);
}

// The block from `from` (where the start marker's line begins, or the
// previous block ended) to the end of its end marker, in the writer's form;
// nullopt when it is to be left as it stands.
std::optional<std::u16string> rewritten_block(std::u16string_view text, std::size_t from, Span start, Span end) {
  std::u16string quote;
  for (char16_t c : text.substr(from, start.begin - from))
    if (is_quote_mark(c)) quote += c;

  std::u16string block(text.substr(start.begin, start.end - start.begin));
  block += kLineBreak;
  // Takes one line's body text; false when it would make an end marker.
  auto add_body_line = [&block](const std::u16string& line) {
    if (line.empty()) return true;
    if (line.find(kEndMarker) != std::u16string::npos) return false;
    block += line;
    block += kLineBreak;
    return true;
  };

  // After the start marker on its line: nothing but blanks in the writer's
  // form; body text when lines were run together.
  std::size_t first_break = line_end(text, start.end, end.begin);
  std::u16string after_start = without_blanks(text.substr(start.end, first_break - start.end));
  if (!all_printable_ascii(after_start) || !add_body_line(after_start)) return std::nullopt;

  std::u16string_view before_end;  // the end marker's line up to the marker
  if (first_break == end.begin) {
    // The whole block on one line: everything between the markers was taken.
  } else {
    std::size_t pos = past_line_break(text, first_break);
    for (;;) {
      std::size_t eol = line_end(text, pos, end.begin);
      if (eol == end.begin) {
        before_end = without_quote(text.substr(pos, eol - pos), quote);
        break;
      }
      if (!add_body_line(without_blanks(without_quote(text.substr(pos, eol - pos), quote)))) return std::nullopt;
      pos = past_line_break(text, eol);
    }
  }
  // Body text before the end marker goes on a line of its own. Anything
  // else stays there, where the reader passes over it.
  std::u16string last = without_blanks(before_end);
  if (all_printable_ascii(last)) {
    if (!add_body_line(last)) return std::nullopt;
  } else {
    block += before_end;
  }
  block += text.substr(end.begin, end.end - end.begin);
  return block;
}

}  // namespace

bool is_blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u3000'; }

std::u16string repair_received_text(std::u16string_view text) {
  if (!has_block(text)) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  std::size_t done = 0;  // text before this offset is in `out`
  std::optional<Span> start = find_marker(text, kStartMarker, 0);
  std::optional<Span> end = start ? find_marker(text, kEndMarker, start->end) : std::nullopt;
  while (start && end) {
    const std::size_t from = line_begin(text, start->begin, done);
    std::optional<std::u16string> block;
    if (is_quote_prefix(text.substr(from, start->begin - from)) &&
        !reads_as_it_stands(text.substr(start->begin, end->end - start->begin),
                            start->end - start->begin != kStartMarker.size() ||
                                end->end - end->begin != kEndMarker.size())) {
      block = rewritten_block(text, from, *start, *end);
    }
    if (block) {
      out.append(text.substr(done, from - done));
      out += *block;
    } else {
      out.append(text.substr(done, end->end - done));
    }
    done = end->end;
    // As the reader does: another block only when a start marker comes
    // before the next end marker.
    end = find_marker(text, kEndMarker, done);
    if (!end) break;
    start = find_marker(text, kStartMarker, done);
    if (start && start->begin > end->begin) break;
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace quiren::block
