// The key block (mode letter "K"): someone's public key and the name its
// holder suggests, framed like every block, for copying into a mail. It
// carries no message. keys_layout.h gives the bytes; its safety digits
// (safety_digits.h) are what makes a key trustworthy, compared once.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "block/keys/key_name.h"
#include "block/outcome.h"
#include "block/strong/crypto_provider.h"

namespace quiren::block {

// What a key block holds.
struct KeyBlockContent {
  X25519PublicKey public_key{};
  std::string name;  // UTF-8 in NFC; may be empty
};

struct KeyEnvelopeWrite {
  KeyNameProblem problem = KeyNameProblem::none;  // the name was refused
  bool hash_failed = false;                        // the platform's SHA-256 failed
  std::vector<std::uint8_t> envelope;              // empty unless written
};

// The envelope for a public key and its holder's name (put in NFC here).
KeyEnvelopeWrite write_key_envelope(CryptoProvider& crypto, const X25519PublicKey& public_key,
                                    std::string_view name_utf8);

// The block for an envelope, wrapped at `width` as every block is.
std::u16string frame_key_envelope(std::span<const std::uint8_t> envelope, int width);

// The checks that need no hash, as the block reader makes them before
// anything is asked: an empty envelope is damaged; a version other than 1,
// or a key type other than 1 (when the envelope has that byte), is a later
// format; a length other than 39 + the name length is damaged. nullopt when
// the rest may be read.
std::optional<Outcome> check_key_envelope(std::span<const std::uint8_t> envelope);

struct KeyBlockRead {
  Outcome outcome = Outcome::damaged;  // opened when read
  KeyBlockContent content;             // when opened
};

// Every check in order: check_key_envelope's, then the checksum (damaged),
// then the name (refused_settings: over 64 bytes, not UTF-8, holding a
// forbidden character or not in NFC). failed when SHA-256 fails.
KeyBlockRead read_key_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope);

}  // namespace quiren::block
