#include "cipher/code_builder.h"

#include <algorithm>
#include <array>
#include <deque>
#include <vector>

namespace quiren::cipher {

namespace {

struct Symbol {
  std::uint8_t byte;
  double weight;
};

// A code as the bits given so far, first given first.
using Bits = std::vector<bool>;

BitString to_bit_string(const Bits& given) {
  // The first given bit is the highest: bit (length - 1).
  std::vector<std::uint8_t> bytes((given.size() + 7) / 8, 0);
  const std::size_t n = given.size();
  for (std::size_t i = 0; i < n; ++i)
    if (given[i]) bytes[(n - 1 - i) / 8] = static_cast<std::uint8_t>(bytes[(n - 1 - i) / 8] | (1u << ((n - 1 - i) % 8)));
  return BitString(bytes, n);
}

}  // namespace

CodeTable build_embedded_table(std::span<const std::uint8_t> text) {
  // Count, keeping the order of first appearance.
  std::vector<Symbol> symbols;
  std::array<int, 256> index_of;
  index_of.fill(-1);
  for (const std::uint8_t b : text) {
    if (index_of[b] < 0) {
      index_of[b] = static_cast<int>(symbols.size());
      symbols.push_back({b, 0.0});
    }
    symbols[static_cast<std::size_t>(index_of[b])].weight += 1.0;
  }
  std::stable_sort(symbols.begin(), symbols.end(),
                   [](const Symbol& x, const Symbol& y) { return x.weight < y.weight; });

  const std::size_t count = symbols.size();
  std::vector<std::uint8_t> record_bytes;
  for (const Symbol& s : symbols) record_bytes.push_back(s.byte);

  // Pairing: the two LAST entries merge; the sum goes before the first
  // lighter entry. The history is replayed last pairing first.
  std::deque<std::size_t> history;
  std::vector<double> weights;
  for (const Symbol& s : symbols) weights.push_back(s.weight);
  while (weights.size() >= 3) {
    const double w = weights[weights.size() - 2] + weights.back();
    weights.resize(weights.size() - 2);
    const auto at = std::find_if(weights.begin(), weights.end(), [w](double x) { return x < w; });
    history.push_front(static_cast<std::size_t>(at - weights.begin()));
    weights.insert(at, w);
  }

  std::vector<Bits> codes(count, Bits{false});
  if (count >= 1) codes[0] = Bits{true};
  std::size_t t = 1;
  for (const std::size_t q : history) {
    Bits taken = std::move(codes[q]);
    for (std::size_t i = q; i < t; ++i) codes[i] = std::move(codes[i + 1]);
    codes[t] = taken;
    codes[t].push_back(false);
    codes[t + 1] = std::move(taken);
    codes[t + 1].push_back(true);
    ++t;
  }

  CodeTable table;
  table.reserve(count);
  for (std::size_t r = 0; r < count; ++r) {
    const std::uint8_t pattern[1] = {record_bytes[r]};
    table.push_back({BitString(pattern, 8), to_bit_string(codes[r])});
  }
  return table;
}

}  // namespace quiren::cipher
