// Finding the blocks in a text as it came back from mail, chat and office
// programs, and putting one back into its writer's form. The repair of
// received texts (received_text.h) and the damage finder (block_damage.h)
// both work through this, so they see the same blocks and the same lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/block_rules.h"

namespace quiren::block {

struct ReceivedBlock {
  // Where the start marker's line begins, or where the previous block
  // ended when that is later.
  std::size_t line_begin = 0;
  MarkerSpan start;  // where each marker stands in the received text
  MarkerSpan end;
};

// Whether `text` holds a start marker, or one followed by an end marker,
// each either exact or with characters programs put in: invisible ones and
// full-width forms (received_characters.h). A blank inside a marker hides
// it here, as it hides it from the reader.
bool has_received_start_marker(std::u16string_view text);
bool has_received_block(std::u16string_view text);

// The blocks of `text` in order, found the way the reader finds them: a
// start marker begins a block only where it comes before the next end
// marker, and once a block is found, spaces inside later markers do not
// hide them (the reader drops every space). Empty unless
// has_received_block(text). Linear in the text's length.
std::vector<ReceivedBlock> received_blocks(std::u16string_view text);

// Whether the start marker's line holds nothing before the marker but a
// quote prefix: ">" and "|" (or their full-width forms), blanks and
// invisible characters.
bool after_quote_prefix(std::u16string_view text, const ReceivedBlock& block);

// The block from its start marker to its end marker in the writer's form:
//   - the markers without the invisible characters, full-width forms as
//     ASCII;
//   - the quote prefix of the start marker's line taken from every line
//     that begins with the same ">" and "|" (blanks between them do not
//     count), so a body line keeps a ">" or "|" of its own;
//   - in the body, blanks and invisible characters dropped, full-width
//     forms as ASCII and, in a compatible block (mode letter "A" or "B"),
//     curly quotes as straight ones; lines left empty dropped; CR LF
//     between lines;
//   - body text on the start marker's line, or on the end marker's line
//     before the marker, on a line of its own when it is printable ASCII,
//     as a body is. Other text before the end marker stays there as it
//     came, where the reader passes over it.
// nullopt when other text follows the start marker on its line, or when a
// body line would spell an end marker. With `origins`, origins[i] is the
// offset in `text` of the character that became character i (for a line
// break: of the line's end).
std::optional<std::u16string> writers_form(std::u16string_view text, const ReceivedBlock& block,
                                           std::vector<std::size_t>* origins = nullptr);

}  // namespace quiren::block
