// The secret key text and key files against the shared vectors
// (tests/vectors/key-blocks.json), and key files as they come back: a byte
// order mark, CR LF, a sealed key quoted in a mail or re-wrapped.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "block/ascii.h"
#include "block/keys/key_file.h"
#include "block/keys/secret_key_text.h"
#include "block/utf8.h"
#include "tests/support/hex.h"
#include "tests/support/quick_crypto.h"
#include "vectors/key_blocks.h"

namespace quiren::block {
namespace {

namespace vectors = testing::vectors;
using testing::secret_key_from_hex;
using testing::to_hex;

std::string hex_of(const SecretKey& key) { return to_hex(key.bytes()); }

TEST(SecretKeyText, WritesAndReadsTheVectors) {
  for (const vectors::SecretKeyTextVector& v : vectors::kSecretKeyTexts) {
    SCOPED_TRACE(v.name);
    EXPECT_EQ(secret_key_text(secret_key_from_hex(v.secret_hex)).view(), v.text);
    const std::optional<SecretKey> read = read_secret_key_text(v.text);
    ASSERT_TRUE(read);
    EXPECT_EQ(hex_of(*read), v.secret_hex);
  }
  for (const vectors::SecretKeyTextCase& c : vectors::kSecretKeyTextCases) {
    SCOPED_TRACE(c.name);
    const std::optional<SecretKey> read = read_secret_key_text(c.text);
    EXPECT_EQ(read.has_value(), c.outcome == "opened");
    EXPECT_EQ(read ? hex_of(*read) : "", c.secret_hex);
  }
}

// Each sealed key of the vectors, as written and as a mail gives it back,
// under its passphrase as typed (decomposed, for one): the key; under
// another: a wrong passphrase, and no key.
TEST(KeyFile, SealedKeysAsReceived) {
  const std::unique_ptr<CryptoProvider> crypto = platform_crypto();
  for (const vectors::SealedSecretKey& v : vectors::kSealedSecretKeys) {
    SCOPED_TRACE(v.name);
    const std::string block = narrow_ascii(v.block);
    std::string quoted = "> " + block;
    for (std::size_t at = quoted.find("\r\n"); at != std::string::npos; at = quoted.find("\r\n", at + 4)) {
      quoted.replace(at, 2, "\n> ");
    }
    const std::string forms[] = {block, block + "\r\n", "\xEF\xBB\xBF" + block, "On Monday you wrote:\n" + quoted + "\n"};
    for (const std::string& form : forms) {
      const KeyFileText file = read_key_file_text(form);
      ASSERT_EQ(file.form, KeyFileForm::sealed) << form;
      ASSERT_FALSE(file.problem);
      EXPECT_EQ(to_hex(file.envelope), v.envelope_hex);
      const SealedKeyOpened opened = open_sealed_key(*crypto, file.envelope, v.passphrase);
      ASSERT_EQ(opened.outcome, Outcome::opened);
      EXPECT_EQ(hex_of(*opened.key), v.secret_hex);
      const SealedKeyOpened wrong = open_sealed_key(*crypto, file.envelope, "another passphrase");
      EXPECT_EQ(wrong.outcome, Outcome::wrong_password);
      EXPECT_FALSE(wrong.key);
    }
  }
}

TEST(KeyFile, BareKeysAndWhatHoldsNoKey) {
  const vectors::SecretKeyTextVector& alice = vectors::kSecretKeyTexts[0];
  const std::string line(alice.text);
  for (const std::string& form : {line, line + "\n", line + "\r\n", "\xEF\xBB\xBF" + line + "\r\n"}) {
    const KeyFileText file = read_key_file_text(form);
    ASSERT_EQ(file.form, KeyFileForm::bare) << form;
    EXPECT_EQ(hex_of(*file.key), alice.secret_hex);
  }
  const std::string none[] = {"", "hello", line + "\n\n", "  " + line, narrow_ascii(vectors::kKeyBlocks[0].block)};
  for (const std::string& form : none) EXPECT_EQ(read_key_file_text(form).form, KeyFileForm::none) << form;

  // A sealed key whose block is damaged, or opens to something else.
  std::string damaged = narrow_ascii(vectors::kSealedSecretKeys[0].block);
  damaged[20] = '*';
  const KeyFileText file = read_key_file_text(damaged);
  EXPECT_EQ(file.form, KeyFileForm::sealed);
  EXPECT_EQ(file.problem, Outcome::damaged);
  const std::shared_ptr<testing::QuickCrypto> crypto = std::make_shared<testing::QuickCrypto>();
  const StrongBlock not_a_key = write_strong_block(*crypto, "just a text", "pw", 60);
  const KeyFileText other = read_key_file_text(narrow_ascii(not_a_key.block));
  ASSERT_EQ(other.form, KeyFileForm::sealed);
  EXPECT_EQ(open_sealed_key(*crypto, other.envelope, "pw").outcome, Outcome::damaged);
}

TEST(KeyFile, ReadsWhatItWrites) {
  const std::shared_ptr<testing::QuickCrypto> crypto = std::make_shared<testing::QuickCrypto>();
  const SecretKey key = secret_key_from_hex(vectors::kSecretKeyTexts[1].secret_hex);
  const KeyFileText bare = read_key_file_text(bare_key_file(key).view());
  ASSERT_EQ(bare.form, KeyFileForm::bare);
  EXPECT_EQ(hex_of(*bare.key), hex_of(key));

  const StrongBlock sealed = sealed_key_block(*crypto, key, "か\u3099ぎ", 60);
  ASSERT_EQ(sealed.status, SealStatus::sealed);
  const KeyFileText file = read_key_file_text(narrow_ascii(sealed.block));
  ASSERT_EQ(file.form, KeyFileForm::sealed);
  // Sealed under the passphrase in NFC: either form opens it.
  for (const char* passphrase : {"か\u3099ぎ", "がぎ"}) {
    const SealedKeyOpened opened = open_sealed_key(*crypto, file.envelope, passphrase);
    ASSERT_EQ(opened.outcome, Outcome::opened) << passphrase;
    EXPECT_EQ(hex_of(*opened.key), hex_of(key));
  }
}

}  // namespace
}  // namespace quiren::block
