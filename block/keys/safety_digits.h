// A public key's safety digits: six groups of five digits that two people
// compare once, by phone or in person, to know that a key is the one its
// holder made ("97452 31774 64868 54053 48266 91028"). For a key P:
// h = SHA-256(kDigitsLabel ‖ P); group g is the 5 bytes h[5g..5g+4] as a
// big-endian number modulo 100000, with leading zeros.
#pragma once

#include <optional>
#include <string>

#include "block/strong/crypto_provider.h"

namespace quiren::block {

// nullopt when the platform's SHA-256 fails.
std::optional<std::string> safety_digits(CryptoProvider& crypto, const X25519PublicKey& public_key);

}  // namespace quiren::block
