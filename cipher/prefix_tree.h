// The prefix tree that translates bit strings through a code table. The
// input is read from its last bit to its first; each match appends the
// record's other half to the output, and bits that lead off the tree are
// dropped.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "cipher/bit_string.h"
#include "cipher/code_table.h"

namespace quiren::cipher {

enum class InputSide { pattern, code };

struct Translation {
  BitString bits;
  bool complete = true;  // false when the output reached the cap and stopped
};

class PrefixTree {
 public:
  // Records are inserted in table order; a later record's walk clears the
  // payloads it passes through. `side` says which half is matched.
  PrefixTree(const CodeTable& table, InputSide side);

  // Translates the first `input_bits` bits of `input` (which holds at least
  // that many). Output stops at `max_output_bits`.
  Translation translate(std::span<const std::uint8_t> input, std::uint64_t input_bits,
                        std::uint64_t max_output_bits) const;

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  struct Node {
    std::uint32_t child[2] = {kNone, kNone};
    std::uint32_t payload = kNone;  // index into table_
  };
  const CodeTable& table_;
  InputSide side_;
  std::vector<Node> nodes_;
};

}  // namespace quiren::cipher
