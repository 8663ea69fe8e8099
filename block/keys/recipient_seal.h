// Sealing a text into a recipient envelope (keys_layout.h gives the bytes):
// for one or more public keys, from the holder of the sender's secret key,
// who is always among the recipients so that a sender can read what they
// sent.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "block/strong/crypto_provider.h"
#include "block/strong/strong_envelope.h"

namespace quiren::block {

// Every input of a recipient envelope that seal_recipient_envelope draws.
struct RecipientSealInputs {
  SecretKey ephemeral_secret;  // e, whose public key E the header carries
  SecretKey text_key;          // K
  std::array<std::uint8_t, kNonceSize> nonce{};
  std::uint64_t written_at = 0;  // seconds since 1970-01-01 UTC
};

struct RecipientSeal {
  SealStatus status = SealStatus::crypto_failed;
  std::vector<std::uint8_t> envelope;  // empty unless sealed
};

// For known-answer and interoperability tests: the slots for `slot_order`
// exactly as given (the writer's key is not added), every random input
// given. A text key or one-off key used twice gives texts away.
RecipientSeal seal_recipient_envelope_with(CryptoProvider& crypto, std::string_view text_utf8,
                                           const SecretKey& sender_secret,
                                           std::span<const X25519PublicKey> slot_order,
                                           const RecipientSealInputs& inputs);

// Puts the slots in random order, so that their order tells nothing of who
// they are for: Fisher-Yates, each draw by random_index (random_index.h).
// False when the source fails.
bool shuffle_slot_order(std::span<X25519PublicKey> order, CryptoProvider& random);

// For `recipients` and the writer (added when missing; a key given twice
// gets one slot), the slots shuffled with the random source, a fresh
// one-off key, text key and nonce, written now. The one-off secret key and
// the text key are wiped when done.
RecipientSeal seal_recipient_envelope(CryptoProvider& crypto, std::string_view text_utf8,
                                      const SecretKey& sender_secret, std::span<const X25519PublicKey> recipients);

}  // namespace quiren::block
