#include "tray/keys/key_store.h"

#include <gtest/gtest.h>

#include <memory>

#include "block/keys/secret_key_text.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/quick_crypto.h"
#include "tray/core/settings_keys.h"
#include "tray/keys/key_texts.h"
#include "tray/keys/stored_contacts.h"
#include "block/keys/key_file.h"

namespace quiren::keys {
namespace {

using testing::FakeDesktop;
using testing::u16;

struct KeyStoreTest : ::testing::Test {
  FakeDesktop desktop;
  std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
};

block::X25519PublicKey key_of(std::uint8_t fill) {
  block::X25519PublicKey key;
  key.fill(fill);
  return key;
}

TEST_F(KeyStoreTest, TheFirstKeyIsMadeOnceNamedAfterTheUserAndReadBackAfterARestart) {
  KeyStore first(desktop, *crypto);
  ASSERT_EQ(first.load(), KeyLoad::made);
  ASSERT_NE(first.my_secret_key(), nullptr);
  EXPECT_EQ(first.my_name(), u"taro");
  EXPECT_EQ(first.my_public_key(), crypto->x25519_public_key(*first.my_secret_key()));
  // Only the sealed form is stored: the secret key text is not in it.
  const block::SecretBytes text = block::secret_key_text(*first.my_secret_key());
  EXPECT_EQ(desktop.settings.at(std::u16string(settings::kMyKey)).find(u16(std::string(text.data(), text.size()))),
            std::u16string::npos);

  KeyStore restarted(desktop, *crypto);
  EXPECT_EQ(restarted.load(), KeyLoad::held);
  EXPECT_EQ(restarted.my_public_key(), first.my_public_key());
  EXPECT_EQ(restarted.my_name(), u"taro");
}

TEST_F(KeyStoreTest, AKeyAnotherUserSealedIsReportedAndKeptAsItIs) {
  KeyStore mine(desktop, *crypto);
  ASSERT_EQ(mine.load(), KeyLoad::made);
  const std::u16string stored = desktop.settings.at(std::u16string(settings::kMyKey));

  desktop.windows_user = u"hanako";
  KeyStore theirs(desktop, *crypto);
  EXPECT_EQ(theirs.load(), KeyLoad::unreadable);
  EXPECT_TRUE(theirs.my_key_unreadable());
  EXPECT_EQ(theirs.my_secret_key(), nullptr);
  EXPECT_FALSE(theirs.my_public_key());
  EXPECT_EQ(desktop.settings.at(std::u16string(settings::kMyKey)), stored);
}

TEST_F(KeyStoreTest, WhenTheSystemRefusesToSealNoKeyIsMadeAndTheNextStartTriesAgain) {
  desktop.protection_fails = true;
  KeyStore refused(desktop, *crypto);
  EXPECT_EQ(refused.load(), KeyLoad::failed);
  EXPECT_EQ(refused.my_secret_key(), nullptr);
  EXPECT_FALSE(desktop.settings.contains(std::u16string(settings::kMyKey)));

  desktop.protection_fails = false;
  KeyStore next(desktop, *crypto);
  EXPECT_EQ(next.load(), KeyLoad::made);
}

TEST_F(KeyStoreTest, AUserNameNoKeyBlockMayCarryLeavesTheKeyUnnamed) {
  desktop.windows_user = std::u16string(65, u'a');
  KeyStore store(desktop, *crypto);
  ASSERT_EQ(store.load(), KeyLoad::made);
  EXPECT_EQ(store.my_name(), u"");
}

TEST_F(KeyStoreTest, ContactsAreRenamedConfirmedAndRemovedAndSurviveARestart) {
  KeyStore store(desktop, *crypto);
  store.load();
  store.add_contact({u"田中", key_of(1), false});
  store.add_contact({u"Bob", key_of(2), true});
  store.add_contact({u"Carol", key_of(3), false});

  EXPECT_TRUE(store.rename_contact(0, u"田中 一郎"));
  EXPECT_FALSE(store.rename_contact(1, u""));
  EXPECT_FALSE(store.rename_contact(1, u"a\u202Eb"));
  EXPECT_FALSE(store.rename_contact(7, u"x"));
  store.confirm_contact(0);
  store.remove_contact(2);
  EXPECT_TRUE(store.rename_me(u"Taro Y."));
  EXPECT_FALSE(store.rename_me(std::u16string(65, u'a')));

  const std::vector<Contact> expected{{u"田中 一郎", key_of(1), true}, {u"Bob", key_of(2), true}};
  EXPECT_EQ(store.contacts(), expected);
  KeyStore restarted(desktop, *crypto);
  restarted.load();
  EXPECT_EQ(restarted.contacts(), expected);
  EXPECT_EQ(restarted.my_name(), u"Taro Y.");
  EXPECT_EQ(restarted.contact_with(key_of(2)), expected[1]);
  EXPECT_FALSE(restarted.contact_with(key_of(3)));
}

TEST_F(KeyStoreTest, AnImportedKeyReplacesTheOneHeldAndAnUnreadableOne) {
  desktop.windows_user = u"hanako";
  KeyStore other(desktop, *crypto);
  other.load();
  desktop.windows_user = u"taro";
  KeyStore store(desktop, *crypto);
  ASSERT_EQ(store.load(), KeyLoad::unreadable);

  std::optional<block::X25519KeyPair> pair = crypto->generate_x25519_key_pair();
  ASSERT_TRUE(pair);
  ASSERT_TRUE(store.replace_my_key(pair->secret));
  EXPECT_FALSE(store.my_key_unreadable());
  EXPECT_EQ(store.my_public_key(), pair->public_key);
  KeyStore restarted(desktop, *crypto);
  EXPECT_EQ(restarted.load(), KeyLoad::held);
  EXPECT_EQ(restarted.my_public_key(), pair->public_key);

  desktop.protection_fails = true;
  std::optional<block::X25519KeyPair> refused = crypto->generate_x25519_key_pair();
  EXPECT_FALSE(restarted.replace_my_key(refused->secret));
  EXPECT_EQ(restarted.my_public_key(), pair->public_key);
}

// A copy on a USB stick: the key in the file beside the program, sealed
// under a passphrase asked at each start, on any PC.
struct KeyBesideProgramTest : ::testing::Test {
  std::u16string key_file() const { return home.program_dir + u"\\" + std::u16string(kKeyFileName); }

