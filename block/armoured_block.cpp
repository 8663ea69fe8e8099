#include "block/armoured_block.h"

#include <algorithm>
#include <optional>
#include <span>

#include "block/ascii.h"
#include "block/base64.h"
#include "block/keys/key_block.h"
#include "block/keys/recipient_check.h"
#include "block/strong/envelope_check.h"
#include "cipher/armour.h"

namespace quiren::block {

namespace {

constexpr char16_t kSeparator = u'>';
// The mode letter stands right after the start marker and its CR LF.
constexpr std::size_t kModeLetterOffset = kStartMarker.size() + kLineBreak.size();

// Markers by exact search, as the reader finds them.
auto exact_markers(std::u16string_view text) {
  return [text](std::u16string_view marker, std::size_t from) -> std::optional<MarkerSpan> {
    const std::size_t at = text.find(marker, from);
    if (at == std::u16string_view::npos) return std::nullopt;
    return MarkerSpan{at, at + marker.size()};
  };
}

// The ASCII text of armour characters, or nullopt for anything else.
std::optional<std::string> armour_text(std::u16string_view text) {
  std::optional<std::string> ascii = ascii_bytes(text);
  if (!ascii || !cipher::is_armour_text(*ascii)) return std::nullopt;
  return ascii;
}

BlockItem problem(Outcome p) { return {p, {}, {}, {}}; }

// Splits a joined compatible payload at its first ">".
BlockItem compatible_item(char16_t check_mode, std::u16string_view payload) {
  const std::size_t sep = payload.find(kSeparator);
  if (sep == std::u16string_view::npos) return problem(Outcome::damaged);
  BlockItem item;
  item.fields.check_mode = check_mode;
  item.fields.check_field = std::u16string(payload.substr(0, sep));
  std::u16string_view rest = payload.substr(sep + 1);
  if (!rest.empty()) {
    item.fields.text_mode = rest.front();
    item.fields.text_field = std::u16string(rest.substr(1));
  }
  if (!is_armour_field(item.fields.check_field) || !is_armour_field(item.fields.text_field)) {
    return problem(Outcome::damaged);
  }
  return item;
}

BlockKind base64_kind(char16_t letter) {
  if (letter == kKeyModeLetter) return BlockKind::key;
  if (letter == kRecipientModeLetter) return BlockKind::recipient;
  return BlockKind::strong;
}

// What an envelope of `kind` comes to before any password or key.
std::optional<Outcome> envelope_problem(BlockKind kind, std::span<const std::uint8_t> envelope) {
  if (kind == BlockKind::key) return check_key_envelope(envelope);
  if (kind == BlockKind::recipient) return check_recipient_envelope(envelope).problem;
  return check_envelope(envelope).problem;
}

// A strong, key or recipient payload is the base64 of an envelope this
// version must be able to read; its header is checked here, before any
// password or key is asked.
BlockItem envelope_item(char16_t letter, std::u16string_view payload) {
  BlockItem item;
  item.kind = base64_kind(letter);
  const std::optional<std::string> armour = ascii_bytes(payload);
  std::optional<std::vector<std::uint8_t>> envelope;
  if (armour) envelope = base64_bytes(*armour);
  if (!envelope) {
    item.problem = Outcome::damaged;
    return item;
  }
  item.problem = envelope_problem(item.kind, *envelope);
  if (item.problem) return item;
  item.envelope = std::move(*envelope);
  return item;
}

}  // namespace

// No damaged field reaches the library's notices.
bool is_armour_field(std::u16string_view field) {
  return field.size() % 5 == 0 && armour_text(field).has_value();
}

LibraryResult split_result(std::u16string_view result) {
  if (result.empty()) return {};
  return {std::u16string(result.substr(0, result.size() - 1)), result.back()};
}

bool is_plausible_result(const LibraryResult& result) {
  return is_compatible_mode_letter(result.mode) && is_armour_field(result.field);
}

std::u16string frame_block(char16_t mode_letter, std::u16string_view payload, int width) {
  const std::size_t w = static_cast<std::size_t>(std::clamp(width, kNarrowestWrap, kWidestWrap));
  std::u16string block(kStartMarker);
  block += kLineBreak;
  if (mode_letter != u'\0') block += mode_letter;
  // The first line holds the mode letter and W - 1 payload characters;
  // every further line W, the last one what is left.
  std::size_t taken = std::min(payload.size(), w - 1);
  block.append(payload, 0, taken);
  while (payload.size() - taken > 0) {
    const std::size_t n = std::min(payload.size() - taken, w);
    block += kLineBreak;
    block.append(payload, taken, n);
    taken += n;
  }
  block += kLineBreak;
  block += kEndMarker;
  return block;
}

std::u16string frame_compatible_block(const LibraryResult& check, const LibraryResult& text, int width) {
  std::u16string payload = check.field;
  payload += kSeparator;
  if (text.mode != u'\0') payload += text.mode;
  payload += text.field;
  return frame_block(check.mode, payload, width);
}

bool has_block(std::u16string_view text) { return first_block_markers(exact_markers(text)).has_value(); }

std::u16string without_spaces(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c != u' ') out += c;
  }
  return out;
}

std::u16string joined_lines(std::u16string_view region) {
  std::u16string out;
  std::size_t pos = region.find(kLineBreak);
  if (pos == std::u16string_view::npos) return out;
  pos += kLineBreak.size();
  for (;;) {
    const std::size_t end = region.find(kLineBreak, pos);
    if (end == std::u16string_view::npos) break;
    out.append(region.substr(pos, end - pos));
    pos = end + kLineBreak.size();
  }
  return out;
}

std::vector<BlockItem> read_blocks(std::u16string_view original) {
  std::vector<BlockItem> items;
  if (!has_block(original)) return items;

  const std::u16string text = without_spaces(original);
  const auto find = exact_markers(text);
  for (std::optional<BlockMarkers> block = first_block_markers(find); block;
       block = next_block_markers(find, block->end.end)) {
    const std::size_t start = block->start.begin;
    const std::size_t end = block->end.begin;
    const std::size_t letter_at = start + kModeLetterOffset;
    const char16_t letter = letter_at < text.size() ? text[letter_at] : u'\0';
    if (!is_compatible_mode_letter(letter) && !is_base64_mode_letter(letter)) {
      items.push_back(problem(Outcome::later_format));
      return items;
    }
    if (end < letter_at) {
      // The end marker would have to stand inside the start marker's line.
      items.push_back(problem(Outcome::damaged));
      return items;
    }
    // The block's own text without its mode letter: a copy of this block
    // alone, so that reading many blocks stays linear.
    std::u16string region(std::u16string_view(text).substr(start, letter_at - start));
    region.append(std::u16string_view(text).substr(letter_at + 1, end - letter_at - 1));
    const std::u16string payload = joined_lines(region);
    items.push_back(is_base64_mode_letter(letter) ? envelope_item(letter, payload)
                                                  : compatible_item(letter, payload));
    if (items.back().problem) return items;
  }
  return items;
}

}  // namespace quiren::block
