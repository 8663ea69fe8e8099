// A public key as the program's stored values write it (the contacts, the
// encrypt prompt's remembered recipients): base64 without padding, the
// form key blocks use, 43 characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "block/strong/crypto_provider.h"

namespace quiren {

std::u16string stored_public_key(const block::X25519PublicKey& key);
// The key `text` holds when it is exactly what stored_public_key writes.
std::optional<block::X25519PublicKey> read_stored_public_key(std::u16string_view text);

}  // namespace quiren
