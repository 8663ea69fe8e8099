#include "cipher/bit_string.h"

#include <algorithm>

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
  std::uint64_t k = 0;
  // Up to 56 bits at a time: gather them, then spread them over the tail.
  while (k < count) {
    const std::uint64_t n = std::min<std::uint64_t>(56, count - k);
    std::uint64_t value = 0;
    const std::size_t first = static_cast<std::size_t>(k >> 3);
    const std::size_t last = static_cast<std::size_t>((k + n - 1) >> 3);
    for (std::size_t i = last + 1; i-- > first;) value = (value << 8) | other.bytes_[i];
    value = (value >> (k & 7)) & ((std::uint64_t{1} << n) - 1);
    const std::size_t at = static_cast<std::size_t>(bits_ >> 3);
    bytes_.resize(static_cast<std::size_t>((bits_ + n + 7) / 8), 0);
    value <<= (bits_ & 7);  // n + 7 <= 63 bits
    for (std::size_t i = at; value != 0; ++i, value >>= 8) bytes_[i] = static_cast<std::uint8_t>(bytes_[i] | value);
    bits_ += n;
    k += n;
  }
}

}  // namespace quiren::cipher
