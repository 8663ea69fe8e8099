// The library's own removal of the armour, forgiving as the block format's
// first readers were: a length that is not a multiple of 5 and every
// character outside the alphabet raise a notice, and decoding goes on
// regardless (an outside character counts as digit 99, values wrap).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quiren::cipher {

// 4 bytes for every whole group of 5 characters.
std::vector<std::uint8_t> remove_armour(std::string_view body);

}  // namespace quiren::cipher
