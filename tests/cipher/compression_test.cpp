#include "cipher/compression.h"

#include <gtest/gtest.h>

#include <random>

#include "cipher/code_builder.h"
#include "cipher/code_table.h"
#include "cipher/prefix_tree.h"
#include "tests/cipher/cipher_test_support.h"

namespace quiren::cipher {
namespace {

using testing::bytes_of;
using testing::record;
using testing::string_of;

class Compression : public ::testing::Test {
 protected:
  std::vector<std::uint8_t> compress_text(std::string_view text) {
    auto block = compress(bytes_of(text), kSharedTableFileName);
    EXPECT_TRUE(block.has_value());
    return block.value_or(std::vector<std::uint8_t>{});
  }
  std::string expand_block(std::span<const std::uint8_t> block) {
    return string_of(expand(block, kSharedTableFileName));
  }
  void write_shared_table(const CodeTable& table) { cwd.write(kSharedTableFileName, serialize_code_table(table)); }

  testing::TempCurrentDirectory cwd;
};

TEST_F(Compression, FourLettersGiveTheKnownSelfContainedBlock) {
  const std::vector<std::uint8_t> expected = {0x44, 0x41, 0x45, 0x48, 18, 0, 0, 0, 4, 0, 0, 0,
                                              0x12, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 0x61, 1, 0, 0, 0, 0x01,
                                              0x0F};
  EXPECT_EQ(compress_text("aaaa"), expected);
  EXPECT_EQ(compress_text(std::string(40, 'a')).size(), 35u);
}

TEST_F(Compression, RoundTripsRandomTexts) {
  std::mt19937 rng(3);
  for (int i = 0; i < 200; ++i) {
    std::uniform_int_distribution<int> len(1, 300), alphabet(1, 255);
    const int top = alphabet(rng);
    const std::string text = testing::random_bytes(rng, static_cast<std::size_t>(len(rng)), 0, top);
    const auto block = compress(bytes_of(text), kSharedTableFileName);
    if (!block) continue;  // no encoding within 8 bits per byte
    ASSERT_EQ(expand_block(*block), text);
  }
}

TEST_F(Compression, SharedTableWinsWhenSmallerAndNeedsTheFile) {
  // Phrases of two bytes and single bytes: "ab" has a 1-bit code.
  write_shared_table({record("a", "0100"), record("b", "0101"), record("ab", "1"), record("c", "0110")});
  const std::string text = "ababababcabab";
  const auto block = compress_text(text);
  ASSERT_GE(block.size(), 4u);
  EXPECT_NE(read_u32le(block, 0), kSelfContainedTag);
  EXPECT_EQ(read_u32le(block, 0), 10u);  // six "ab" of 1 bit, one "c" of 4
  EXPECT_EQ(expand_block(block), text);
  cwd.remove(kSharedTableFileName);
  EXPECT_EQ(expand_block(block), "");
}

TEST_F(Compression, SharedEncodingThatWouldLoseTextIsNotUsed) {
  // Without a pattern for "z" its bits would be dropped; with two records
  // sharing a code every "a" would come back as "b".
  const std::string text = "abababababababz";
  for (const CodeTable& table : {CodeTable{record("a", "1"), record("b", "0")},
                                 CodeTable{record("a", "1"), record("b", "1"), record("z", "0")}}) {
    write_shared_table(table);
    const auto block = compress_text(text);
    EXPECT_EQ(read_u32le(block, 0), kSelfContainedTag);
    EXPECT_EQ(expand_block(block), text);
  }
}

TEST_F(Compression, SelfContainedBlockIgnoresTheFile) {
  const auto block = compress_text("hello hello hello");
  ASSERT_EQ(read_u32le(block, 0), kSelfContainedTag);
  write_shared_table({record("h", "1"), record("e", "01")});
  EXPECT_EQ(expand_block(block), "hello hello hello");
}

TEST(PrefixTree, LaterRecordsDisplaceEarlierOnesOnTheirPath) {
  // The phrase "xa" ends in "a". Inserted after "a", the phrase clears it;
  // inserted before it, "a" ends on the phrase's path and hides it.
  const auto text = bytes_of("xa");
  auto run = [&](const CodeTable& table) {
    return testing::bits_text(PrefixTree(table, InputSide::pattern).translate(text, 16, UINT64_MAX).bits);
  };
  EXPECT_EQ(run({record("a", "11"), record("xa", "0")}), "0");
  EXPECT_EQ(run({record("xa", "0"), record("a", "11")}), "11");
}

TEST_F(Compression, BadSharedTableFilesAreTreatedAsMissing) {
  const std::vector<std::uint8_t> good = serialize_code_table({record("a", "1"), record("b", "01")});
  auto with = [&](std::size_t offset, std::uint32_t value) {
    std::vector<std::uint8_t> b = good;
    for (int i = 0; i < 4; ++i) b[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return b;
  };
  std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);
  std::vector<std::uint8_t> overflowing = with(8, 0x7FFFFFFF);
  const std::vector<std::vector<std::uint8_t>> bad = {
      {},                               // empty file
      {3, 0, 0, 0},                     // Z below 8
      truncated,                        // Z beyond the file's end
      with(0, 4000),                    // Z far beyond the file's end
      with(0, 20),                      // records run past Z
      with(4, 3),                       // count differs from records read
      with(8, 0),                       // pattern of 0 bits
      with(13, 0xFFFFFFFF),             // code of negative bits
      overflowing,                      // byte count of a huge bit count
  };
  ASSERT_TRUE(parse_code_table(good).has_value());
  for (std::size_t i = 0; i < bad.size(); ++i) {
    cwd.write(kSharedTableFileName, bad[i]);
    EXPECT_FALSE(read_shared_table(kSharedTableFileName).has_value()) << "case " << i;
    // Compression still works, with the self-contained block.
    const auto block = compress_text("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab");
    EXPECT_EQ(read_u32le(block, 0), kSelfContainedTag) << "case " << i;
  }
}

TEST_F(Compression, DamagedBlocksStayWithinTheirBytes) {
  // Fields claiming more than is present: the walk stops at the block's end.
  std::vector<std::uint8_t> block = compress_text(std::string(40, 'a'));
  ASSERT_EQ(block.size(), 35u);
  block[8] = 0xFF;  // B far beyond the 5 encoded bytes
  block[9] = 0xFF;
  EXPECT_EQ(expand_block(block), std::string(40, 'a'));
  block[4] = 200;  // T beyond the block
  EXPECT_EQ(expand_block(block), "");
  for (std::size_t size = 0; size < 35; ++size) {
    const std::vector<std::uint8_t> cut(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_LE(expand_block(cut).size(), 40u);
  }
  std::mt19937 rng(9);
  write_shared_table({record("a", "1"), record("b", "01"), record("c", "00")});
  for (int i = 0; i < 2000; ++i) {
    std::string random = testing::random_bytes(rng, static_cast<std::size_t>(i % 64), 0, 255);
    if (i % 2 == 0 && random.size() >= 4) random.replace(0, 4, "DAEH");
    EXPECT_LE(expand_block(bytes_of(random)).size(), kMaxExpandedBytes);
  }
}

TEST_F(Compression, ExpansionIsCutOffAtTheLimit) {
  // One code bit stands for a 1 MiB pattern; 1000 such bits would be 1000 MiB.
  const std::vector<std::uint8_t> big(std::size_t{1} << 20, 0x55);
  const CodeTable table = {{BitString(big, 8 * big.size()), testing::bits_from_text("1")}};
  const std::vector<std::uint8_t> serialized = serialize_code_table(table);
  std::vector<std::uint8_t> block = {0x44, 0x41, 0x45, 0x48};
  for (const std::uint32_t v : {static_cast<std::uint32_t>(serialized.size()), 8000u})
    for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  block.insert(block.end(), serialized.begin(), serialized.end());
  block.insert(block.end(), 1000, 0xFF);
  const std::vector<std::uint8_t> out = expand(block, kSharedTableFileName);
  EXPECT_EQ(out.size(), kMaxExpandedBytes);
  EXPECT_EQ(out.back(), 0x55);
}

// A text the expansion could not give back whole is sent plain, never cut
// short on the way back.
TEST_F(Compression, TextsLongerThanAnExpansionAreNotCompressed) {
  const std::vector<std::uint8_t> longest(kMaxExpandedBytes + 1, 'a');
  EXPECT_EQ(compress(longest, kSharedTableFileName), std::nullopt);
}

}  // namespace
}  // namespace quiren::cipher
