// The two cipher operations behind the exports. Bytes are in the caller's
// ANSI code page and never interpreted. All state lives per call, so calls
// may overlap.
#pragma once

#include <string>
#include <string_view>

namespace quiren::cipher {

// The armoured body followed by the mode letter: "B" when the compressed
// block is strictly shorter than the text, "A" otherwise.
std::string encrypt(std::string_view text, std::string_view password);

// The deciphered payload; with mode letter "B" (first byte of `mode`, exactly)
// its expansion. Other modes keep the fill letters that encryption added.
std::string decrypt(std::string_view body, std::string_view password, std::string_view mode);

// The payload copied and filled to a multiple of 4 bytes: with "X" when it
// ends in "x", with "x" otherwise.
std::string fill_to_groups(std::string_view payload);

}  // namespace quiren::cipher
