// The text armour: every 4 bytes become 5 printable characters of a private
// base-85 alphabet, most significant digit first. Shared by the library and
// by the readers and writers of blocks, which armour their own envelopes and
// check fields before anything reaches the library.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quiren::cipher {

// bytes.size() / 4 whole groups are armoured; a tail shorter than 4 is not.
std::string armour(std::span<const std::uint8_t> bytes);

// The digit (0 to 84) a character stands for; nullopt outside the alphabet.
std::optional<std::uint32_t> armour_digit(char c);

// True when every character of `text` is in the alphabet.
bool is_armour_text(std::string_view text);

// The bytes of an armour an encoder could have written: nullopt unless the
// length is a multiple of 5, every character is in the alphabet and every
// group's value fits in 32 bits. Raises no notices.
std::optional<std::vector<std::uint8_t>> decode_armour(std::string_view text);

}  // namespace quiren::cipher
