// Opening one armoured block, of either kind. A compatible block: the
// password check against the block's check field, then the text field,
// through the compatible cipher, in the ANSI code page it works in. A strong
// block: its envelope opened under the password's UTF-8 in NFC, or as typed
// for a block sealed before keys came from NFC (password_nfc.h). decrypt_run.h
// opens every block of a text this way under one password.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "block/armoured_block.h"
#include "block/background_job.h"
#include "block/outcome.h"
#include "block/secret.h"

namespace quiren::block {

class CipherLibrary;
class CryptoProvider;

// The one password the user gave, in the two forms the two kinds of block
// take it.
struct BlockPassword {
  SecretBytes ansi;  // compatible blocks: the ANSI code page's bytes
  SecretBytes utf8;  // strong blocks
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

// The outcome of one item from read_blocks. A compatible block's check field
// is decrypted first, its text field only when the password is right. An
// item with a problem makes no cipher call.
BlockResult decrypt_block(const BlockItem& item, const BlockPassword& password, CipherLibrary& library,
                           CryptoProvider& crypto);

// The forms of the password a strong block is tried under, in turn (each
// costs a key derivation): copies, for a job to own.
std::vector<SecretBytes> strong_passwords(const BlockPassword& password);

// Opens the blocks of one text one after another under one password, their
// texts adding up to at most kLongestText: a block that would pass it comes
// out over_limit (its text dropped), and so does every block after it. A
// strong block's length is known before its key is derived, so one that
// would pass the limit costs no derivation.
class BlockOpener {
 public:
  BlockOpener(BlockPassword password, CipherLibrary& library, std::shared_ptr<CryptoProvider> crypto);
  // A strong block's key work goes to `runner` (the compatible cipher is
  // called here, on the calling thread); when the user cancels there, the
  // block comes out cancelled.
  BlockResult open(const BlockItem& item, JobRunner& runner);
  BlockResult open(const BlockItem& item) {
    RunHere here;
    return open(item, here);
  }

 private:
  BlockResult open_strong(const BlockItem& item, JobRunner& runner);

  BlockPassword password_;
  CipherLibrary& library_;
  std::shared_ptr<CryptoProvider> crypto_;
  std::size_t given_back_ = 0;  // bytes of text so far
  bool spent_ = false;
};

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
