#include "cipher/prefix_tree.h"

#include <stdexcept>

namespace quiren::cipher {

PrefixTree::PrefixTree(const CodeTable& table, InputSide side) : table_(table), side_(side), nodes_(1) {
  for (std::size_t r = 0; r < table.size(); ++r) {
    const BitString& key = side == InputSide::pattern ? table[r].pattern : table[r].code;
    std::uint32_t node = 0;
    for (std::uint64_t k = key.size(); k-- > 0;) {
      const unsigned b = key.bit(k) ? 1u : 0u;
      std::uint32_t next = nodes_[node].child[b];
      if (next == kNone) {
        if (nodes_.size() >= kNone) throw std::length_error("prefix tree too large");
        next = static_cast<std::uint32_t>(nodes_.size());
        nodes_[node].child[b] = next;
        nodes_.emplace_back();
      } else {
        nodes_[next].payload = kNone;
      }
      node = next;
    }
    nodes_[node].payload = static_cast<std::uint32_t>(r);
  }
}

Translation PrefixTree::translate(std::span<const std::uint8_t> input, std::uint64_t input_bits,
                                  std::uint64_t max_output_bits) const {
  Translation out;
  std::uint32_t node = 0;
  for (std::uint64_t c = input_bits; c-- > 0;) {
    const unsigned b = (input[c >> 3] >> (c & 7)) & 1u;
    const std::uint32_t next = nodes_[node].child[b];
    if (next == kNone) {
      node = 0;
      continue;
    }
    node = next;
    const std::uint32_t payload = nodes_[node].payload;
    if (payload == kNone) continue;
    const CodeRecord& record = table_[payload];
    const BitString& emitted = side_ == InputSide::pattern ? record.code : record.pattern;
    const std::uint64_t room = max_output_bits - out.bits.size();
    if (emitted.size() > room) {
      out.bits.append(emitted, room);
      out.complete = false;
      return out;
    }
    out.bits.append(emitted, emitted.size());
    node = 0;
  }
  return out;
}

}  // namespace quiren::cipher
