#include "block/strong/strong_envelope.h"

#include <algorithm>
#include <optional>

#include "block/strong/envelope_check.h"
#include "block/utf8.h"

namespace quiren::block {

namespace {

std::span<const std::uint8_t> bytes_of(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool all_zero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

void write_header(std::span<std::uint8_t> header, std::uint8_t fill, const SealParameters& p) {
  header[kVersionOffset] = kEnvelopeVersion;
  header[kKdfOffset] = kKdfPbkdf2HmacSha256;
  header[kCipherOffset] = kCipherAes256Gcm;
  header[kFillOffset] = fill;
  for (std::size_t i = 0; i < 4; ++i) {
    header[kIterationsOffset + i] = static_cast<std::uint8_t>(p.iterations >> (24 - 8 * i));
  }
  std::copy(p.salt.begin(), p.salt.end(), header.begin() + kSaltOffset);
  std::copy(p.nonce.begin(), p.nonce.end(), header.begin() + kNonceOffset);
}

SealResult failure(SealStatus status) { return {status, {}}; }

}  // namespace

SealResult seal_envelope(CryptoProvider& crypto, std::string_view text_utf8, std::string_view password_utf8) {
  SealParameters p;
  p.iterations = kWriteIterations;
  // A source that reports success but hands out zeros is broken too; a
  // fixed salt or nonce must never reach an envelope.
  if (!crypto.random_bytes(p.salt) || !crypto.random_bytes(p.nonce) || all_zero(p.salt) || all_zero(p.nonce)) {
    return failure(SealStatus::random_unavailable);
  }
  return seal_envelope_with(crypto, text_utf8, password_utf8, p);
}

SealResult seal_envelope_with(CryptoProvider& crypto, std::string_view text_utf8, std::string_view password_utf8,
                              const SealParameters& parameters) {
  if (text_utf8.size() > kMaxTextBytes) return failure(SealStatus::text_too_long);
  if (!is_valid_utf8(text_utf8)) return failure(SealStatus::text_not_utf8);

  const std::optional<SecretKey> key = crypto.derive_key(password_utf8, parameters.salt, parameters.iterations);
  if (!key) return failure(SealStatus::crypto_failed);

  const std::size_t fill = fill_for(text_utf8.size());
  std::vector<std::uint8_t> envelope(kMinEnvelopeSize + text_utf8.size() + fill, 0);
  const std::span<std::uint8_t> all(envelope);
  write_header(all.first(kHeaderSize), static_cast<std::uint8_t>(fill), parameters);
  if (!crypto.seal(*key, parameters.nonce, all.first(kHeaderSize), bytes_of(text_utf8),
                   all.subspan(kHeaderSize, text_utf8.size() + kTagSize))) {
    return failure(SealStatus::crypto_failed);
  }
  return {SealStatus::sealed, std::move(envelope)};
}

OpenResult open_envelope(CryptoProvider& crypto, std::span<const std::uint8_t> envelope,
                         std::string_view password_utf8) {
  const CheckedEnvelope parts = check_envelope(envelope);
  if (parts.problem) return {*parts.problem, {}};

  const std::optional<SecretKey> key = crypto.derive_key(password_utf8, parts.salt, parts.iterations);
  if (!key) return {Outcome::failed, {}};

  // Decrypted straight into the result, so no other copy of the text is made.
  OpenResult result;
  result.text.resize(parts.ciphertext_and_tag.size() - kTagSize);
  const std::span<std::uint8_t> plaintext(reinterpret_cast<std::uint8_t*>(result.text.data()), result.text.size());
  const AeadStatus opened =
      crypto.open(*key, parts.nonce.first<kNonceSize>(), parts.header, parts.ciphertext_and_tag, plaintext);
  if (opened == AeadStatus::tag_mismatch) {
    result.outcome = Outcome::wrong_password;
  } else if (opened != AeadStatus::ok) {
    result.outcome = Outcome::failed;
  } else if (!is_valid_utf8(result.text.view())) {
    result.outcome = Outcome::damaged;
  } else {
    result.outcome = Outcome::opened;
  }
  // The provider zeroes what it refuses; text that is authentic but not
  // UTF-8 is still plaintext.
  if (result.outcome != Outcome::opened) result.text.clear();
  return result;
}

}  // namespace quiren::block
