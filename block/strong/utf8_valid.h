// Strict UTF-8 validation: the decrypted bytes of an envelope must be text.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quiren::block {

// False for bad or truncated sequences, overlong forms, surrogates
// (U+D800..U+DFFF) and values above U+10FFFF.
bool is_valid_utf8(std::span<const std::uint8_t> bytes);
bool is_valid_utf8(std::string_view text);

}  // namespace quiren::block
