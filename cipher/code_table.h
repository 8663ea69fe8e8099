// Code tables: records that map an input bit pattern to an output code, in
// the serialized form used by "DfFugoList.lst" and by self-contained blocks
// (32-bit little-endian size Z, record count, then per record: pattern bit
// count, pattern bytes, code bit count, code bytes).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cipher/bit_string.h"

namespace quiren::cipher {

struct CodeRecord {
  BitString pattern;  // at least 1 bit
  BitString code;     // at least 1 bit
};

using CodeTable = std::vector<CodeRecord>;

inline constexpr const char* kSharedTableFileName = "DfFugoList.lst";

// The shared table file is read on every compression and expansion: only a
// regular file of at most this size counts.
inline constexpr std::uint64_t kMaxSharedTableFileBytes = std::uint64_t{16} << 20;

std::vector<std::uint8_t> serialize_code_table(const CodeTable& table);

// Parses the serialized table at the start of `data`. nullopt unless it is
// sound: 8 <= Z <= data.size(), every record lies within Z with bit counts
// of at least 1, the records end exactly at Z, and their number equals the
// stored count.
std::optional<CodeTable> parse_code_table(std::span<const std::uint8_t> data);

// Reads and parses the shared table file by its bare name, relative to the
// current directory. A missing, short or unsound file gives nullopt, and so
// does anything but a regular file (a FIFO, a device, a folder) and a file
// of more than kMaxSharedTableFileBytes.
std::optional<CodeTable> read_shared_table(const char* file_name);

std::uint32_t read_u32le(std::span<const std::uint8_t> data, std::size_t offset);

}  // namespace quiren::cipher
