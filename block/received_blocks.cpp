#include "block/received_blocks.h"

#include "block/block_rules.h"
#include "block/received_characters.h"

namespace quiren::block {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

// Where the next "(" or its full-width form stands, at or after `from`: the
// first character of both markers.
std::size_t next_opening(std::u16string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i)
    if (text[i] == u'(' || text[i] == u'\uFF08') return i;
  return npos;
}

bool is_line_break(char16_t c) { return c == u'\r' || c == u'\n'; }
bool is_quote_mark(char16_t c) {
  c = ascii_form(c);
  return c == u'>' || c == u'|';
}
// What a block's body can hold: armour and ">" are printable ASCII.
bool is_printable_ascii(char16_t c) { return c > u' ' && c < 0x7F; }
// What stands around a quote's marks without being part of anything.
bool is_filler(char16_t c) { return is_blank(c) || is_invisible_insertion(c); }

// The first marker at or after `from`, exact or with invisible characters
// put in and full-width forms; with `spaces_inside`, also with spaces in
// it, as the reader sees it once it has dropped every space. Each attempt
// reads on only while the text matches, and no character but the marker's
// first is "(", so every character is looked at a bounded number of times.
std::optional<MarkerSpan> find_marker(std::u16string_view text, std::u16string_view marker, std::size_t from,
                                      bool spaces_inside) {
  for (std::size_t at = next_opening(text, from); at != npos; at = next_opening(text, at + 1)) {
    std::size_t i = at + 1;
    std::size_t k = 1;
    for (; k < marker.size(); ++k, ++i) {
      while (i < text.size() &&
             (is_invisible_insertion(text[i]) || (spaces_inside && ascii_form(text[i]) == u' '))) {
        ++i;
      }
      if (i == text.size() || ascii_form(text[i]) != marker[k]) break;
    }
    if (k == marker.size()) return MarkerSpan{at, i};
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

// How much of `line` the quote and the blanks around it take; 0 when the
// line does not begin with the whole quote.
std::size_t quote_length(std::u16string_view line, std::u16string_view quote) {
  std::size_t i = 0;
  for (char16_t q : quote) {
    while (i < line.size() && is_filler(line[i])) ++i;
    if (i == line.size() || ascii_form(line[i]) != q) return 0;
    ++i;
  }
  while (i < line.size() && is_filler(line[i])) ++i;
  return i;
}

// The characters of one part of a line as the body would hold them, with
// where each came from when asked.
struct Piece {
  std::u16string text;
  std::vector<std::size_t> origins;
};

Piece cleaned(std::u16string_view text, std::size_t begin, std::size_t end, bool track) {
  Piece piece;
  piece.text.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) {
    char16_t c = text[i];
    if (!is_printable_ascii(c)) {
      if (is_invisible_insertion(c)) continue;
      c = ascii_form(c);
      if (is_blank(c)) continue;
    }
    piece.text += c;
    if (track) piece.origins.push_back(i);
  }
  return piece;
}

bool all_printable_ascii(std::u16string_view s) {
  for (char16_t c : s)
    if (!is_printable_ascii(c)) return false;
  return true;
}

// The writer's form, put together with the origins of its characters.
class FormBuilder {
 public:
  explicit FormBuilder(std::vector<std::size_t>* origins) : origins_(origins) {}

  void put(char16_t c, std::size_t from) {
    text_ += c;
    if (origins_) origins_->push_back(from);
  }
  void put_line_break(std::size_t at) {
    put(u'\r', at);
    put(u'\n', at);
  }
  void put_piece(const Piece& piece) {
    text_ += piece.text;
    if (origins_) origins_->insert(origins_->end(), piece.origins.begin(), piece.origins.end());
  }
  // A marker without what was put into it, in ASCII.
  void put_marker(std::u16string_view text, MarkerSpan marker) {
    for (std::size_t i = marker.begin; i < marker.end; ++i)
      if (!is_invisible_insertion(text[i])) put(ascii_form(text[i]), i);
  }
  // Characters as they came.
  void put_as_is(std::u16string_view text, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) put(text[i], i);
  }
  std::u16string take() { return std::move(text_); }

 private:
  std::u16string text_;
  std::vector<std::size_t>* origins_;
};

}  // namespace

