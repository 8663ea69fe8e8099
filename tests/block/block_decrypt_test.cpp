#include "block/block_decrypt.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "block/ascii.h"
#include "block/cipher_library.h"
#include "tests/block/echo_cipher.h"

namespace quiren::block {
namespace {

using testing::EchoCipher;

std::u16string widen(std::string_view s) { return widen_bytes(s); }

BlockItem block(char16_t check_mode, std::string_view check, char16_t text_mode, std::string_view text) {
  return {std::nullopt, BlockKind::compatible, {check_mode, widen(check), text_mode, widen(text)}, {}};
}

BlockResult decrypt(const BlockItem& item, std::string_view password, CipherLibrary& cipher) {
  return decrypt_compatible(item.fields, password, cipher);
}

// The fill letters: what encryption appends, and what comes off again.
TEST(WithoutFill, StripsOnlyWhatEncryptionAppended) {
  struct Case {
    const char* result;
    char16_t mode;
    const char* clean;
  };
  const Case cases[] = {
      {"helloxxx", u'A', "hello"},   {"abxX", u'A', "abx"},     {"abcXXxxx", u'A', "abcXX"},
      {"xxxx", u'A', "xxxx"},        {"boxx", u'A', "bo"},      {"abcXX", u'B', "abcXX"},
      {"abcxxx", u'B', "abcxxx"},    {"abXX", u'A', "abXX"},    {"helloxXX", u'A', "hellox"},
      {"abcdxxxx", u'A', "abcdxxxx"}, {"abxXXX", u'A', "abx"}, {"aXXX", u'A', "aXXX"},
      {"", u'A', ""},                {"abcd", u'A', "abcd"},    {"hexxx", u'\0', "he"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    EXPECT_EQ(without_fill(c.result, c.mode), c.clean);
  }
}

// Every text survives fill and without_fill unless its length is a multiple
// of 4 and it ends in a run fill could have made.
TEST(WithoutFill, UndoesFillForEveryShortText) {
  const std::string letters = "axX";
  std::vector<std::string> texts = {""};
  for (std::size_t len = 1; len <= 6; ++len) {
    std::vector<std::string> longer;
    for (const std::string& t : texts)
      if (t.size() == len - 1)
        for (char c : letters) longer.push_back(t + c);
    texts.insert(texts.end(), longer.begin(), longer.end());
  }
  for (const std::string& text : texts) {
    if (text.size() % 4 == 0) continue;
    SCOPED_TRACE(text);
    EXPECT_EQ(without_fill(filled_like_encryption(text), u'A'), text);
  }
}

TEST(PasswordCheck, ComparesWithThePasswordAsEncryptionFilledIt) {
  EXPECT_EQ(filled_like_encryption("abc"), "abcx");
  EXPECT_EQ(filled_like_encryption("abx"), "abxX");
  EXPECT_EQ(filled_like_encryption("a"), "axxx");
  EXPECT_EQ(filled_like_encryption("abcd"), "abcd");
  EXPECT_EQ(filled_like_encryption(""), "");

  struct Case {
    const char* decrypted;
    char16_t mode;
    const char* password;
    bool right;
  };
  const Case cases[] = {
      {"abcx", u'A', "abc", true},       {"pasX", u'A', "pasX", true},   {"pXXX", u'A', "pXXX", true},
      {"boxX", u'A', "box", true},    {"boxx", u'A', "box", false},       {"boxx", u'A', "boxx", true},   {"abxX", u'A', "abx", true},
      {"abcx", u'A', "ab", false},       {"abcx", u'A', "ABC", false},   {"abcx", u'A', "abcx", true},
      {"secretX", u'B', "secretX", true}, {"secret", u'B', "secre", false}, {"abcx", u'B', "abc", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.decrypted) + " / " + c.password);
    EXPECT_EQ(password_matches(c.decrypted, c.mode, c.password), c.right);
  }
}

// The earlier check stripped every trailing x and X run; whatever it
// accepted for the right password is still accepted.
TEST(PasswordCheck, AcceptsEveryPasswordTheEarlierCheckAccepted) {
  auto old_clean = [](std::string s) {
    while (!s.empty() && s.back() == 'x') s.pop_back();
    while (!s.empty() && s.back() == 'X') s.pop_back();
    return s;
  };
  const char* passwords[] = {"a", "ab", "abc", "abcd", "abx", "abxx", "kx", "aXb", "secret", "pass1234", "xa"};
  for (const char* p : passwords) {
    SCOPED_TRACE(p);
    std::string deciphered = filled_like_encryption(p);
    if (old_clean(deciphered) == p) {
      EXPECT_TRUE(password_matches(deciphered, u'A', p));
    }
    if (old_clean(p) == p) {
      EXPECT_TRUE(password_matches(p, u'B', p));
    }
  }
}

TEST(DecryptBlock, Outcomes) {
  EchoCipher cipher("pasX");
  BlockResult right = decrypt(block(u'A', "pasX", u'A', "abcXXxxx"), "pasX", cipher);
  EXPECT_EQ(right.outcome, Outcome::opened);
  EXPECT_EQ(right.text, "abcXX");
  EXPECT_EQ(cipher.calls, (std::vector<std::string>{"pasX/A", "abcXXxxx/A"}));

  BlockResult exact = decrypt(block(u'B', "pasX", u'B', "abcXX"), "pasX", cipher);
  EXPECT_EQ(exact.outcome, Outcome::opened);
  EXPECT_EQ(exact.text, "abcXX");

  cipher.calls.clear();
  BlockResult wrong = decrypt(block(u'A', "pasX", u'A', "abcXXxxx"), "pasx", cipher);
  EXPECT_EQ(wrong.outcome, Outcome::wrong_password);
  EXPECT_EQ(cipher.calls, std::vector<std::string>{"pasX/A"}) << "the text field is not decrypted";

  // A text mode letter after ">" may be missing: an empty mode string.
  cipher.calls.clear();
  EXPECT_EQ(decrypt(block(u'A', "pasX", u'\0', ""), "pasX", cipher).outcome, Outcome::opened);
  EXPECT_EQ(cipher.calls.back(), "/");

  cipher.missing = true;
  EXPECT_EQ(decrypt(block(u'A', "pasX", u'A', "abcd"), "pasX", cipher).outcome, Outcome::failed);
}

TEST(DecryptBlock, ForeignCharactersMakeNoLibraryCall) {
  EchoCipher cipher("pw");
  BlockItem foreign = block(u'A', "pwxx", u'A', "");
  foreign.fields.text_field = u"ab\u00e9c";
  EXPECT_EQ(decrypt(foreign, "pw", cipher).outcome, Outcome::damaged);
  foreign.fields.text_field = u"abcde";
  foreign.fields.check_mode = u'\u00e9';
  EXPECT_EQ(decrypt(foreign, "pw", cipher).outcome, Outcome::damaged);
  EXPECT_TRUE(cipher.calls.empty());
}

// A compressed text that comes back empty under the right password was
// made with a shared code table this computer lacks; the plain mode never
// says so.
TEST(DecryptBlock, AnEmptyCompressedTextNeedsTheWritersSharedTable) {
  EchoCipher cipher("pw");
  EXPECT_EQ(decrypt(block(u'A', "pwxx", u'B', ""), "pw", cipher).outcome, Outcome::needs_shared_table);
  const BlockResult plain = decrypt(block(u'A', "pwxx", u'A', ""), "pw", cipher);
  EXPECT_EQ(plain.outcome, Outcome::opened);
  EXPECT_EQ(plain.text, "");
}

}  // namespace
}  // namespace quiren::block
