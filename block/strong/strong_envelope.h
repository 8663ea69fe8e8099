// Sealing a text into a strong envelope under a password, and opening it.
// See envelope_layout.h for the bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "block/outcome.h"
#include "block/strong/crypto_provider.h"
#include "block/strong/envelope_layout.h"
#include "block/secret.h"

namespace quiren::block {

enum class SealStatus {
  sealed,
  random_unavailable,  // the system's random source failed: nothing was encrypted
  text_not_utf8,
  text_too_long,  // over kMaxTextBytes
  crypto_failed,  // the platform's key derivation or cipher reported an error
  // Recipient blocks only (block/keys/recipient_seal.h):
  recipient_count,        // none, or more than kMostRecipients with the writer
  recipient_key_refused,  // a recipient's public key of low order: X25519 gives all zeros
};

struct SealResult {
  SealStatus status = SealStatus::crypto_failed;
  std::vector<std::uint8_t> envelope;  // empty unless sealed
};

// 600,000 iterations, a fresh random salt and nonce.
SealResult seal_envelope(CryptoProvider& crypto, std::string_view text_utf8, std::string_view password_utf8);

struct SealParameters {
  std::uint32_t iterations = kWriteIterations;
  std::array<std::uint8_t, kSaltSize> salt{};
  std::array<std::uint8_t, kNonceSize> nonce{};
};

// For known-answer and interoperability tests only. The iteration count is
// written as given, even where readers refuse it. Two texts sealed under one
// password with the same salt and nonce give both away.
SealResult seal_envelope_with(CryptoProvider& crypto, std::string_view text_utf8, std::string_view password_utf8,
                              const SealParameters& parameters);

// What opening an envelope came to, as its outcome: opened,
// later_format (tell the user to upgrade), refused_settings (upgrading would
// not help), damaged (malformed, or the text inside is not UTF-8),
// wrong_password (the tag does not verify: a wrong password and a changed
// envelope cannot be told apart) or failed (the platform's key derivation
// or cipher reported an error). The decrypted text is a secret: wiped when
// the result goes away, handed over whole when it is moved out.
struct OpenResult {
  Outcome outcome = Outcome::damaged;
  SecretBytes text;  // the text when opened, else empty
};

// Never derives a key for an envelope check_envelope refuses, and never
// returns text from an envelope whose tag does not verify.
OpenResult open_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope,
                         std::string_view password_utf8);

}  // namespace quiren::block
