#include "block/strong/envelope_check.h"

#include "block/strong/envelope_layout.h"

namespace quiren::block {

namespace {

CheckedEnvelope verdict(Outcome problem) {
  CheckedEnvelope out;
  out.problem = problem;
  return out;
}

}  // namespace

CheckedEnvelope check_envelope(std::span<const std::uint8_t> envelope) {
  const std::size_t size = envelope.size();
  if (size == 0) return verdict(Outcome::damaged);
  if (envelope[kVersionOffset] != kEnvelopeVersion) return verdict(Outcome::later_format);
  if (size > kKdfOffset && envelope[kKdfOffset] != kKdfPbkdf2HmacSha256) {
    return verdict(Outcome::refused_settings);
  }
  if (size > kCipherOffset && envelope[kCipherOffset] != kCipherAes256Gcm) {
    return verdict(Outcome::refused_settings);
  }
  if (size < kMinEnvelopeSize) return verdict(Outcome::damaged);

  std::uint32_t iterations = 0;
  for (std::size_t i = 0; i < 4; ++i) iterations = (iterations << 8) | envelope[kIterationsOffset + i];
  if (iterations < kMinReadIterations || iterations > kMaxReadIterations) {
    return verdict(Outcome::refused_settings);
  }

  // The fill count itself is only covered by the tag; here it must at least
  // fit the length, and what it marks as fill must be zero.
  const std::size_t fill = envelope[kFillOffset];
  if (fill > kMaxFill || size % 4 != 0 || size - kMinEnvelopeSize < fill) return verdict(Outcome::damaged);
  for (std::size_t i = size - fill; i < size; ++i) {
    if (envelope[i] != 0) return verdict(Outcome::damaged);
  }
  const std::size_t text_bytes = size - kMinEnvelopeSize - fill;
  if (text_bytes > kMaxTextBytes) return verdict(Outcome::later_format);

  CheckedEnvelope out;
  out.problem = std::nullopt;
  out.iterations = iterations;
  out.header = envelope.first(kHeaderSize);
  out.salt = envelope.subspan(kSaltOffset, kSaltSize);
  out.nonce = envelope.subspan(kNonceOffset, kNonceSize);
  out.ciphertext_and_tag = envelope.subspan(kHeaderSize, text_bytes + kTagSize);
  return out;
}

}  // namespace quiren::block
