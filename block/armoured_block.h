// The armoured block: the text users exchange. It frames a payload between
// two marker lines, wrapped into short lines:
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
// (block/strong/) in base64 (base64.h) and no ">"; a key block ("K") and a
// recipient block ("D") hold theirs (block/keys/) the same way. Every
// character of a block is ASCII. Strings here are UTF-16 (the tray
// program's text); the tool widens its bytes one for one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/block_rules.h"
#include "block/outcome.h"

namespace quiren::block {

// Writing.

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
// are CR LF; the block ends with the end marker itself. Writing one from a
// text and a password is write_compatible_block's work
// (compatible_block.h).
std::u16string frame_compatible_block(const LibraryResult& check, const LibraryResult& text, int width);

// The block framing `payload` under `mode_letter`, wrapped as above.
std::u16string frame_block(char16_t mode_letter, std::u16string_view payload, int width);

// Reading. A text may hold several blocks; they are found and follow one
// another as block_rules.h says, by exact, case-sensitive search (a space
// inside a marker hides a block from has_block). Received texts (quoted
// replies, changed line breaks) are repaired first by repair_received_text
// (received_text.h); decrypt_run.h reads, asks for the password and opens
// the blocks in one go. A compatible block's fields must be whole groups of
// armour characters, a strong block's payload base64 as its writer writes
// it, before any password is asked or any cipher called.

// Whether the text holds a start marker with an end marker after it, as it
// stands.
bool has_block(std::u16string_view text);

struct BlockFields {
  char16_t check_mode = u'\0';  // "A" or "B"
  std::u16string check_field;
  // The character after ">"; u'\0' when ">" ends the payload. Not checked
  // here: any letter but "B" decrypts as the plain text payload.
  char16_t text_mode = u'\0';
  std::u16string text_field;
};

enum class BlockKind {
  compatible,  // "A", "B": opened under a password
  strong,      // "C": opened under a password
  key,         // "K": someone's public key, no text (block/keys/key_block.h)
  recipient,   // "D": opened with a secret key (block/keys/recipient_open.h)
};

struct BlockItem {
  // nullopt for a block a password or a secret key may open (or a key block
  // whose checksum and name are still to be read); else what it comes to
  // without either: later_format (a mode letter or an envelope of a later
  // version), refused_settings (an envelope with settings or values readers
  // refuse: envelope_check.h, recipient_check.h) or damaged (no ">", a field
  // that is not whole armour groups, a damaged envelope).
  std::optional<Outcome> problem;
  BlockKind kind = BlockKind::compatible;  // also for a block of its kind with a problem
  BlockFields fields;                  // a compatible block's, when problem is none
  std::vector<std::uint8_t> envelope;  // a strong, key or recipient block's, when problem is none
};

// Every block of `text` in order, ending with the first item that has a
// problem. Empty only when has_block(text) is false. Linear in the text's
// length however many blocks it holds. Every space is removed from the
// whole text first, so spaces in a body or a marker do no harm here. Then,
// for each block:
//   - the mode letter is the character right after the start marker's line
//     break (by position: after bare LF line breaks it is a payload
//     character, and usually not a letter this version knows);
//   - the payload is the lines after the marker line up to the end marker,
//     joined (joined_lines: a block whose line breaks became bare LF or CR
//     is damaged, and the end marker has to begin a line);
//   - a compatible payload is split at its first ">": check field before
//     it, then the text mode letter, then the text field; a strong, key or
//     recipient payload is the envelope's armour.
// Every field must be whole groups of armour characters, and an envelope
// one this version reads as far as it can be checked without a key (and,
// for a key block, without its checksum), before any password or key is
// asked or any cipher called.
std::vector<BlockItem> read_blocks(std::u16string_view text);

// Whole groups of armour characters: what the compatible cipher writes and
// the only thing handed to it.
bool is_armour_field(std::u16string_view field);

// `text` without any space (U+0020); nothing else is removed.
std::u16string without_spaces(std::u16string_view text);

// Given the text from a start marker up to (not including) the following end
// marker: the lines after the first line, each without its CR LF,
// concatenated. Only lines ended by CR LF are taken; whatever follows the
// last CR LF is dropped.
std::u16string joined_lines(std::u16string_view region);

}  // namespace quiren::block
