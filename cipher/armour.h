// The text armour: every 4 bytes become 5 printable characters of a private
// base-85 alphabet, most significant digit first.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quiren::cipher {

// bytes.size() / 4 whole groups are armoured; a tail shorter than 4 is not.
std::string armour(std::span<const std::uint8_t> bytes);

// 4 bytes for every whole group of 5 characters. A length that is not a
// multiple of 5 and every character outside the alphabet raise a notice;
// decoding goes on regardless (an outside character counts as digit 99).
std::vector<std::uint8_t> remove_armour(std::string_view body);

}  // namespace quiren::cipher
