// Builds the code table embedded in a self-contained block: one record per
// distinct byte of the text, its code made by pairing the symbol list from
// its heavy end and replaying the pairings.
#pragma once

#include <cstdint>
#include <span>

#include "cipher/code_table.h"

namespace quiren::cipher {

// Records in order of ascending count (ties by first appearance), each with
// the byte as an 8-bit pattern. The empty text gives no records.
CodeTable build_embedded_table(std::span<const std::uint8_t> text);

}  // namespace quiren::cipher
