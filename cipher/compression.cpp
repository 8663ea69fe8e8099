#include "cipher/compression.h"

#include <algorithm>
#include <array>

#include "cipher/code_builder.h"
#include "cipher/code_table.h"
#include "cipher/prefix_tree.h"

namespace quiren::cipher {

namespace {

void put_u32le(std::vector<std::uint8_t>& out, std::uint64_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// ((B - 1) div 8) + 1 in 32-bit unsigned arithmetic: B = 0 gives a huge
// value, so an encoding with no bits never wins.
std::uint32_t ceil_bytes(std::uint32_t bits) { return (bits - 1u) / 8u + 1u; }

// An encoding longer than 8 bits per text byte is dropped: its block could
// not be shorter than the text, so the text is sent plain either way.
std::optional<BitString> encode(const CodeTable& table, std::span<const std::uint8_t> text) {
  const std::uint64_t limit = 8 * std::uint64_t{text.size()};
  Translation t = PrefixTree(table, InputSide::pattern).translate(text, limit, limit + 1);
  if (!t.complete || t.bits.size() > limit) return std::nullopt;
  return std::move(t.bits);
}

// A shared table may lack patterns for part of the text, or hold codes that
// decode to something else; such an encoding would lose text, so it only
// counts when it expands back to exactly the text.
// The embedded table has an 8-bit record for every byte of its text, so
// the tree walk matches byte by byte from the last: a direct lookup.
std::optional<BitString> encode_with_embedded(const CodeTable& table, std::span<const std::uint8_t> text) {
  std::array<const BitString*, 256> code_of{};
  for (const CodeRecord& r : table) code_of[r.pattern.bytes()[0]] = &r.code;
  const std::uint64_t limit = 8 * std::uint64_t{text.size()};
  BitString out;
  for (std::size_t j = text.size(); j-- > 0;) {
    const BitString& code = *code_of[text[j]];
    if (out.size() + code.size() > limit) return std::nullopt;
    out.append(code, code.size());
  }
  return out;
}

bool decodes_to(const CodeTable& table, const BitString& encoded, std::span<const std::uint8_t> text) {
  const Translation back =
      PrefixTree(table, InputSide::code).translate(encoded.bytes(), encoded.size(), 8 * std::uint64_t{text.size()} + 1);
  return back.complete && back.bits.size() == 8 * std::uint64_t{text.size()} &&
         std::equal(text.begin(), text.end(), back.bits.bytes().begin());
}

}  // namespace

std::optional<std::vector<std::uint8_t>> compress(std::span<const std::uint8_t> text, const char* table_file) {
  if (text.empty() || text.size() >= kMaxCompressedTextBytes) return std::nullopt;

  std::optional<BitString> shared;
  if (const auto table = read_shared_table(table_file)) {
    shared = encode(*table, text);
    if (shared && (shared->empty() || !decodes_to(*table, *shared, text))) shared.reset();
  }

  const CodeTable embedded_table = build_embedded_table(text);
  const std::vector<std::uint8_t> serialized = serialize_code_table(embedded_table);
  const std::optional<BitString> embedded = encode_with_embedded(embedded_table, text);

  const auto t_size = static_cast<std::uint32_t>(serialized.size());
  const bool use_shared =
      shared && (!embedded || std::uint64_t{ceil_bytes(static_cast<std::uint32_t>(shared->size()))} <
                                  std::uint64_t{ceil_bytes(static_cast<std::uint32_t>(embedded->size()))} +
                                      t_size + 12);
  std::vector<std::uint8_t> block;
  if (use_shared) {
    put_u32le(block, shared->size());
    block.insert(block.end(), shared->bytes().begin(), shared->bytes().end());
    return block;
  }
  if (!embedded) return std::nullopt;
  put_u32le(block, kSelfContainedTag);
  put_u32le(block, t_size);
  put_u32le(block, embedded->size());
  block.insert(block.end(), serialized.begin(), serialized.end());
  block.insert(block.end(), embedded->bytes().begin(), embedded->bytes().end());
  return block;
}

std::vector<std::uint8_t> expand(std::span<const std::uint8_t> block, const char* table_file) {
  if (block.size() < 4) return {};
  std::optional<CodeTable> table;
  std::uint64_t bits = 0;
  std::size_t start = 0;
  if (read_u32le(block, 0) == kSelfContainedTag) {
    if (block.size() < 12) return {};
    const std::size_t t_size = read_u32le(block, 4);
    bits = read_u32le(block, 8);
    if (t_size > block.size() - 12) return {};
    table = parse_code_table(block.subspan(12, t_size));
    start = 12 + t_size;
  } else {
    table = read_shared_table(table_file);
    bits = read_u32le(block, 0);
    start = 4;
  }
  if (!table) return {};
  bits = std::min<std::uint64_t>(bits, 8 * std::uint64_t{block.size() - start});
  const Translation t = PrefixTree(*table, InputSide::code)
                            .translate(block.subspan(start), bits, 8 * std::uint64_t{kMaxExpandedBytes});
  return t.bits.bytes();
}

}  // namespace quiren::cipher
