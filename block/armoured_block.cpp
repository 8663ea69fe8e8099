#include "block/armoured_block.h"

#include <algorithm>

namespace quiren::block {

namespace {

constexpr char16_t kSeparator = u'>';
// The check mode letter stands right after the start marker and its CR LF.
constexpr std::size_t kModeLetterOffset = kStartMarker.size() + kLineBreak.size();

bool is_mode_letter(char16_t c) { return c == u'A' || c == u'B'; }

// Splits a joined payload at its first ">".
BlockItem take_payload_apart(char16_t check_mode, std::u16string_view payload) {
  std::size_t sep = payload.find(kSeparator);
  if (sep == std::u16string_view::npos) return {BlockProblem::no_separator, {}};
  BlockItem item;
  item.fields.check_mode = check_mode;
  item.fields.check_field = std::u16string(payload.substr(0, sep));
  std::u16string_view rest = payload.substr(sep + 1);
  if (!rest.empty()) {
    item.fields.text_mode = rest.front();
    item.fields.text_field = std::u16string(rest.substr(1));
  }
  return item;
}

}  // namespace

LibraryResult split_result(std::u16string_view result) {
  if (result.empty()) return {};
  return {std::u16string(result.substr(0, result.size() - 1)), result.back()};
}

std::u16string write_block(const LibraryResult& check, const LibraryResult& text, int width) {
  const std::size_t w = static_cast<std::size_t>(std::clamp(width, kNarrowestWrap, kWidestWrap));
  std::u16string payload = check.field;
  payload += kSeparator;
  if (text.mode != u'\0') payload += text.mode;
  payload += text.field;

  std::u16string block(kStartMarker);
  block += kLineBreak;
  if (check.mode != u'\0') block += check.mode;
  // The first line holds the check mode letter and W - 1 payload
  // characters; every further line W, the last one what is left.
  std::size_t taken = std::min(payload.size(), w - 1);
  block.append(payload, 0, taken);
  while (payload.size() - taken > 0) {
    std::size_t n = std::min(payload.size() - taken, w);
    block += kLineBreak;
    block.append(payload, taken, n);
    taken += n;
  }
  block += kLineBreak;
  block += kEndMarker;
  return block;
}

bool has_block(std::u16string_view text) {
  std::size_t start = text.find(kStartMarker);
  return start != std::u16string_view::npos && text.find(kEndMarker, start) != std::u16string_view::npos;
}

std::u16string delspace(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c != u' ') out += c;
  }
  return out;
}

std::u16string joinlines(std::u16string_view region) {
  std::u16string out;
  std::size_t pos = region.find(kLineBreak);
  if (pos == std::u16string_view::npos) return out;
  pos += kLineBreak.size();
  for (;;) {
    std::size_t end = region.find(kLineBreak, pos);
    if (end == std::u16string_view::npos) break;
    out.append(region.substr(pos, end - pos));
    pos = end + kLineBreak.size();
  }
  return out;
}

std::vector<BlockItem> read_blocks(std::u16string_view original) {
  std::vector<BlockItem> items;
  if (!has_block(original)) return items;

  std::u16string text = delspace(original);
  std::size_t start = text.find(kStartMarker);
  for (;;) {
    // The mode letter is taken by position, whatever precedes it: with bare
    // LF line breaks it is a payload character, and usually not a letter
    // this version knows.
    std::size_t letter_at = start + kModeLetterOffset;
    if (letter_at >= text.size() || !is_mode_letter(text[letter_at])) {
      items.push_back({BlockProblem::unknown_mode_letter, {}});
      return items;
    }
    char16_t check_mode = text[letter_at];
    text.erase(letter_at, 1);

    std::size_t end = text.find(kEndMarker, start);
    if (end == std::u16string::npos) {
      // Not reached for a text that has_block accepts; kept defined anyway.
      items.push_back({BlockProblem::no_separator, {}});
      return items;
    }
    std::u16string_view region = std::u16string_view(text).substr(start, end - start);
    items.push_back(take_payload_apart(check_mode, joinlines(region)));
    if (items.back().problem != BlockProblem::none) return items;

    std::size_t after = end + kEndMarker.size();
    std::size_t next_end = text.find(kEndMarker, after);
    if (next_end == std::u16string::npos) return items;
    std::size_t next_start = text.find(kStartMarker, after);
    // A stray end marker with no start marker before it ends the reading.
    if (next_start == std::u16string::npos || next_start > next_end) return items;
    start = next_start;
  }
}

}  // namespace quiren::block
