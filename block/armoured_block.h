// The armoured block: the text users exchange. It frames one of two kinds
// of payload between two marker lines, wrapped into short lines:
//
//   (quiren_start) CR LF
//   <mode letter><payload> ...
//   ... wrapped so that no body line is longer than the wrap width,
//       the first line counting the mode letter ...
//   CR LF (quiren_end)                      <- nothing after the end marker
//
// A compatible block (mode letter "A" or "B", the check mode letter) holds
// the two results of the compatible cipher's encrypt call: the check value
// made from the password alone, ">", the text mode letter and the encrypted
// text. A strong block (mode letter "C") holds a strong envelope
// (block/strong/) in base64 (base64.h) and no ">". Every character of a
// block is ASCII. Strings here are UTF-16 (the tray program's text); the
// tool widens its bytes one for one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "block/block_rules.h"

namespace quiren::block {

// One result of the compatible cipher's encrypt call, taken apart:
// everything but the last character is the field, the last character the
// mode letter ("A" or "B" from a working library). An empty result gives an
// empty field and the mode letter u'\0'.
struct LibraryResult {
  std::u16string field;
  char16_t mode = u'\0';
};
LibraryResult split_result(std::u16string_view result);

// Whether a library result is one a working library writes: a mode letter
// "A" or "B" after a field of whole armour groups. An empty result is not.
bool is_plausible_result(const LibraryResult& result);

// The compatible block for a check result and a text result, wrapped at
// `width` characters (clamped to kNarrowestWrap..kWidestWrap). Line breaks
// are CR LF; the block ends with the end marker itself.
std::u16string write_block(const LibraryResult& check, const LibraryResult& text, int width);

// The block framing `payload` under `mode_letter`, wrapped as above.
std::u16string frame_block(char16_t mode_letter, std::u16string_view payload, int width);

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
//      asking for a password: an item with problem version_cannot_read means
//      "this version cannot read it", unreadable the catch-all failure.
//   4. Ask for the password once, then decrypt the first item and each
//      further item in turn (decrypt_block in block_decrypt.h). An item with
//      a problem is always the last item: the flow stops there, keeping the
//      results of the earlier blocks.
//
// read_blocks removes every space from the whole text first (so spaces in
// the body or in a marker do no harm at this stage), then for each block:
//   - the character right after the start marker's line break (the 17th
//     counted from the marker's "(") is the mode letter; "A" and "B" open a
//     compatible block, "C" a strong one, any other letter a block of a
//     later version;
//   - the lines after the marker line, up to the first end marker, are
//     joined (joinlines: only lines ended by CR LF count, so a block whose
//     line breaks became bare LF or CR is unreadable, and the end marker has
//     to begin a line);
//   - a compatible payload is split at its first ">": check field before it,
//     then the text mode letter, then the text field; a strong payload is
//     the envelope's base64.
// Every compatible field must be whole groups of armour characters, a strong
// payload base64 as its writer writes it, and a strong envelope one this
// version reads, before any password is asked or any cipher called.
// A further block is read while another end marker follows the previous
// block's end marker and a start marker comes before that end marker; a
// stray end marker with no start marker before it ends the reading.
// Received texts (quoted replies, changed line breaks) are repaired first
// by repair_received_text (received_text.h).
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

enum class BlockKind { compatible, strong };

enum class BlockProblem {
  none,
  version_cannot_read,  // a mode letter or a strong envelope of a later version
  unreadable,           // no ">", a field that is not whole armour groups, a damaged envelope
};

struct BlockItem {
  BlockProblem problem = BlockProblem::none;
  BlockKind kind = BlockKind::compatible;
  BlockFields fields;                  // a compatible block's, when problem is none
  std::vector<std::uint8_t> envelope;  // a strong block's, when problem is none
};

// Every block of `text` in order, ending with the first item that has a
// problem. Empty only when has_block(text) is false. Linear in the text's
// length however many blocks it holds.
std::vector<BlockItem> read_blocks(std::u16string_view text);

// `text` without any space (U+0020); nothing else is removed.
std::u16string delspace(std::u16string_view text);

// Given the text from a start marker up to (not including) the following end
// marker: the lines after the first line, each without its CR LF,
// concatenated. Only lines ended by CR LF are taken; whatever follows the
// last CR LF is dropped.
std::u16string joinlines(std::u16string_view region);

}  // namespace quiren::block
