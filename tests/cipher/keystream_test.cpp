#include "cipher/keystream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/cipher/cipher_test_support.h"

namespace quiren::cipher {
namespace {

TEST(DeriveSeed, MatchesKnownValuesIncludingWrapAndNegatives) {
  struct Case {
    std::int32_t x;
    int k;
    std::int32_t expected;
  };
  for (const Case& c : {Case{97, 2, 9410}, Case{97, 3, 29282}, Case{97, 4, -27358}, Case{-61, 2, 3722},
                        Case{-128, 4, 1}, Case{0, 2, 1}}) {
    EXPECT_EQ(derive_seed(c.x, c.k), c.expected) << c.x << " k=" << c.k;
  }
}

TEST(KeyGenerator, FirstKeysFromKnownSeeds) {
  struct Case {
    std::int32_t a, b, c;
    std::vector<int> keys;
  };
  for (const Case& c : {Case{1, 1, 1, {5, 230, 29, 241, 33, 46, 77, 90}},
                        Case{100, 200, 300, {98, 194, 71, 119, 10, 74, 235, 87}},
                        Case{-5000, 0, 30000, {242, 248, 116, 26, 118, 30, 203, 149}}}) {
    KeyGenerator gen(c.a, c.b, c.c);
    std::vector<int> keys;
    for (std::size_t i = 0; i < c.keys.size(); ++i) keys.push_back(gen.next());
    EXPECT_EQ(keys, c.keys) << c.a << "," << c.b << "," << c.c;
  }
}

TEST(KeyGenerator, KeysStayIn1To256ForExtremeSeeds) {
  for (const std::int32_t seed : {-29998, -1, 0, 1, 29999, 30000}) {
    KeyGenerator gen(seed, -seed, seed);
    for (int i = 0; i < 1000; ++i) {
      const int k = gen.next();
      ASSERT_GE(k, 1);
      ASSERT_LE(k, 256);
    }
  }
}

TEST(GroupSeeds, DependOnPasswordLengthModThree) {
  // One byte: three powers of it. Two bytes: each and their sum. Three: each.
  const Seeds one = group_seeds("a", 0);
  EXPECT_EQ(one.a, derive_seed(97, 2));
  EXPECT_EQ(one.b, derive_seed(97, 3));
  EXPECT_EQ(one.c, derive_seed(97, 4));
  const Seeds two = group_seeds("a\xC3", 0);
  EXPECT_EQ(two.a, derive_seed(97, 2));
  EXPECT_EQ(two.b, derive_seed(-61, 2));
  EXPECT_EQ(two.c, derive_seed(97 - 61, 2));
  const Seeds three = group_seeds("ab\x80", 0);
  EXPECT_EQ(three.a, derive_seed(97, 2));
  EXPECT_EQ(three.b, derive_seed(98, 2));
  EXPECT_EQ(three.c, derive_seed(-128, 2));
  // Length 5: the second group starts at byte 3 and uses bytes 3 and 4.
  const Seeds second = group_seeds("abcde", 3);
  EXPECT_EQ(second.a, derive_seed('d', 2));
  EXPECT_EQ(second.c, derive_seed('d' + 'e', 2));
}

TEST(Encipher, OneBytePasswordAddsTheSeededKeystream) {
  std::vector<std::uint8_t> payload(8, 0);
  encipher("a", payload);
  KeyGenerator gen(derive_seed(97, 2), derive_seed(97, 3), derive_seed(97, 4));
  for (const std::uint8_t b : payload) EXPECT_EQ(b, gen.next() % 256);
}

TEST(Encipher, UnusedPasswordBytesDoNotMatter) {
  // Length 4 (mod 3 = 1) reads only bytes 0 and 3.
  std::vector<std::uint8_t> x(32, 7), y(32, 7);
  encipher("aXYd", x);
  encipher("a\x90\xFF" "d", y);
  EXPECT_EQ(x, y);
  std::vector<std::uint8_t> z(32, 7);
  encipher("bXYd", z);
  EXPECT_NE(x, z);
}

TEST(Encipher, EmptyPasswordOrPayloadChangesNothing) {
  std::vector<std::uint8_t> payload{1, 2, 3, 4};
  encipher("", payload);
  decipher("", payload);
  EXPECT_EQ(payload, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  std::vector<std::uint8_t> empty;
  encipher("secret", empty);
  decipher("secret", empty);
  EXPECT_TRUE(empty.empty());
}

TEST(Encipher, DecipherRestoresEveryPasswordLength) {
  std::mt19937 rng(11);
  for (std::size_t p = 1; p <= 12; ++p) {
    const std::string password = testing::random_bytes(rng, p);
    const std::string text = testing::random_bytes(rng, 97, 0, 255);
    std::vector<std::uint8_t> payload = testing::bytes_of(text);
    encipher(password, payload);
    EXPECT_NE(testing::string_of(payload), text);
    decipher(password, payload);
    EXPECT_EQ(testing::string_of(payload), text) << "password length " << p;
  }
}

}  // namespace
}  // namespace quiren::cipher
