// Opening a recipient envelope with a secret key: every slot is tried; the
// one that opens gives the text key.
#pragma once

#include <cstdint>
#include <span>

#include "block/outcome.h"
#include "block/secret.h"
#include "block/strong/crypto_provider.h"

namespace quiren::block {

// Who wrote an opened recipient block, and when by their clock.
struct RecipientSender {
  X25519PublicKey public_key{};  // S: only its holder (or the reader) could have made the slot that opened
  std::uint64_t written_at = 0;  // seconds since 1970-01-01 UTC
};

// What opening came to: opened (the text, its sender and time), or
// check_recipient_envelope's problem, refused_settings (E or S of low
// order: X25519 gives all zeros, before any slot is tried),
// not_for_this_key (no slot opened, or the text's tag failed), damaged (an
// authentic text that is not UTF-8) or failed (the platform's cryptography
// reported an error). The text is a secret, wiped with the result.
struct RecipientOpened {
  Outcome outcome = Outcome::damaged;
  SecretBytes text;  // UTF-8, when opened
  RecipientSender sender;  // when opened
};

RecipientOpened open_recipient_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope,
                                        const SecretKey& secret);

}  // namespace quiren::block
