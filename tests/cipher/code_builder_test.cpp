#include "cipher/code_builder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cipher/prefix_tree.h"
#include "tests/cipher/cipher_test_support.h"

namespace quiren::cipher {
namespace {

using testing::bits_text;
using testing::bytes_of;

struct Expected {
  std::string text;
  std::string record_order;                   // byte values in record order
  std::map<char, std::string> codes;          // byte -> code, highest bit first
  std::uint64_t encoded_bits;
  std::size_t serialized_size;
};

TEST(EmbeddedTable, KnownTexts) {
  const Expected cases[] = {
      {"abracadabra", "cdbra", {{'c', "01"}, {'d', "000"}, {'b', "001"}, {'r', "10"}, {'a', "11"}}, 25, 58},
      {"hello world",
       "he wrdol",
       {{'h', "1010"}, {'e', "1011"}, {' ', "1000"}, {'w', "1001"}, {'r', "110"}, {'d', "111"}, {'o', "00"},
        {'l', "01"}},
       32,
       88},
      {"ab", "ab", {{'a', "1"}, {'b', "0"}}, 2, 28},
      {"aab", "ba", {{'b', "1"}, {'a', "0"}}, 3, 28},
      {"aaaa", "a", {{'a', "1"}}, 4, 18},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.text);
    const CodeTable table = build_embedded_table(bytes_of(e.text));
    ASSERT_EQ(table.size(), e.record_order.size());
    for (std::size_t r = 0; r < table.size(); ++r) {
      ASSERT_EQ(table[r].pattern.size(), 8u);
      const char byte = static_cast<char>(table[r].pattern.bytes()[0]);
      EXPECT_EQ(byte, e.record_order[r]);
      EXPECT_EQ(bits_text(table[r].code), e.codes.at(byte)) << byte;
    }
    const auto text = bytes_of(e.text);
    EXPECT_EQ(PrefixTree(table, InputSide::pattern).translate(text, 8 * text.size(), UINT64_MAX).bits.size(),
              e.encoded_bits);
    EXPECT_EQ(serialize_code_table(table).size(), e.serialized_size);
  }
}

TEST(EmbeddedTable, EmptyTextHasNoRecords) { EXPECT_TRUE(build_embedded_table({}).empty()); }

TEST(EmbeddedTable, CodesArePrefixFreeForEveryByteValue) {
  // All 256 values with varied counts: the codes must form a full binary
  // tree, or expansion would lose or invent bytes.
  std::vector<std::uint8_t> text;
  for (int b = 0; b < 256; ++b) text.insert(text.end(), static_cast<std::size_t>(1 + (b * 7) % 13), static_cast<std::uint8_t>(b));
  const CodeTable table = build_embedded_table(text);
  ASSERT_EQ(table.size(), 256u);
  long double kraft = 0;
  for (const CodeRecord& r : table) {
    kraft += std::pow(2.0L, -static_cast<long double>(r.code.size()));
    for (const CodeRecord& other : table) {
      if (&r == &other || other.code.size() < r.code.size()) continue;
      const std::string a = bits_text(r.code), b = bits_text(other.code);
      EXPECT_NE(b.substr(0, a.size()), a);
    }
  }
  EXPECT_EQ(kraft, 1.0L);
}

}  // namespace
}  // namespace quiren::cipher
