// Opening one armoured block's pieces: a compatible block through the
// compatible cipher, in the ANSI code page it works in (the password check
// against the block's check field, then the text field). A strong block's
// envelope is opened by decrypt_run.h, which decides which forms of the
// password it is tried under.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "block/armoured_block.h"
#include "block/outcome.h"
#include "block/secret.h"

namespace quiren::block {

class CipherLibrary;

// The one password the user gave, in the two forms the two kinds of block
// take it.
struct BlockPassword {
  SecretBytes ansi;  // compatible blocks: the ANSI code page's bytes
  SecretBytes utf8;  // strong blocks, as typed (their key comes from its NFC form)
};

enum class TextEncoding {
  ansi,  // a compatible block's text: the ANSI code page the library works in
  utf8,  // a strong block's text
};

// One block as a reader finished with it: its outcome and, when opened,
// its text.
struct BlockResult {
  Outcome outcome = Outcome::damaged;
  SecretBytes text;  // set only when opened, in `encoding`
  TextEncoding encoding = TextEncoding::ansi;

  BlockResult(Outcome o = Outcome::damaged, SecretBytes t = {}, TextEncoding e = TextEncoding::ansi)
      : outcome(o), text(std::move(t)), encoding(e) {}
};

// A compatible block's fields opened under the password's ANSI bytes: the
// check field is decrypted first, the text field only when the password is
// right. A field the library never writes makes no call (damaged).
BlockResult decrypt_compatible(const BlockFields& fields, std::string_view password, CipherLibrary& library);

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
std::string_view without_fill(std::string_view result, char16_t mode);

}  // namespace quiren::block
