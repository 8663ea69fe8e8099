// The tool's commands of keys in process: a new key's file (mode 0600,
// never over another file), its key block and digits; key files and key
// blocks read as received; encrypting to keys and decrypting with one,
// with the lines that name each block's sender.
#include "tools/quiren/key_commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstdio>
#include <memory>
#include <string>

#include "block/ascii.h"
#include "block/block_rules.h"
#include "block/keys/key_file.h"
#include "block/keys/safety_digits.h"
#include "tests/support/hex.h"
#include "tests/support/quick_crypto.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/linked_cipher.h"
#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utc_time.h"
#include "vectors/key_blocks.h"

namespace quiren::tool {
namespace {

namespace fs = std::filesystem;
namespace vectors = testing::vectors;

std::string quoted_in_mail(std::string_view block) {
  std::string out = "> ";
  for (char c : block) {
    if (c == '\r') continue;
    out += c;
    if (c == '\n') out += "> ";
  }
  return out + "\n";
}

class KeyCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quiren-keys-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  static PassphraseSource given(std::string passphrase, int* asked = nullptr) {
    return [passphrase, asked] {
      if (asked) ++*asked;
      return PasswordRead{true, block::SecretBytes(passphrase), {}};
    };
  }
  static std::string contents(const fs::path& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
      std::fclose(f);
    }
    return bytes;
  }
  // A new key in `file`; its key block.
  std::string new_key(const std::string& file, const std::string& name, const PassphraseSource& passphrase = {}) {
    const CommandResult made = key_new_command((dir / file).string(), name, passphrase, 60, *crypto);
    EXPECT_EQ(made.exit_code, kExitDone) << made.message;
    return std::string(made.output.view());
  }
  block::SecretKey key_in(const std::string& file, const PassphraseSource& passphrase = given("")) {
    KeyRead read = key_from_file((dir / file).string(), passphrase, *crypto);
    EXPECT_TRUE(read.ok) << read.problem;
    return read.ok ? std::move(*read.key) : block::SecretKey();
  }
  CommandResult decrypt(std::string_view input, const std::string& key_file, std::string password = "pw") {
    KeySource key;
    if (!key_file.empty()) {
      key = [this, key_file] { return key_from_file((dir / key_file).string(), given(""), *crypto); };
    }
    return decrypt_command(input, [password] { return PasswordRead{true, block::SecretBytes(password), {}}; },
                           *japanese, ciphers, RoundLimit::budget, key);
  }

  fs::path dir;
  std::shared_ptr<testing::QuickCrypto> crypto = std::make_shared<testing::QuickCrypto>();
  std::unique_ptr<CodePage> japanese = open_code_page(932);
  LinkedCipher cipher;
  Ciphers ciphers{cipher, crypto};
};

