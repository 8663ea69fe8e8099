// Compressed blocks. Self-contained: tag 0x48454144, table size T, bit
// count B, the serialized embedded table, then the encoded bits. Shared
// table: B, then the bits, decodable only with the same "DfFugoList.lst".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quiren::cipher {

inline constexpr std::uint32_t kSelfContainedTag = 0x48454144;

// Expansion output is cut off at this size: a damaged block can describe far
// more output than any text that was compressed.
inline constexpr std::size_t kMaxExpandedBytes = std::size_t{64} << 20;

// Texts from this size on are not compressed, so that no block's expansion
// is ever cut off: a longer text goes plain (mode "A"), which decrypts whole.
inline constexpr std::size_t kMaxCompressedTextBytes = kMaxExpandedBytes + 1;
static_assert(8 * std::uint64_t{kMaxCompressedTextBytes} < (std::uint64_t{1} << 32),
              "bit counts must fit the block's 32-bit fields");

// The smaller of the shared-table and the self-contained block (ties go to
// the self-contained one). The shared-table block is only made when it
// expands back to exactly the text. nullopt for the empty text, for a text of
// kMaxCompressedTextBytes or more, and when no encoding stays within 8 bits
// per text byte (such a block could never be shorter than the text).
std::optional<std::vector<std::uint8_t>> compress(std::span<const std::uint8_t> text, const char* table_file);

// The decoded bytes. Every length in the block is bounded by the bytes
// present: a damaged block gives an empty or truncated result.
std::vector<std::uint8_t> expand(std::span<const std::uint8_t> block, const char* table_file);

}  // namespace quiren::cipher
