#include "tray/core/stored_public_key.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "block/base64.h"

namespace quiren {

std::u16string stored_public_key(const block::X25519PublicKey& key) {
  const std::string text = block::base64_armour(std::span<const std::uint8_t>(key));
  return std::u16string(text.begin(), text.end());
}

std::optional<block::X25519PublicKey> read_stored_public_key(std::u16string_view text) {
  std::string ascii;
  for (const char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  const std::optional<std::vector<std::uint8_t>> bytes = block::base64_bytes(ascii);
  block::X25519PublicKey key{};
  if (!bytes || bytes->size() != key.size()) return std::nullopt;
  std::copy(bytes->begin(), bytes->end(), key.begin());
  return key;
}

}  // namespace quiren
