// Repairs what mail, chat and office programs do to a block on its way,
// before the block reader sees it. The tray program's decrypt flow and the
// command-line tool both read through it.
#pragma once

#include <string>
#include <string_view>

#include "block/received_characters.h"

namespace quiren::block {

// Whether `text` holds a start marker, exact or as the repair finds it:
// with invisible characters put in, or in full-width forms
// ("（ｑｕｉｒｅｎ＿ｓｔａｒｔ）"). Such a text is a block to decrypt, never
// a text to encrypt.
bool holds_start_marker(std::u16string_view text);

// The text with each block that the reader cannot read as it stands put
// back into the writer's form (writers_form in received_blocks.h), from its
// start marker's line to its end marker:
//   - line breaks (CR LF, bare LF, bare CR) become CR LF;
//   - when the start marker's line begins with a quote prefix (">", "|",
//     blanks and invisible characters only, such as "> ", ">> ", "＞　" or
//     an indent), that prefix is removed from every line of the block that
//     begins with the same ">" and "|", so a body line keeps a ">" or "|"
//     of its own;
//   - the invisible characters programs put in to let long words wrap
//     (U+200B, U+200C, U+200D, U+2060, U+FEFF, U+00AD) are removed from the
//     marker and body lines, and full-width forms of ASCII (U+FF01..U+FF5E)
//     read as ASCII there, the ideographic space as a space;
//   - blanks are removed from the body, and lines left empty are dropped;
//   - curly quotes (‘ ’ “ ”) read as straight ones in a compatible block's
//     body;
//   - body text on the start marker's line or on the end marker's line
//     before the marker (lines a chat program ran together, up to the whole
//     block on one line) goes on a line of its own when it is printable
//     ASCII, as a block's body is. Other text before the end marker stays
//     there, where the reader passes over it; other text after the start
//     marker leaves the block as it stands.
// Blocks are found the way the reader finds them, in markers that may hold
// what programs put in: a marker broken by spaces counts once a first
// block is found, and a start marker begins a block only where it comes
// before the next end marker.
//
// Left exactly as they stand:
//   - a text without a start marker followed by an end marker, exact or as
//     found here (then has_block gives the same answer before and after the
//     repair);
//   - a block whose start marker is preceded on its line by anything but a
//     quote prefix ("see (quiren_start)");
//   - a block the reader reads without a problem into fields that hold
//     nothing the repair would change: what the reader made of it stays;
//   - a block whose repair would make an end marker out of a broken one;
//   - everything outside the blocks.
// Every armour and marker character is printable ASCII, and only the quote
// prefix, blanks and invisible characters are removed (never a ">" of the
// body), so no block changes meaning. Linear in the text's length.
std::u16string repair_received_text(std::u16string_view text);

}  // namespace quiren::block
