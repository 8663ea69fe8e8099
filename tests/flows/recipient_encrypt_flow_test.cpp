// Encrypting to people: "宛先を選ぶ" in the encrypt prompt, the recipient
// block it writes, and the choice remembered for the next encryption.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/keys/recipient_open.h"
#include "tests/flows/contacts_fixture.h"
#include "tray/core/settings_keys.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

namespace text = flows::texts;
using testing::u16;

class RecipientEncryptFlowTest : public testing::ContactsFlowTest {
 protected:
  // The menu's encrypt command on `plain`; the clipboard afterwards.
  std::u16string encrypt(std::u16string plain = u"secret text") {
    desktop.clipboard = std::move(plain);
    desktop.box_answers = {Answer::yes};
    flows.encrypt_clipboard();
    return desktop.clipboard.value_or(u"");
  }

  // The text of a recipient block opened with `secret`, or its outcome.
  std::string opened_with(const std::u16string& armoured, const block::SecretKey& secret) {
    const std::vector<block::BlockItem> blocks = block::read_blocks(armoured);
    if (blocks.size() != 1 || blocks[0].problem || blocks[0].kind != block::BlockKind::recipient) return "no block";
    const block::RecipientOpened opened = block::open_recipient_envelope(*crypto, blocks[0].envelope, secret);
    if (opened.outcome != block::Outcome::opened) return "not opened";
    return std::string(opened.text.view());
  }
};

TEST_F(RecipientEncryptFlowTest, TickedContactsGetARecipientBlockTheyAndTheUserCanOpen) {
  desktop.recipient_ticks = {{0, 1}};
  const std::u16string armoured = encrypt();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].prompt, text::kPromptEncryptPassword) << "the one prompt, fields and list together";
  EXPECT_EQ(desktop.prompts[0].recipients, (std::vector<std::u16string>{u16("田中（確認済み）"), u16("鈴木（未確認）")}));
  EXPECT_EQ(opened_with(armoured, tanaka.secret), "secret text");
  EXPECT_EQ(opened_with(armoured, suzuki.secret), "secret text");
  EXPECT_EQ(opened_with(armoured, keys.mine->secret), "secret text") << "the writer reads what they sent";
  EXPECT_EQ(crypto->derivations, 0) << "no password, no key derivation";
  EXPECT_EQ(desktop.box_texts().back(), u16("宛先指定の暗号化で、田中、鈴木 とあなた宛てに暗号化した文章をクリップボードに書き込みました"));
}

TEST_F(RecipientEncryptFlowTest, TheChoiceIsRememberedByKeyForTheNextEncryption) {
  desktop.recipient_ticks = {{1}};
  encrypt();
  EXPECT_EQ(desktop.prompts[0].ticked_at_open, (std::vector<bool>{false, false})) << "nothing stored yet";
  EXPECT_EQ(desktop.settings[std::u16string(settings::kEncryptToKeys)].size(), 43u) << "one key, in base64";

  // Renamed and moved up in the list meanwhile: still ticked, by its key.
  keys.people = {{u16("鈴木さん"), suzuki.public_key, true}, {u16("田中"), tanaka.public_key, true}};
  forget();
  const std::u16string armoured = encrypt();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].ticked_at_open, (std::vector<bool>{true, false}));
  EXPECT_EQ(opened_with(armoured, suzuki.secret), "secret text");
  EXPECT_EQ(opened_with(armoured, tanaka.secret), "not opened");

  // Unticked for a password: the next prompt starts with nobody ticked.
  forget();
  desktop.recipient_ticks = {{}};
  desktop.prompt_answers = {u"pw"};
  const std::u16string password_block = encrypt();
  EXPECT_EQ(block::read_blocks(password_block).at(0).kind, block::BlockKind::strong);
  EXPECT_EQ(desktop.box_texts().back(), text::encrypted_message(true));
  forget();
  desktop.prompt_answers = {u"pw"};
  encrypt();
  EXPECT_EQ(desktop.prompts.at(0).ticked_at_open, (std::vector<bool>{false, false}));
}

