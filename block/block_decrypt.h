// Decrypting one armoured block: the password check against the block's
// check field, then the text field. Shared by the tray program's decrypt
// flow and the command-line tool, so both give the same result for a block.
//
// Bytes here (password, plain text) are in the ANSI code page the library
// works in; converting them to and from the user's text is the caller's job.
#pragma once

#include <string>
#include <string_view>

#include "block/armoured_block.h"

namespace quiren::block {

class CipherLibrary;

enum class BlockOutcomeKind {
  plain_text,           // text holds the decrypted text
  wrong_password,       // the check field did not decrypt to the password
  library_failed,       // the library is missing or a call failed
  version_cannot_read,  // the check mode letter is neither "A" nor "B"
  unreadable,           // a payload without ">", or a field that cannot be
                        // armour (a character outside ASCII)
};

struct BlockOutcome {
  BlockOutcomeKind kind = BlockOutcomeKind::unreadable;
  std::string text;  // ANSI bytes; set only for plain_text
};

// The outcome of one item from read_blocks. The check field is decrypted
// first; the text field only when the password is right. An item with a
// problem makes no library call.
BlockOutcome decrypt_block(const BlockItem& item, std::string_view password, CipherLibrary& library);

// The password as encryption fills it before enciphering: up to a multiple
// of 4 bytes with "x", or with "X" when its last byte is "x".
std::string filled_like_encryption(std::string_view bytes);

// Whether a decrypted check field proves the password right. A mode "A"
// check field decrypts to the filled password, a mode "B" one to the
// password itself; both are compared exactly.
bool password_matches(std::string_view decrypted_check, char16_t check_mode, std::string_view password);

// A library decrypt result without the fill letters encryption appended.
// Mode "B" results are exact and returned unchanged. From any other mode's
// result at most 3 trailing letters are removed: a run of "x" after a byte
// other than "x", or a run of "X" after an "x" (the longest such run).
// Texts whose length was a multiple of 4 and that end in such a run come
// back shortened; that is the one ambiguity the block format leaves.
std::string cleanresult(std::string_view result, char16_t mode);

}  // namespace quiren::block