  FakeDesktop home;
  testing::QuickCrypto crypto;
};

TEST_F(KeyBesideProgramTest, TheKeyMovesBesideTheProgramAndOpensOnAnotherPcWithItsPassphrase) {
  KeyStore mine(home, crypto);
  ASSERT_EQ(mine.load(), KeyLoad::made);
  ASSERT_EQ(mine.keep_key_beside_program("stick pass"), KeyStore::Move::moved);
  EXPECT_TRUE(mine.key_beside_program());
  EXPECT_EQ(mine.keep_key_beside_program("again"), KeyStore::Move::exists);
  const std::string file = home.files.at(key_file());
  EXPECT_EQ(block::read_key_file_text(file).form, block::KeyFileForm::sealed);

  FakeDesktop other;  // another PC, nothing in its registry
  other.windows_user = u"guest";
  other.files[key_file()] = file;
  other.prompt_answers = {u"wrong", u"stick pass"};
  KeyStore stick(other, crypto);
  EXPECT_EQ(stick.load(), KeyLoad::held);
  EXPECT_EQ(stick.my_public_key(), mine.my_public_key());
  EXPECT_TRUE(stick.key_beside_program());
  EXPECT_EQ(other.box_texts(), std::vector<std::u16string>{std::u16string(texts::kKeyFileWrongPassphrase)});
  EXPECT_FALSE(other.settings.contains(std::u16string(settings::kMyKey))) << "nothing of the key left on the PC";
  EXPECT_EQ(stick.my_name(), u"guest");

  // An imported key is sealed into the file under the same passphrase.
  const std::optional<block::X25519KeyPair> pair = crypto.generate_x25519_key_pair();
  ASSERT_TRUE(stick.replace_my_key(pair->secret));
  other.prompt_answers = {u"stick pass"};
  KeyStore restarted(other, crypto);
  EXPECT_EQ(restarted.load(), KeyLoad::held);
  EXPECT_EQ(restarted.my_public_key(), pair->public_key);
}

TEST_F(KeyBesideProgramTest, WithoutThePassphraseTheProgramRunsWithoutAKeyAndMakesNone) {
  KeyStore mine(home, crypto);
  mine.load();
  ASSERT_EQ(mine.keep_key_beside_program("stick pass"), KeyStore::Move::moved);
  FakeDesktop other;
  other.files[key_file()] = home.files.at(key_file());
  KeyStore stick(other, crypto);
  EXPECT_EQ(stick.load(), KeyLoad::locked);  // the prompt cancelled
  EXPECT_EQ(stick.my_secret_key(), nullptr);
  EXPECT_FALSE(other.settings.contains(std::u16string(settings::kMyKey)));
  // Nor is the file written over: an import needs the passphrase.
  const std::optional<block::X25519KeyPair> pair = crypto.generate_x25519_key_pair();
  EXPECT_FALSE(stick.replace_my_key(pair->secret));
  EXPECT_EQ(other.files.at(key_file()), home.files.at(key_file()));

  other.files[key_file()] = "not a key";
  KeyStore damaged(other, crypto);
  EXPECT_EQ(damaged.load(), KeyLoad::unreadable);
  other.unreadable_files.insert(key_file());
  KeyStore held_open(other, crypto);
  EXPECT_EQ(held_open.load(), KeyLoad::unreadable);
}

TEST(StoredContactsTest, LinesThatAreNotWrittenAsTheStoreWritesThemAreSkipped) {
  const std::vector<Contact> contacts{{u"田中", key_of(1), true}, {u"名前 に 空白", key_of(2), false}};
  const std::u16string text = stored_contacts_text(contacts);
  EXPECT_EQ(read_stored_contacts(text), contacts);

  const std::u16string one = stored_contacts_text({contacts[0]});
  const std::u16string key = one.substr(0, one.find(u' '));
  const std::u16string edited[] = {
      u"",                        // nothing
      u"garbage",                 // no fields
      key + u" 2 x",              // a mark other than 0 or 1
      key + u" 1",                // no space before the name
      key.substr(1) + u" 1 x",    // a key of another length
      u"Ä" + key.substr(1) + u" 1 x",  // not base64
      key + u" 1 a\u202Eb",       // a name no key block may carry
  };
  for (const std::u16string& line : edited) {
    SCOPED_TRACE(testing::utf8(line));
    EXPECT_EQ(read_stored_contacts(line + u"\n" + text), contacts);
  }
  // A key stored twice is read once, with its first line.
  EXPECT_EQ(read_stored_contacts(text + u"\n" + key + u" 0 again"), contacts);
}

}  // namespace
}  // namespace quiren::keys