TEST_F(RecipientEncryptFlowTest, AFixedPasswordStillPromptsSoThatPeopleCanBeChosen) {
  state.settings.encrypt_with_fixed_password = true;
  desktop.settings[u"angopass"] = u"fixed";

  desktop.recipient_ticks = {{0}};
  const std::u16string to_tanaka = encrypt();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].prompt, text::kPromptRecipientsOrFixed);
  EXPECT_FALSE(desktop.prompts[0].asks_password);
  EXPECT_EQ(opened_with(to_tanaka, tanaka.secret), "secret text");

  forget();
  desktop.recipient_ticks = {{}};
  const std::u16string under_fixed = encrypt();
  EXPECT_EQ(desktop.prompts.size(), 1u) << "no password prompt after it";
  EXPECT_EQ(block::read_blocks(under_fixed).at(0).kind, block::BlockKind::strong);
  EXPECT_EQ(desktop.box_texts().back(), text::encrypted_message(true));

  forget();
  desktop.cancel_recipient_prompts = true;
  desktop.clipboard_writes = 0;
  encrypt();
  EXPECT_EQ(desktop.clipboard_writes, 0) << "cancelled: the clipboard stays as it was";
  EXPECT_EQ(desktop.box_texts().back(), text::kNoPasswordTyped);
}

TEST_F(RecipientEncryptFlowTest, WithThePasswordListPeopleAreOfferedBeforeTheList) {
  state.settings.encrypt_password_from_list = true;
  chooser.pick = u"listed";

  desktop.recipient_ticks = {{1}};
  const std::u16string to_suzuki = encrypt();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].prompt, text::kPromptRecipientsOrList);
  EXPECT_EQ(chooser.calls, 0) << "no list for a block to people";
  EXPECT_EQ(opened_with(to_suzuki, suzuki.secret), "secret text");

  forget();
  desktop.recipient_ticks = {{}};
  EXPECT_EQ(block::read_blocks(encrypt()).at(0).kind, block::BlockKind::strong);
  EXPECT_EQ(chooser.calls, 1) << "nobody ticked: the list's password";
  EXPECT_EQ(desktop.prompts.size(), 1u);
}

TEST_F(RecipientEncryptFlowTest, NoListWithoutAKeyOfTheUsersOwnOrWithoutContacts) {
  struct Case {
    const char* name;
    bool has_key;
    bool has_contacts;
  };
  for (const Case c : {Case{"no key", false, true}, Case{"no contacts", true, false}}) {
    SCOPED_TRACE(c.name);
    forget();
    keys.mine.reset();
    if (c.has_key) keys.make_my_key(*crypto);
    keys.people.clear();
    if (c.has_contacts) keys.people.push_back({u16("田中"), tanaka.public_key, true});
    desktop.prompt_answers = {u"pw"};
    EXPECT_EQ(block::read_blocks(encrypt()).at(0).kind, block::BlockKind::strong);
    ASSERT_EQ(desktop.prompts.size(), 1u);
    EXPECT_TRUE(desktop.prompts[0].recipients.empty());

    // With a fixed password, no prompt at all, as before keys.
    forget();
    state.settings.encrypt_with_fixed_password = true;
    desktop.settings[u"angopass"] = u"fixed";
    encrypt();
    EXPECT_TRUE(desktop.prompts.empty());
    state.settings.encrypt_with_fixed_password = false;
  }
}

TEST_F(RecipientEncryptFlowTest, AKeyGoneWhileThePromptWasOpenLeavesTheClipboardAlone) {
  desktop.recipient_ticks = {{0}};
  desktop.on_modal = [this] {
    if (!desktop.prompts.empty()) keys.mine.reset();  // in the prompt, not the question before it
  };
  EXPECT_EQ(encrypt(u"cut text"), u"cut text");
  EXPECT_EQ(desktop.box_texts().back(), text::kNoKeyToWriteAs);
}

TEST_F(RecipientEncryptFlowTest, ARecipientBlockCarriesUtf8AlsoWhenPasswordBlocksAreCompatible) {
  state.settings.strong = false;
  desktop.recipient_ticks = {{0}};
  const std::u16string armoured = encrypt(u16("秘密"));
  EXPECT_EQ(opened_with(armoured, tanaka.secret), "秘密");
}

}  // namespace
}  // namespace quiren
