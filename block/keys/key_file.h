// A secret key as it is kept in a file (or comes back from one, by mail):
// the secret key text alone, or sealed under a passphrase as an ordinary
// strong block whose text is that line, so anything that opens strong
// blocks can restore a key. Read as received: a byte order mark, CR LF
// line breaks, a sealed block quoted in a reply or re-wrapped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "block/outcome.h"
#include "block/secret.h"
#include "block/strong/crypto_provider.h"
#include "block/strong_block.h"

namespace quiren::block {

// The largest key file a reader takes: a sealed key quoted in a long mail
// fits, and nothing larger is read into memory.
inline constexpr std::size_t kLargestKeyFile = std::size_t{1} << 20;

enum class KeyFileForm {
  none,    // neither a secret key text nor a strong block
  bare,    // the secret key text
  sealed,  // a block, to be opened under a passphrase
};

struct KeyFileText {
  KeyFileForm form = KeyFileForm::none;
  std::optional<SecretKey> key;        // bare
  std::vector<std::uint8_t> envelope;  // sealed and readable: the strong envelope
  // sealed but unreadable: what the strong block comes to (damaged,
  // later_format, refused_settings).
  std::optional<Outcome> problem;
};

// What a key file's bytes (UTF-8) hold. In a text holding a start marker,
// its first block (repaired as received texts are) is a sealed key when it
// is a strong block; any other block holds none.
KeyFileText read_key_file_text(std::string_view bytes);

struct SealedKeyOpened {
  // opened; wrong_password (or changed); damaged when the block opens to
  // something other than a secret key text; failed.
  Outcome outcome = Outcome::failed;
  std::optional<SecretKey> key;  // when opened
};

// Opens a sealed key's envelope under the passphrase in NFC.
SealedKeyOpened open_sealed_key(CryptoProvider& crypto, std::span<const std::uint8_t> envelope,
                                std::string_view passphrase_utf8);

// A bare key file's bytes: the secret key text and a line break.
SecretBytes bare_key_file(const SecretKey& secret);

// The sealed key's block: the secret key text as a strong block under the
// passphrase in NFC (write_strong_block), wrapped at `width`.
StrongBlock sealed_key_block(CryptoProvider& crypto, const SecretKey& secret, std::string_view passphrase_utf8,
                             int width);

}  // namespace quiren::block
