#include "tray/keys/key_transfer.h"

#include <gtest/gtest.h>

#include "block/keys/key_file.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/quick_crypto.h"
#include "tray/keys/key_texts.h"

namespace quiren::keys {
namespace {

using testing::FakeDesktop;

const std::u16string kFile = u"D:\\backup\\mu-quiren-key.txt";

struct KeyTransferTest : ::testing::Test {
  KeyTransferTest() { store.load(); }

  // Exports the key to kFile under `passphrase`: what the file holds.
  std::string exported(std::u16string passphrase) {
    desktop.chosen_files = {kFile};
    desktop.prompt_answers = {std::move(passphrase)};
    export_my_key(state, desktop, crypto, store);
    return desktop.files.contains(kFile) ? desktop.files.at(kFile) : std::string();
  }

  FakeDesktop desktop;
  testing::QuickCrypto crypto;
  ProgramState state;
  KeyStore store{desktop, crypto};
};

TEST_F(KeyTransferTest, AnExportedKeyIsSealedUnderThePassphraseAndReadBackOnAnotherPc) {
  const std::string file = exported(u"引っ越し用の合言葉");
  EXPECT_EQ(desktop.prompts.back().kind, testing::PromptKind::confirmed_password);
  EXPECT_EQ(desktop.box_texts().back(), texts::kKeyExported);
  const block::KeyFileText text = block::read_key_file_text(file);
  ASSERT_EQ(text.form, block::KeyFileForm::sealed);
  const block::SealedKeyOpened opened = block::open_sealed_key(crypto, text.envelope, "引っ越し用の合言葉");
  ASSERT_EQ(opened.outcome, block::Outcome::opened);
  EXPECT_EQ(crypto.x25519_public_key(*opened.key), store.my_public_key());

  // Another PC: its own first key, replaced once the user says so; a wrong
  // passphrase first.
  FakeDesktop other;
  other.windows_user = u"taro-laptop";
  KeyStore laptop(other, crypto);
  laptop.load();
  other.files[kFile] = file;
  other.chosen_files = {kFile, kFile};
  other.prompt_answers = {u"違う合言葉", u"引っ越し用の合言葉"};
  import_my_key(other, crypto, laptop);
  EXPECT_EQ(other.box_texts().back(), texts::kImportWrongPassphrase);
  other.box_answers = {Answer::yes};
  import_my_key(other, crypto, laptop);
  EXPECT_EQ(other.boxes[other.boxes.size() - 2].text, texts::kAskReplaceMyKey);
  EXPECT_TRUE(other.boxes[other.boxes.size() - 2].second_is_default);
  EXPECT_EQ(other.box_texts().back(), texts::kKeyImported);
  EXPECT_EQ(laptop.my_public_key(), store.my_public_key());
  KeyStore restarted(other, crypto);
  restarted.load();
  EXPECT_EQ(restarted.my_public_key(), store.my_public_key());
}

TEST_F(KeyTransferTest, AKeyReadFromTheClipboardAsReceivedAndTheReplacementDeclined) {
  const std::string file = exported(u"pass phrase");
  // Quoted in a reply, as a mail brings it back.
  std::u16string quoted;
  for (char c : file) {
    if (quoted.empty() || quoted.back() == u'\n') quoted += u"> ";
    quoted += static_cast<char16_t>(static_cast<unsigned char>(c));
  }
  FakeDesktop other;
  KeyStore mine(other, crypto);
  mine.load();
  const auto before = mine.my_public_key();
  other.clipboard = quoted;
  other.box_answers = {Answer::yes, Answer::no};  // from the clipboard; keep my key
  other.prompt_answers = {u"pass phrase"};
  import_my_key(other, crypto, mine);
  EXPECT_EQ(other.box_texts()[0], texts::kAskImportFromClipboard);
  EXPECT_EQ(other.box_texts().back(), texts::kAskReplaceMyKey);
  EXPECT_TRUE(other.file_dialogs.empty());
  EXPECT_EQ(mine.my_public_key(), before);

  // The same key again is said to be held already.
  other.box_answers = {Answer::yes};
  other.prompt_answers = {u"pass phrase"};
  import_my_key(other, crypto, store);
  EXPECT_EQ(other.box_texts().back(), texts::kImportSameKey);
}

TEST_F(KeyTransferTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
  desktop.files[kFile] = "keep me";
  exported(u"pass");
  EXPECT_EQ(desktop.box_texts().back(), texts::kAskReplaceFile);
  EXPECT_EQ(desktop.files.at(kFile), "keep me");
  desktop.box_answers = {Answer::yes};
  EXPECT_EQ(block::read_key_file_text(exported(u"pass")).form, block::KeyFileForm::sealed);

  desktop.chosen_files = {};
  desktop.prompts.clear();
  export_my_key(state, desktop, crypto, store);  // the dialog cancelled: nothing asked
  EXPECT_TRUE(desktop.prompts.empty());
}

TEST_F(KeyTransferTest, FilesThatHoldNoKeyAndUnreadableFilesAreSaid) {
  const struct {
    std::string bytes;
    std::u16string_view says;
  } cases[] = {
      {"just a letter", texts::kNotAKeyFile},
      {"(quiren_start)\r\nC@@@\r\n(quiren_end)\r\n", texts::kSealedKeyUnreadable},
      {std::string(block::kLargestKeyFile + 1, ' '), texts::kKeyFileTooLarge},
  };
  for (const auto& c : cases) {
    desktop.files[kFile] = c.bytes;
    desktop.chosen_files = {kFile};
    import_my_key(desktop, crypto, store);
    EXPECT_EQ(desktop.box_texts().back(), c.says) << c.bytes.substr(0, 60);
  }
  desktop.unreadable_files.insert(kFile);
  desktop.chosen_files = {kFile};
  import_my_key(desktop, crypto, store);
  EXPECT_EQ(desktop.box_texts().back(), texts::kFileUnreadable);
}

}  // namespace
}  // namespace quiren::keys
