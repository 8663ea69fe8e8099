#include "tray/keys/contacts_form.h"

#include <gtest/gtest.h>

#include <memory>

#include "block/decrypt_run.h"
#include "block/keys/safety_digits.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/quick_crypto.h"
#include "tray/keys/key_block_offers.h"
#include "tray/keys/key_texts.h"

namespace quiren::keys {
namespace {

using testing::FakeDesktop;

struct ContactsFormTest : ::testing::Test {
  ContactsFormTest() {
    store.load();
    store.add_contact({u"Alice", key_of(1), false});
    store.add_contact({u"Bob", key_of(2), true});
    form.load();
  }
  static block::X25519PublicKey key_of(std::uint8_t fill) {
    block::X25519PublicKey key;
    key.fill(fill);
    return key;
  }
  std::u16string digits_of(const block::X25519PublicKey& key) {
    const std::string digits = *block::safety_digits(*crypto, key);
    return std::u16string(digits.begin(), digits.end());
  }

  FakeDesktop desktop;
  std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
  ProgramState state;
  KeyStore store{desktop, *crypto};
  ContactsForm form{state, desktop, *crypto, store};
};

TEST_F(ContactsFormTest, ShowsTheUsersKeyAndEachContactWithDigitsAndMark) {
  EXPECT_EQ(form.my_name(), u"taro");
  EXPECT_EQ(form.my_digits(), digits_of(*store.my_public_key()));
  ASSERT_EQ(form.lines().size(), 2u);
  EXPECT_EQ(contact_line_text(form.lines()[0]), u"Alice\t" + digits_of(key_of(1)) + u"\t未確認");
  EXPECT_EQ(contact_line_text(form.lines()[1]), u"Bob\t" + digits_of(key_of(2)) + u"\t確認済み");
}

TEST_F(ContactsFormTest, CopyMyKeyPutsTheUsersKeyBlockOnTheClipboard) {
  form.copy_my_key();
  ASSERT_TRUE(desktop.clipboard);
  const std::optional<std::vector<block::KeyBlockContent>> keys = key_blocks_only(*crypto, *desktop.clipboard);
  ASSERT_TRUE(keys && keys->size() == 1);
  EXPECT_EQ((*keys)[0].public_key, *store.my_public_key());
  EXPECT_EQ((*keys)[0].name, "taro");
  EXPECT_EQ(desktop.box_texts().back(), texts::kMyKeyCopied);

  desktop.clipboard_write_fails = true;
  form.copy_my_key();
  EXPECT_EQ(desktop.box_texts().back(), texts::kClipboardBusy);
}

TEST_F(ContactsFormTest, RenameRemoveAndConfirmActOnTheSelectedContact) {
  form.rename_selected();  // nothing selected
  EXPECT_EQ(desktop.box_texts().back(), texts::kSelectContact);

  form.select(0);
  desktop.prompt_answers = {u"Bob", u"Alice Liddell"};
  form.rename_selected();  // another contact's name
  EXPECT_NE(desktop.box_texts().back().find(u"「Bob」"), std::u16string::npos);
  form.rename_selected();
  EXPECT_EQ(form.lines()[0].name, u"Alice Liddell");

  desktop.box_answers = {Answer::no, Answer::yes};
  form.confirm_selected();
  EXPECT_FALSE(store.contacts()[0].confirmed);
  form.confirm_selected();
  EXPECT_TRUE(store.contacts()[0].confirmed);
  EXPECT_NE(desktop.boxes.back().text.find(digits_of(key_of(1))), std::u16string::npos);

  // Removing asks with No as the default answer.
  form.select(1);
  desktop.box_answers = {Answer::no, Answer::yes};
  form.remove_selected();
  EXPECT_EQ(store.contacts().size(), 2u);
  EXPECT_TRUE(desktop.boxes.back().second_is_default);
  form.remove_selected();
  EXPECT_EQ(store.contacts(), (std::vector<Contact>{{u"Alice Liddell", key_of(1), true}}));
  EXPECT_EQ(form.selected(), std::optional<std::size_t>(0));

  desktop.prompt_answers = {u"a\u202Eb", u"Taro Yamada"};
  form.rename_me();
  EXPECT_EQ(desktop.box_texts().back(), texts::kNameUnusable);
  form.rename_me();
  EXPECT_EQ(form.my_name(), u"Taro Yamada");
}

TEST(ContactsFormBesideProgramTest, AsksThenKeepsTheKeyBesideTheProgramOnce) {
  FakeDesktop desktop;
  testing::QuickCrypto crypto;
  ProgramState state;
  KeyStore store(desktop, crypto);
  store.load();
  ContactsForm form(state, desktop, crypto, store);
  form.load();
  desktop.box_answers = {Answer::no};
  form.keep_key_beside_program();
  EXPECT_TRUE(desktop.files.empty());

  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"stick pass"};
  form.keep_key_beside_program();
  EXPECT_EQ(desktop.prompts.back().kind, testing::PromptKind::confirmed_password);
  EXPECT_EQ(desktop.box_texts().back(), texts::kKeyBesideProgram);
  EXPECT_TRUE(desktop.files.contains(desktop.program_dir + u"\\mu-quiren-key.txt"));
  form.keep_key_beside_program();
  EXPECT_EQ(desktop.box_texts().back(), texts::kAlreadyBesideProgram);
}

TEST(ContactsFormWithoutKeyTest, SaysThereIsNoKeyToUse) {
  FakeDesktop desktop;
  desktop.protection_fails = true;
  std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
  ProgramState state;
  KeyStore store(desktop, *crypto);
  ASSERT_EQ(store.load(), KeyLoad::failed);
  ContactsForm form(state, desktop, *crypto, store);
  form.load();
  EXPECT_FALSE(form.has_key());
  form.copy_my_key();
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(texts::kNoKeyToUse)});
  EXPECT_FALSE(desktop.clipboard);
}

}  // namespace
}  // namespace quiren::keys
