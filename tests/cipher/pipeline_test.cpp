#include "cipher/pipeline.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "cipher/armour.h"
#include "cipher/armour_removal.h"
#include "cipher/code_table.h"
#include "cipher/keystream.h"
#include "tests/cipher/cipher_test_support.h"

namespace quiren::cipher {
namespace {

using testing::bytes_of;
using testing::record;

class Pipeline : public ::testing::Test {
 protected:
  testing::TempCurrentDirectory cwd;
  testing::NoticeRecorder notices;
};

std::string body_of(const std::string& result) { return result.substr(0, result.size() - 1); }
char mode_of(const std::string& result) { return result.back(); }

TEST_F(Pipeline, ResultLengthsFillLettersAndModes) {
  struct Case {
    std::string text;
    std::size_t length;
    char mode;
    std::string decrypted;  // in mode "A": with the fill letters
  };
  const Case cases[] = {
      {"", 1, 'A', ""},
      {"abcdefgh", 11, 'A', "abcdefgh"},
      {"hello", 11, 'A', "helloxxx"},
      {"abx", 6, 'A', "abxX"},
      {"aaaa", 6, 'A', "aaaa"},  // its 31-byte block is longer than the text
      {std::string(40, 'a'), 46, 'B', std::string(40, 'a')},
  };
  for (const Case& c : cases) {
    for (const std::string password : {"", "k", "pw", "pass", "日本語のパスワード"}) {
      SCOPED_TRACE(c.text + " / " + password);
      const std::string result = encrypt(c.text, password);
      EXPECT_EQ(result.size(), c.length);
      EXPECT_EQ(mode_of(result), c.mode);
      EXPECT_EQ(decrypt(body_of(result), password, std::string(1, c.mode)), c.decrypted);
      EXPECT_EQ(encrypt(c.text, password), result);  // no random element
    }
  }
  EXPECT_TRUE(notices.notices.empty());
}

TEST_F(Pipeline, EmptyPasswordOnlyArmours) { EXPECT_EQ(encrypt("abcx", ""), "R$4(JA"); }

TEST_F(Pipeline, OnlyModeLetterBExpands) {
  const std::string result = encrypt(std::string(40, 'a'), "pw");
  ASSERT_EQ(mode_of(result), 'B');
  std::vector<std::uint8_t> deciphered = remove_armour(body_of(result));
  decipher("pw", deciphered);
  const std::string raw(deciphered.begin(), deciphered.end());
  ASSERT_EQ(raw.size(), 36u);  // the 35-byte block and one fill letter
  for (const std::string mode : {"A", "a", "b", "", "C"}) EXPECT_EQ(decrypt(body_of(result), "pw", mode), raw) << mode;
  EXPECT_EQ(decrypt(body_of(result), "pw", "Bxyz"), std::string(40, 'a'));
}

TEST_F(Pipeline, CompressedBlockMustBeStrictlyShorter) {
  // A shared-table block of 4 + ceil(B) bytes for 8 letters of n-bit codes:
  // 4-bit codes make it exactly as long as the text, 3-bit codes shorter.
  for (const auto& [code_bits, mode] : {std::pair{4, 'A'}, std::pair{3, 'B'}}) {
    CodeTable table;
    for (int i = 0; i < 8; ++i) {
      std::string code;
      for (int b = code_bits - 1; b >= 0; --b) code.push_back(((i >> b) & 1) ? '1' : '0');
      table.push_back(record(std::string(1, static_cast<char>('a' + i)), code));
    }
    cwd.write(kSharedTableFileName, serialize_code_table(table));
    const std::string result = encrypt("abcdefgh", "pw");
    EXPECT_EQ(mode_of(result), mode) << code_bits;
    EXPECT_EQ(decrypt(body_of(result), "pw", std::string(1, mode)), "abcdefgh");
  }
}

TEST_F(Pipeline, RoundTripsRandomTextsWithAndWithoutSharedTable) {
  std::mt19937 rng(21);
  const CodeTable shared = {record(" ", "00"), record("e", "010"), record("the", "011"), record("\x82\xA0", "1")};
  for (const bool with_table : {false, true}) {
    if (with_table) cwd.write(kSharedTableFileName, serialize_code_table(shared));
    int compressed = 0;
    for (int i = 0; i < 300; ++i) {
      std::uniform_int_distribution<int> len(0, 400), pwlen(0, 30);
      const int high = std::array{2, 5, 16, 60, 255}[static_cast<std::size_t>(i % 5)];
      std::string text = testing::random_bytes(rng, static_cast<std::size_t>(len(rng)), 1, high);
      const std::string password = testing::random_bytes(rng, static_cast<std::size_t>(pwlen(rng)));
      const std::string result = encrypt(text, password);
      const std::size_t plain_length = 5 * ((text.size() + 3) / 4) + 1;
      if (mode_of(result) == 'B') {
        ++compressed;
        ASSERT_LE(result.size(), plain_length) << i;
        ASSERT_EQ(decrypt(body_of(result), password, "B"), text);
      } else {
        ASSERT_EQ(mode_of(result), 'A');
        ASSERT_EQ(result.size(), plain_length) << i;
        ASSERT_EQ(decrypt(body_of(result), password, "A"), fill_to_groups(text));
      }
    }
    EXPECT_GT(compressed, 100);
  }
  EXPECT_TRUE(notices.notices.empty());
}

TEST_F(Pipeline, DamagedAndRandomBodiesNeverCrash) {
  std::mt19937 rng(33);
  const std::string alphabet = armour(bytes_of(testing::random_bytes(rng, 4000, 0, 255)));
  cwd.write(kSharedTableFileName, serialize_code_table({record("a", "1"), record("b", "0")}));
  const std::string good = body_of(encrypt(std::string(300, 'q') + "abc", "pw"));
  for (int i = 0; i < 1500; ++i) {
    std::string body;
    switch (i % 3) {
      case 0:  // armour characters only, any length
        for (int n = i % 97; n > 0; --n) body.push_back(alphabet[rng() % alphabet.size()]);
        break;
      case 1:  // a real body with some characters changed or cut
        body = good.substr(0, good.size() - static_cast<std::size_t>(i % 20));
        body[rng() % body.size()] = alphabet[rng() % alphabet.size()];
        break;
      default:  // any bytes but NUL
        body = testing::random_bytes(rng, static_cast<std::size_t>(i % 50));
    }
    notices.notices.clear();
    (void)decrypt(body, i % 4 ? "pw" : "", "B");
    std::size_t outside = 0;
    // Characters after the last whole group are never looked at.
    for (const char c : body.substr(0, body.size() / 5 * 5)) outside += alphabet.find(c) == std::string::npos;
    EXPECT_EQ(notices.notices.size(), outside + (body.size() % 5 != 0 ? 1 : 0));
  }
}

}  // namespace
}  // namespace quiren::cipher
