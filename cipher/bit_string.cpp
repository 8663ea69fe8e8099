#include "cipher/bit_string.h"

namespace quiren::cipher {

BitString::BitString(std::span<const std::uint8_t> bytes, std::uint64_t bits)
    : bytes_(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>((bits + 7) / 8)), bits_(bits) {
  if (bits & 7) bytes_.back() = static_cast<std::uint8_t>(bytes_.back() & ((1u << (bits & 7)) - 1u));
}

void BitString::append(const BitString& other, std::uint64_t count) {
  if ((bits_ & 7) == 0 && (count & 7) == 0) {
    // Byte-aligned: whole bytes at once (the common case for 8-bit patterns).
    bytes_.insert(bytes_.end(), other.bytes_.begin(),
                  other.bytes_.begin() + static_cast<std::ptrdiff_t>(count / 8));
    bits_ += count;
    return;
  }
  for (std::uint64_t k = 0; k < count; ++k) push_back(other.bit(k));
}

}  // namespace quiren::cipher