TEST_F(KeyCommands, ANewKeyGoesToANewFileOfItsOwnersAlone) {
  int asked = 0;
  const CommandResult sealed = key_new_command((dir / "sealed.key").string(), "山田 花子", given("合言葉", &asked),
                                               60, *crypto);
  ASSERT_EQ(sealed.exit_code, kExitDone) << sealed.message;
  EXPECT_EQ(asked, 1);
  const std::string file = contents(dir / "sealed.key");
  EXPECT_TRUE(file.starts_with("(quiren_start)\r\nC")) << file;
  EXPECT_TRUE(file.ends_with("(quiren_end)\r\n"));
  struct stat info {};
  ASSERT_EQ(::stat((dir / "sealed.key").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // The key block on standard output, the digits and the file under it.
  const block::SecretKey secret = key_in("sealed.key", given("合言葉"));
  const block::X25519PublicKey public_key = *crypto->x25519_public_key(secret);
  const std::string digits = *block::safety_digits(*crypto, public_key);
  KeyBlocksFound found = key_blocks_in(sealed.output.view(), *crypto);
  ASSERT_EQ(found.keys.size(), 1u);
  EXPECT_EQ(found.keys[0].name, "山田 花子");
  EXPECT_EQ(found.keys[0].public_key, public_key);
  EXPECT_EQ(sealed.notes, (std::vector<std::string>{"your safety digits: " + digits,
                                                     "your secret key is in " + (dir / "sealed.key").string() +
                                                         ": keep it, and give no one the file"}));
  // key show gives the same block again.
  EXPECT_EQ(key_show_command(secret, "山田 花子", 60, *crypto).output.view(), sealed.output.view());

  // Bare: the line and a line break.
  new_key("bare.key", "");
  const std::string bare = contents(dir / "bare.key");
  EXPECT_TRUE(bare.starts_with("QUIREN-SECRET-KEY-1 ") && bare.ends_with("\n") && bare.size() == 64) << bare;
}

TEST_F(KeyCommands, AKeyFileThatExistsIsNeverOverwritten) {
  for (const char* existing : {"file", "link"}) {
    SCOPED_TRACE(existing);
    const fs::path path = dir / existing;
    if (std::string(existing) == "file") std::ofstream(path) << "keep me";
    else fs::create_symlink(dir / "nowhere", path);  // a link to nothing is something too
    int asked = 0;
    const CommandResult r = key_new_command(path.string(), "x", given("pp", &asked), 60, *crypto);
    EXPECT_EQ(r.exit_code, kExitBadInput);
    EXPECT_EQ(r.message, "the key file exists already, and is never overwritten: " + path.string());
    EXPECT_TRUE(r.output.view().empty());
    EXPECT_EQ(asked, 0) << "no passphrase typed for nothing";
  }
  EXPECT_EQ(contents(dir / "file"), "keep me");
  EXPECT_FALSE(fs::exists(dir / "nowhere"));

  const std::pair<std::string, std::string> refused[] = {
      {std::string(65, 'A'), std::string(texts::kKeyNameTooLong)},
      {"Alice\u202eX", std::string(texts::kKeyNameForbidden)},
      {"\xff", std::string(texts::kKeyNameNotUtf8)},
  };
  for (const auto& [name, message] : refused) {
    EXPECT_EQ(key_new_command((dir / "new.key").string(), name, {}, 60, *crypto).message, message);
  }
  EXPECT_EQ(key_new_command((dir / "new.key").string(), "x", given(""), 60, *crypto).message,
            texts::kEmptyKeyPassphrase);
  EXPECT_FALSE(fs::exists(dir / "new.key"));
}

// Key files as a mail or an editor gives them back.
TEST_F(KeyCommands, KeyFilesAsReceived) {
  const vectors::SealedSecretKey& sealed = vectors::kSealedSecretKeys[0];
  const vectors::SecretKeyTextVector& bare = vectors::kSecretKeyTexts[0];
  const std::shared_ptr<block::CryptoProvider> real = block::platform_crypto();
  const std::string forms[] = {
      std::string(bare.text),
      "\xEF\xBB\xBF" + std::string(bare.text) + "\r\n",
      block::narrow_ascii(sealed.block),
      "\xEF\xBB\xBF" + block::narrow_ascii(sealed.block) + "\r\n",
      "Here is my key, as you asked:\n" + quoted_in_mail(block::narrow_ascii(sealed.block)),
  };
  for (const std::string& form : forms) {
    SCOPED_TRACE(form);
    int asked = 0;
    KeyRead read = key_from_file_text(form, given(std::string(sealed.passphrase), &asked), *real);
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(testing::to_hex(read.key->bytes()), form.find("quiren_start") != std::string::npos
                                                      ? sealed.secret_hex
                                                      : bare.secret_hex);
    EXPECT_EQ(asked, form.find("quiren_start") != std::string::npos ? 1 : 0) << "asked for a sealed key only";
  }
  EXPECT_EQ(key_from_file_text(block::narrow_ascii(sealed.block), given("wrong"), *real).problem,
            texts::kKeyFileWrongPassphrase);
  EXPECT_EQ(key_from_file_text(block::narrow_ascii(vectors::kKeyBlocks[0].block), given("x"), *real).problem,
            texts::kKeyFileNoKey);
  const KeyRead missing = key_from_file((dir / "none").string(), given("x"), *real);
  EXPECT_EQ(missing.problem, std::string(texts::kKeyFileMissing) + ": " + (dir / "none").string());
}

// Key blocks as received: quoted, re-wrapped, between other text; each
// one's name and digits. A damaged one says where.
TEST_F(KeyCommands, KeyDigitsOfKeyBlocksAsReceived) {
  const vectors::KeyBlockVector& alice = vectors::kKeyBlocks[0];
  const vectors::KeyBlockVector& bob = vectors::kKeyBlocks[1];
  const std::string input = "From Alice:\n" + quoted_in_mail(block::narrow_ascii(alice.block)) + "\nand Bob's:\r\n" +
                            block::narrow_ascii(bob.block) + "\r\n";
  const CommandResult r = key_digits_command(input, *crypto);
  EXPECT_EQ(r.exit_code, kExitDone) << r.message;
  EXPECT_EQ(r.output.view(), std::string(alice.holder_name) + ": " + std::string(alice.digits) + "\n" +
                          std::string(bob.holder_name) + ": " + std::string(bob.digits) + "\n");
  const vectors::KeyBlockVector& unnamed = vectors::kKeyBlocks[2];
  EXPECT_EQ(key_digits_command(block::narrow_ascii(unnamed.block), *crypto).output.view(),
            "(no name): " + std::string(unnamed.digits) + "\n");

  EXPECT_EQ(key_digits_command("no block here", *crypto).message, texts::kNoKeyBlock);
  std::string damaged = block::narrow_ascii(alice.block);
  damaged[20] = ',';
  const CommandResult bad = key_digits_command(damaged, *crypto);
  EXPECT_EQ(bad.exit_code, kExitBadInput);
  EXPECT_EQ(bad.message, texts::kKeyBlockDamaged);
  EXPECT_EQ(bad.detail, "line 2, character 5: \",\" (U+002C) is not a character blocks are written in");
}

TEST_F(KeyCommands, EncryptToKeysAndDecryptWithOne) {
  const std::string alice_block = new_key("alice.key", "Alice");
  const std::string bob_block = new_key("bob.key", "Bob");
  new_key("carol.key", "Carol");
  const block::SecretKey alice = key_in("alice.key");
  const std::string alice_digits = *block::safety_digits(*crypto, *crypto->x25519_public_key(alice));
  const CommandResult written =
      encrypt_to_keys_command("明日は10時に。\r\n", 60, alice, {{"bob.txt", quoted_in_mail(bob_block)}}, *crypto);
  ASSERT_EQ(written.exit_code, kExitDone) << written.message;
  EXPECT_TRUE(written.output.view().starts_with("(quiren_start)\r\nD"));

  for (const char* reader : {"alice.key", "bob.key"}) {
    SCOPED_TRACE(reader);
    const CommandResult r = decrypt(quoted_in_mail(written.output.view()), reader);
    EXPECT_EQ(r.exit_code, kExitDone) << r.message;
    EXPECT_EQ(r.output.view(), "明日は10時に。\r\n");
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_TRUE(r.notes[0].starts_with("block 1 of 1: from " + alice_digits + ", written 20")) << r.notes[0];
    EXPECT_TRUE(r.notes[0].ends_with(" UTC"));
  }
  const CommandResult other = decrypt(written.output.view(), "carol.key");
  EXPECT_EQ(other.exit_code, kExitWrongPassword);
  EXPECT_EQ(other.notes, std::vector<std::string>{"block 1 of 1: not addressed to this key, or changed"});
  const CommandResult none = decrypt(written.output.view(), "");
  EXPECT_EQ(none.exit_code, kExitWrongPassword);
  EXPECT_EQ(none.notes, std::vector<std::string>{"block 1 of 1: a block for someone's key: give yours with --key FILE"});

  // A key file that cannot be read stops a text that needs it, and only such a text.
  std::ofstream(dir / "broken.key") << "not a key";
  EXPECT_EQ(decrypt(written.output.view(), "broken.key").exit_code, kExitBadInput);
  EXPECT_EQ(decrypt("no block", "broken.key").message, texts::kNoBlock);

  // A --to file must hold one key block.
  const std::pair<std::string, std::string> wrong_files[] = {
      {"no key block here", std::string(texts::kToFileNoKeyBlock) + ": f"},
      {alice_block + "\r\n" + bob_block, std::string(texts::kToFileManyKeyBlocks) + ": f"},
  };
  for (const auto& [bytes, message] : wrong_files) {
    EXPECT_EQ(encrypt_to_keys_command("t", 60, alice, {{"f", bytes}}, *crypto).message, message);
  }
  EXPECT_EQ(encrypt_to_keys_command(std::string_view("a\0b", 3), 60, alice, {{"f", bob_block}}, *crypto).message,
            texts::kInputHasNul);
}

TEST(UtcMinute, CivilTimes) {
  const std::pair<std::uint64_t, const char*> cases[] = {
      {0, "1970-01-01 00:00"},
      {1796981400, "2026-12-11 09:30"},
      {951782400, "2000-02-29 00:00"},
      {951868799, "2000-02-29 23:59"},
      {4107542400, "2100-03-01 00:00"},  // 2100 is no leap year
      {253402300799, "9999-12-31 23:59"},
      {253402300800, "10000-01-01 00:00"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(utc_minute(seconds), text) << seconds;
  EXPECT_FALSE(utc_minute(~std::uint64_t{0}).empty()) << "the largest time a block can hold";
}

}  // namespace
}  // namespace quiren::tool
