#include "block/block_decrypt.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "block/ascii.h"
#include "block/cipher_library.h"
#include "block/strong/strong_envelope.h"
#include "tests/block/echo_cipher.h"
#include "tests/support/quick_crypto.h"

namespace quiren::block {
namespace {

using testing::EchoCipher;

std::u16string widen(std::string_view s) { return widen_bytes(s); }

BlockItem block(char16_t check_mode, std::string_view check, char16_t text_mode, std::string_view text) {
  return {std::nullopt, BlockKind::compatible, {check_mode, widen(check), text_mode, widen(text)}, {}};
}

BlockPassword password_of(std::string_view ansi, std::string_view utf8) {
  return {SecretBytes(ansi), SecretBytes(utf8)};
}

// The one password in both of its forms, and the cryptography of strong
// blocks, which compatible ones never touch.
BlockResult decrypt(const BlockItem& item, std::string_view password, CipherLibrary& cipher) {
  static testing::QuickCrypto crypto;
  return decrypt_block(item, password_of(password, password), cipher, crypto);
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

TEST(DecryptBlock, ReaderProblemsAndForeignCharactersMakeNoLibraryCall) {
  EchoCipher cipher("pw");
  BlockItem bad_letter{Outcome::later_format, BlockKind::compatible, {}, {}};
  BlockItem no_separator{Outcome::damaged, BlockKind::compatible, {}, {}};
  BlockItem foreign = block(u'A', "pwxx", u'A', "");
  foreign.fields.text_field = u"ab\u00e9c";
  EXPECT_EQ(decrypt(bad_letter, "pw", cipher).outcome, Outcome::later_format);
  EXPECT_EQ(decrypt(no_separator, "pw", cipher).outcome, Outcome::damaged);
  EXPECT_EQ(decrypt(foreign, "pw", cipher).outcome, Outcome::damaged);
  EXPECT_TRUE(cipher.calls.empty());
}

TEST(DecryptBlock, StrongBlocksOpenUnderTheUtf8PasswordAndNeverYieldAlteredText) {
  testing::QuickCrypto crypto;
  EchoCipher cipher("unused");
  SealResult sealed = seal_envelope(crypto, "秘密 😀", "パス");
  ASSERT_EQ(sealed.status, SealStatus::sealed);
  BlockItem item{std::nullopt, BlockKind::strong, {}, sealed.envelope};

  // The ANSI form of the password plays no part in a strong block.
  BlockResult opened = decrypt_block(item, password_of("?", "パス"), cipher, crypto);
  EXPECT_EQ(opened.outcome, Outcome::opened);
  EXPECT_EQ(opened.encoding, TextEncoding::utf8);
  EXPECT_EQ(opened.text, "秘密 😀");
  EXPECT_EQ(decrypt_block(item, password_of("パス", "ぱす"), cipher, crypto).outcome, Outcome::wrong_password);
  for (std::size_t i = 0; i < item.envelope.size(); ++i) {
    BlockItem changed = item;
    changed.envelope[i] ^= 0x01;
    BlockResult outcome = decrypt_block(changed, password_of("", "パス"), cipher, crypto);
    EXPECT_NE(outcome.outcome, Outcome::opened) << i;
    EXPECT_TRUE(outcome.text.empty()) << i;
  }
  EXPECT_TRUE(cipher.calls.empty()) << "strong blocks never reach the compatible cipher";
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

// Under "pw", with every mode "B" text field expanding to `bytes`.
struct Expanding : EchoCipher {
  explicit Expanding(std::size_t bytes) : EchoCipher("pw"), bytes_(bytes) {}
  std::optional<SecretBytes> decrypt(std::string_view body, std::string_view password,
                                     std::string_view mode) override {
    std::optional<SecretBytes> result = EchoCipher::decrypt(body, password, mode);
    if (mode == "B") return SecretBytes(std::string(bytes_, 'e'));
    return result;
  }
  std::size_t bytes_;
};

// Each block may expand to the library's limit; a run gives back no more
// than that in all, and stops expanding once it is spent.
TEST(BlockOpener, TheDecryptedTextsOfARunStayWithinTheLimit) {
  Expanding cipher(kLongestText / 2 + 1);
  BlockOpener opener(password_of("pw", "pw"), cipher, std::make_shared<testing::QuickCrypto>());
  const BlockItem small = block(u'A', "pwxx", u'A', "tiny");
  const BlockItem big = block(u'A', "pwxx", u'B', "GGGGG");
  EXPECT_EQ(opener.open(small).text, "tiny");
  EXPECT_EQ(opener.open(big).outcome, Outcome::opened);
  EXPECT_EQ(opener.open(big).outcome, Outcome::over_limit) << "a second half plus one passes the limit";
  const std::size_t calls = cipher.calls.size();
  EXPECT_EQ(opener.open(small).outcome, Outcome::over_limit) << "nothing more once spent";
  EXPECT_EQ(cipher.calls.size(), calls);
}

// A strong block says how long its text is before its key is derived: one
// whose text would pass what the run has left costs no derivation.
TEST(BlockOpener, AStrongBlockPastTheLimitIsRefusedBeforeItsKeyIsDerived) {
  Expanding cipher(kLongestText - 10);
  const auto crypto = std::make_shared<testing::QuickCrypto>();
  const auto strong = [&](std::size_t bytes) {
    const SealResult sealed = seal_envelope(*crypto, std::string(bytes, 's'), "pw");
    return BlockItem{std::nullopt, BlockKind::strong, {}, sealed.envelope};
  };
  const BlockItem fits = strong(10);
  const BlockItem passes = strong(11);
  const BlockItem big = block(u'A', "pwxx", u'B', "GGGGG");
  crypto->derivations = 0;

  BlockOpener first(password_of("pw", "pw"), cipher, crypto);
  EXPECT_EQ(first.open(big).outcome, Outcome::opened);
  EXPECT_EQ(first.open(passes).outcome, Outcome::over_limit);
  EXPECT_EQ(crypto->derivations, 0);

  BlockOpener second(password_of("pw", "pw"), cipher, crypto);
  EXPECT_EQ(second.open(big).outcome, Outcome::opened);
  EXPECT_EQ(second.open(fits).outcome, Outcome::opened);
  EXPECT_EQ(crypto->derivations, 1);
}

}  // namespace
}  // namespace quiren::block
