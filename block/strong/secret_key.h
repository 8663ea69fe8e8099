// A 256-bit key that zeroes itself when it goes away or is moved from.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "block/secure_wipe.h"

namespace quiren::block {

inline constexpr std::size_t kKeySize = 32;

class SecretKey {
 public:
  SecretKey() = default;
  ~SecretKey() { wipe(bytes_); }
  SecretKey(const SecretKey&) = delete;
  SecretKey& operator=(const SecretKey&) = delete;
  SecretKey(SecretKey&& other) noexcept : bytes_(other.bytes_) { wipe(other.bytes_); }
  SecretKey& operator=(SecretKey&& other) noexcept {
    if (this != &other) {
      bytes_ = other.bytes_;
      wipe(other.bytes_);
    }
    return *this;
  }

  std::span<const std::uint8_t, kKeySize> bytes() const { return bytes_; }
  // For the provider that derives the key.
  std::span<std::uint8_t, kKeySize> writable_bytes() { return bytes_; }

 private:
  std::array<std::uint8_t, kKeySize> bytes_{};
};

}  // namespace quiren::block
