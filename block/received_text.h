// Repairs what mail and chat programs do to a block on its way, before the
// block reader sees it. The tray program's decrypt flow and the command-line
// tool both read through it.
#pragma once

#include <string>
#include <string_view>

namespace quiren::block {

// The whitespace mail editors put into and around a block's lines: space,
// tab, no-break space (U+00A0) and ideographic space (U+3000). None of them
// is ever part of a block's body.
bool is_blank(char16_t c);

// The text with each block that the reader cannot read as it stands put
// back into the writer's form, from its start marker's line to its end
// marker:
//   - line breaks (CR LF, bare LF, bare CR) become CR LF;
//   - when the start marker's line begins with a quote prefix (">", "|" and
//     blanks only, such as "> ", ">> " or an indent), that prefix is removed
//     from every line of the block that begins with the same ">" and "|"
//     (blanks between them do not count), so a body line keeps a ">" or "|"
//     of its own;
//   - blanks are removed from the body, and lines left empty are dropped;
//   - body text on the start marker's line or on the end marker's line
//     before the marker (lines a chat program ran together, up to the whole
//     block on one line) goes on a line of its own when it is printable
//     ASCII, as a block's body is. Other text before the end marker stays
//     there, where the reader passes over it; other text after the start
//     marker leaves the block as it stands.
// Blocks are found the way the reader finds them: a marker broken by spaces
// counts, and a start marker begins a block only where it comes before the
// next end marker.
//
// Left exactly as they stand:
//   - a text without a start marker followed by an end marker (has_block
//     gives the same answer before and after the repair);
//   - a block whose start marker is preceded on its line by anything but a
//     quote prefix ("see (quiren_start)");
//   - a block the reader reads without a problem into fields that hold no
//     blank and no line break: what the reader made of it stays;
//   - a block whose repair would make an end marker out of a broken one;
//   - everything outside the blocks.
// Only the quote prefix and blanks are ever removed, and never a ">" of the
// body, so no block changes meaning.
std::u16string repair_received_text(std::u16string_view text);

}  // namespace quiren::block
