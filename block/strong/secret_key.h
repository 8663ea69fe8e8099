// A 256-bit key, held as a secret: zeroed when it goes away, and handed
// over whole when moved (a moved-from key holds no bytes and must not be
// used).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "block/secret.h"

namespace quiren::block {

inline constexpr std::size_t kKeySize = 32;

class SecretKey {
 public:
  // All zero, for the provider that derives the key to fill.
  SecretKey() { bytes_.resize(kKeySize); }

  std::span<const std::uint8_t, kKeySize> bytes() const {
    return std::span<const std::uint8_t, kKeySize>(reinterpret_cast<const std::uint8_t*>(bytes_.data()), kKeySize);
  }
  std::span<std::uint8_t, kKeySize> writable_bytes() {
    return std::span<std::uint8_t, kKeySize>(reinterpret_cast<std::uint8_t*>(bytes_.data()), kKeySize);
  }

 private:
  SecretBytes bytes_;
};

}  // namespace quiren::block
