// Bytes as the shared vectors write them (lower-case hex), both ways, and
// the keys of the vectors' people.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "block/strong/crypto_provider.h"

namespace quiren::testing {

inline std::vector<std::uint8_t> from_hex(std::string_view hex) {
  auto nibble = [](char c) { return static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'a' + 10); };
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
  }
  return out;
}

inline std::string to_hex(std::span<const std::uint8_t> bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

inline block::SecretKey secret_key_from_hex(std::string_view hex) {
  const std::vector<std::uint8_t> bytes = from_hex(hex);
  block::SecretKey key;
  std::copy_n(bytes.begin(), std::min(bytes.size(), block::kKeySize), key.writable_bytes().begin());
  return key;
}

inline block::X25519PublicKey public_key_from_hex(std::string_view hex) {
  const std::vector<std::uint8_t> bytes = from_hex(hex);
  block::X25519PublicKey key{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), key.size()), key.begin());
  return key;
}

}  // namespace quiren::testing
