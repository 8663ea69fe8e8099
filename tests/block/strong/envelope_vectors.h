// The known-answer envelopes: password "pass", 100,000 iterations, salt
// 00 01 .. 0f, nonce 10 11 .. 1b.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "block/strong/strong_envelope.h"

namespace quiren::block::test {

inline SealParameters known_answer_parameters() {
  SealParameters p;
  p.iterations = 100'000;
  for (std::uint8_t i = 0; i < kSaltSize; ++i) p.salt[i] = i;
  for (std::uint8_t i = 0; i < kNonceSize; ++i) p.nonce[i] = static_cast<std::uint8_t>(0x10 + i);
  return p;
}

inline constexpr std::string_view kKnownPassword = "pass";
inline constexpr std::string_view kKnownText = "テスト";
// 64 bytes: 9 bytes of text, fill 3.
inline constexpr std::string_view kKnownTextEnvelope =
    "01010103000186a0000102030405060708090a0b0c0d0e0f101112131415161718191a1b"
    "7fe0a424e967167a2bb6c8d416c6b3e15c9b0dafcfd6ed0238000000";
// 52 bytes: the empty text.
inline constexpr std::string_view kKnownEmptyEnvelope =
    "01010100000186a0000102030405060708090a0b0c0d0e0f101112131415161718191a1b"
    "862d2f9062630aad1052e010696a4294";

// "テスト" under the empty password, made with Python's cryptography package:
// an empty password must mean the same key on every platform.
inline constexpr std::string_view kKnownEmptyPasswordEnvelope =
    "01010103000186a0000102030405060708090a0b0c0d0e0f101112131415161718191a1b"
    "f060b3dff83958b531cc3ac168b534605f5a8dcd49d1105497000000";

struct KnownAnswer {
  std::string_view text;
  std::string_view password;
  std::string_view envelope_hex;
};
inline constexpr KnownAnswer kKnownAnswers[] = {
    {kKnownText, kKnownPassword, kKnownTextEnvelope},
    {"", kKnownPassword, kKnownEmptyEnvelope},
    {kKnownText, "", kKnownEmptyPasswordEnvelope},
};

inline std::vector<std::uint8_t> from_hex(std::string_view hex) {
  auto nibble = [](char c) { return static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'a' + 10); };
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
  }
  return out;
}

inline std::string to_hex(const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

}  // namespace quiren::block::test
