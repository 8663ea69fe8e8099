#include "block/received_text.h"

#include <optional>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_rules.h"
#include "block/received_blocks.h"
#include "block/received_characters.h"

namespace quiren::block {

namespace {

bool is_line_break(char16_t c) { return c == u'\r' || c == u'\n'; }

// A character the repair would drop or read as another. Printable ASCII,
// all that a readable field holds, it never changes.
bool repair_changes(char16_t c) {
  if (c > u' ' && c < 0x7F) return false;
  return is_blank(c) || is_line_break(c) || is_invisible_insertion(c) || ascii_form(c) != c ||
         straight_quote(c) != c;
}

bool holds_what_repair_changes(std::u16string_view s) {
  for (char16_t c : s)
    if (repair_changes(c)) return true;
  return false;
}

// Whether the reader reads the block [start marker, end marker] without a
// problem, into fields that nothing here would change. The reader's result
// for a block depends on nothing outside it, so the block is read alone
// (without spaces when they break a marker, as the reader drops them
// anyway).
bool reads_as_it_stands(std::u16string_view block, bool broken_marker) {
  std::vector<BlockItem> items = read_blocks(broken_marker ? without_spaces(block) : std::u16string(block));
  if (items.empty() || items.front().problem) return false;
  const BlockFields& f = items.front().fields;
  return !holds_what_repair_changes(f.check_field) && !holds_what_repair_changes(f.text_field) &&
         !repair_changes(f.text_mode);
}

}  // namespace

bool holds_start_marker(std::u16string_view text) { return has_received_start_marker(text); }

std::u16string repair_received_text(std::u16string_view text) {
  const std::vector<ReceivedBlock> blocks = received_blocks(text);
  if (blocks.empty()) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  std::size_t done = 0;  // text before this offset is in `out`
  for (const ReceivedBlock& block : blocks) {
    const std::u16string_view as_received = text.substr(block.start.begin, block.end.end - block.start.begin);
    const bool broken_marker = text.substr(block.start.begin, block.start.end - block.start.begin) != kStartMarker ||
                               text.substr(block.end.begin, block.end.end - block.end.begin) != kEndMarker;
    std::optional<std::u16string> form;
    if (after_quote_prefix(text, block) && !reads_as_it_stands(as_received, broken_marker)) {
      form = writers_form(text, block);
    }
    if (form) {
      out.append(text.substr(done, block.line_begin - done));
      out += *form;
    } else {
      out.append(text.substr(done, block.end.end - done));
    }
    done = block.end.end;
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace quiren::block
