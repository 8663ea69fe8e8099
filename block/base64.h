// Standard base64 (RFC 4648, section 4) without padding: the armour of a
// strong block's envelope. Every 3 bytes become 4 characters of
// kStrongArmourAlphabet, a last 1 or 2 bytes 2 or 3 characters.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quiren::block {

std::string base64_armour(std::span<const std::uint8_t> bytes);

// The bytes of a text base64_armour could have written, and only of such a
// text: nullopt for a character outside the alphabet (padding included), a
// length of 4n + 1 and bits left over at the end that are not zero. So every
// envelope has exactly one armour.
std::optional<std::vector<std::uint8_t>> base64_bytes(std::string_view text);

// Whether `c` is one of the 64 characters.
bool is_base64_character(char32_t c);

// Whether `length` characters are a length base64_armour writes.
constexpr bool is_base64_length(std::size_t length) { return length % 4 != 1; }

}  // namespace quiren::block
