// The armoured block: the text users exchange. It frames the two results of
// the library's encrypt call (the check value made from the password alone,
// and the encrypted text) between two marker lines, wrapped into short lines:
//
//   (quiren_start) CR LF
//   <check mode letter><check field> ">" <text mode letter><text field> ...
//   ... wrapped so that no body line is longer than the wrap width,
//       the first line counting the check mode letter ...
//   CR LF (quiren_end)                      <- nothing after the end marker
//
// Every character of a block is ASCII. Strings here are UTF-16 (the tray
// program's text); the command-line tool widens its bytes one for one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "block/block_rules.h"

namespace quiren::block {

// One result of the library's encrypt call, taken apart: everything but the
// last character is the field, the last character the mode letter ("A" or
// "B" from a working library). An empty result gives an empty field and the
// mode letter u'\0'.
struct LibraryResult {
  std::u16string field;
  char16_t mode = u'\0';
};
LibraryResult split_result(std::u16string_view result);

// The block for a check result and a text result, wrapped at `width`
// characters (clamped to kNarrowestWrap..kWidestWrap). Line breaks are CR LF;
// the block ends with the end marker itself.
std::u16string write_block(const LibraryResult& check, const LibraryResult& text, int width);

// ---------------------------------------------------------------------------
// Reading.
//
// The decrypt flow works in this order, and the two functions below are cut
// to follow it:
//   1. has_block(text): is there a start marker with an end marker at or
//      after it, by exact, case-sensitive search in the text as read (a space
//      inside a marker hides the block)? If not, the flow ends silently.
//   2. (the flow may ask whether to decrypt)
//   3. read_blocks(text): the blocks in order. Inspect the first item before
//      asking for a password: an item with problem unknown_mode_letter means
//      "this version cannot read it", no_separator the catch-all failure.
//   4. Ask for the password once, then decrypt the first item and each
//      further item in turn (decrypt_block in block_decrypt.h). An item with
//      a problem is always the last item: the flow stops there, keeping the
//      results of the earlier blocks.
//
// read_blocks removes every space from the whole text first (so spaces in
// the body or in a marker do no harm at this stage), then for each block:
//   - the character right after the start marker's line break (the 17th
//     counted from the marker's "(") is the check mode letter; it must be
//     "A" or "B", and is taken out of the text;
//   - the lines after the marker line, up to the first end marker, are
//     joined (joinlines: only lines ended by CR LF count, so a block whose
//     line breaks became bare LF or CR is unreadable, and the end marker has
//     to begin a line);
//   - the joined payload is split at its first ">": check field before it,
//     then the text mode letter, then the text field.
// A further block is read while another end marker follows the previous
// block's end marker and a start marker comes before that end marker; a
// stray end marker with no start marker before it ends the reading.
// Quote prefixes before lines (">", "| ") are not removed: such a block fails
// the mode-letter test.
// ---------------------------------------------------------------------------

bool has_block(std::u16string_view text);

struct BlockFields {
  char16_t check_mode = u'\0';  // "A" or "B"
  std::u16string check_field;
  // The character after ">"; u'\0' when ">" ends the payload. Not checked
  // here: any letter but "B" decrypts as the plain text payload.
  char16_t text_mode = u'\0';
  std::u16string text_field;
};

enum class BlockProblem {
  none,
  unknown_mode_letter,  // the check mode letter is neither "A" nor "B"
  no_separator,         // the payload holds no ">"
};

struct BlockItem {
  BlockProblem problem = BlockProblem::none;
  BlockFields fields;  // filled only when problem is none
};

// Every block of `text` in order, ending with the first item that has a
// problem. Empty only when has_block(text) is false.
std::vector<BlockItem> read_blocks(std::u16string_view text);

// `text` without any space (U+0020); nothing else is removed.
std::u16string delspace(std::u16string_view text);

// Given the text from a start marker up to (not including) the following end
// marker: the lines after the first line, each without its CR LF,
// concatenated. Only lines ended by CR LF are taken; whatever follows the
// last CR LF is dropped.
std::u16string joinlines(std::u16string_view region);

}  // namespace quiren::block