bool has_received_start_marker(std::u16string_view text) {
  return find_marker(text, kStartMarker, 0, false).has_value();
}

bool has_received_block(std::u16string_view text) {
  const std::optional<MarkerSpan> start = find_marker(text, kStartMarker, 0, false);
  return start && find_marker(text, kEndMarker, start->end, false);
}

std::vector<ReceivedBlock> received_blocks(std::u16string_view text) {
  std::vector<ReceivedBlock> blocks;
  if (!has_received_block(text)) return blocks;
  // Blocks follow one another as the reader finds them.
  const auto find = [text](std::u16string_view marker, std::size_t from) {
    return find_marker(text, marker, from, true);
  };
  std::size_t done = 0;  // where the previous block ended
  for (std::optional<BlockMarkers> block = first_block_markers(find); block;
       block = next_block_markers(find, done)) {
    blocks.push_back({line_begin(text, block->start.begin, done), block->start, block->end});
    done = block->end.end;
  }
  return blocks;
}

bool after_quote_prefix(std::u16string_view text, const ReceivedBlock& block) {
  for (char16_t c : text.substr(block.line_begin, block.start.begin - block.line_begin))
    if (!is_quote_mark(c) && !is_filler(c)) return false;
  return true;
}

std::optional<std::u16string> writers_form(std::u16string_view text, const ReceivedBlock& block,
                                           std::vector<std::size_t>* origins) {
  if (origins) origins->clear();
  const bool track = origins != nullptr;
  std::u16string quote;
  for (char16_t c : text.substr(block.line_begin, block.start.begin - block.line_begin))
    if (is_quote_mark(c)) quote += ascii_form(c);

  FormBuilder form(origins);
  form.put_marker(text, block.start);
  const std::size_t first_break = line_end(text, block.start.end, block.end.begin);
  form.put_line_break(first_break);

  // The first body character tells the block's kind: curly quotes are read
  // as straight ones in a compatible block only.
  bool kind_known = false;
  bool compatible = false;
  const auto settle = [&](Piece& piece) {
    if (piece.text.empty()) return;
    if (!kind_known) {
      kind_known = true;
      compatible = piece.text.front() == u'A' || piece.text.front() == u'B';
    }
    if (compatible)
      for (char16_t& c : piece.text) c = straight_quote(c);
  };
  // Takes one line of the body; false when it would make an end marker.
  const auto add_line = [&form](const Piece& piece, std::size_t eol) {
    if (piece.text.empty()) return true;
    if (piece.text.find(kEndMarker) != std::u16string::npos) return false;
    form.put_piece(piece);
    form.put_line_break(eol);
    return true;
  };

  // After the start marker on its line: nothing but blanks in the writer's
  // form; body text when lines were run together.
  Piece after_start = cleaned(text, block.start.end, first_break, track);
  settle(after_start);
  if (!all_printable_ascii(after_start.text) || !add_line(after_start, first_break)) return std::nullopt;

  std::size_t before_end = block.end.begin;  // where the end marker's line begins, past its quote
  if (first_break != block.end.begin) {
    std::size_t pos = past_line_break(text, first_break);
    for (;;) {
      const std::size_t eol = line_end(text, pos, block.end.begin);
      const std::size_t content = pos + quote_length(text.substr(pos, eol - pos), quote);
      if (eol == block.end.begin) {
        before_end = content;
        break;
      }
      Piece line = cleaned(text, content, eol, track);
      settle(line);
      if (!add_line(line, eol)) return std::nullopt;
      pos = past_line_break(text, eol);
    }
  }
  // Body text before the end marker goes on a line of its own. Anything
  // else stays there, where the reader passes over it.
  Piece last = cleaned(text, before_end, block.end.begin, track);
  settle(last);
  if (all_printable_ascii(last.text)) {
    if (!add_line(last, block.end.begin)) return std::nullopt;
  } else {
    form.put_as_is(text, before_end, block.end.begin);
  }
  form.put_marker(text, block.end);
  return form.take();
}

}  // namespace quiren::block
