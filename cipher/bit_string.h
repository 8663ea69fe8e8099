// An exact-length bit string, stored least significant bit first: bit k is
// bit (k mod 8) of byte (k div 8). Unused high bits of the last byte are 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quiren::cipher {

class BitString {
 public:
  BitString() = default;
  // The first `bits` bits of `bytes` (which must hold at least that many).
  BitString(std::span<const std::uint8_t> bytes, std::uint64_t bits);

  std::uint64_t size() const { return bits_; }
  bool empty() const { return bits_ == 0; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  bool bit(std::uint64_t k) const { return (bytes_[k >> 3] >> (k & 7)) & 1u; }

  // Appends at the top: the new bit becomes bit size()-1.
  void push_back(bool b) {
    if ((bits_ & 7) == 0) bytes_.push_back(0);
    if (b) bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (1u << (bits_ & 7)));
    ++bits_;
  }
  // Appends the first `count` bits of `other`, its bit 0 first.
  void append(const BitString& other, std::uint64_t count);

  friend bool operator==(const BitString&, const BitString&) = default;

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t bits_ = 0;
};

}  // namespace quiren::cipher
