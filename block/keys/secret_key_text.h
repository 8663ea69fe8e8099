// The secret key text: one ASCII line, kSecretKeyLabel and then the 32-byte
// X25519 secret key in base64 without padding. Kept on disk bare or sealed
// under a passphrase as an ordinary strong block (key_file.h). The public
// key is not stored: X25519 gives it from the secret key.
#pragma once

#include <optional>
#include <string_view>

#include "block/secret.h"
#include "block/strong/secret_key.h"

namespace quiren::block {

// The line, without a line break.
SecretBytes secret_key_text(const SecretKey& secret);

// The key of the line a writer writes, one line break (CR LF or LF) after
// it allowed; nullopt for anything else (another label, padding, a length
// other than 32 bytes, bits after the last byte).
std::optional<SecretKey> read_secret_key_text(std::string_view text);

}  // namespace quiren::block
