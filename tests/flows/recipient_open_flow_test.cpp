// Recipient blocks on the clipboard: opened with the user's key and no
// password, their senders named in the viewer's status line.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "block/keys/recipient_block.h"
#include "block/keys/recipient_seal.h"
#include "block/keys/safety_digits.h"
#include "block/utf8.h"
#include "tests/flows/contacts_fixture.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

namespace text = flows::texts;
using testing::u16;

// 2026-12-11 18:30 in Japan.
constexpr std::uint64_t kWrittenAt = 1'796'981'400;

class RecipientOpenFlowTest : public testing::ContactsFlowTest {
 protected:
  RecipientOpenFlowTest() { stranger = crypto->generate_x25519_key_pair().value(); }

  // A recipient block from `sender` to `to`, written `minutes_later` after
  // kWrittenAt.
  std::u16string recipient_block(std::string_view text_utf8, const block::SecretKey& sender,
                                 std::vector<block::X25519PublicKey> to, std::uint64_t minutes_later = 0) {
    block::RecipientSealInputs inputs{.ephemeral_secret = crypto->generate_x25519_key_pair().value().secret,
                                      .text_key = crypto->generate_x25519_key_pair().value().secret,
                                      .nonce = {},
                                      .written_at = kWrittenAt + 60 * minutes_later};
    EXPECT_TRUE(crypto->random_bytes(inputs.nonce));
    const block::RecipientSeal sealed = block::seal_recipient_envelope_with(*crypto, text_utf8, sender, to, inputs);
    EXPECT_EQ(sealed.status, block::SealStatus::sealed);
    return block::frame_recipient_envelope(sealed.envelope, 64);
  }
  std::u16string to_me_from(const block::X25519KeyPair& sender, std::string_view text_utf8 = "hello") {
    return recipient_block(text_utf8, sender.secret, {keys.mine->public_key, sender.public_key});
  }

  std::u16string first_digits(const block::X25519PublicKey& key) {
    const std::string digits = block::safety_digits(*crypto, key).value().substr(0, 11);
    return std::u16string(digits.begin(), digits.end());
  }

  void decrypt(std::u16string clip) {
    desktop.clipboard = std::move(clip);
    desktop.box_answers = {Answer::yes};
    flows.decrypt_clipboard();
  }

  block::X25519KeyPair stranger;
};

TEST_F(RecipientOpenFlowTest, ABlockToTheUserOpensUnaskedAndNamesItsSender) {
  struct Case {
    const char* who;
    const block::X25519KeyPair* sender;  // nullptr: the user
    std::u16string status;
  };
  const Case cases[] = {
      {"a confirmed contact", &tanaka, u16("差出人: 田中（確認済み）2026-12-11 18:30")},
      {"a contact not confirmed", &suzuki, u16("差出人: 鈴木（未確認）2026-12-11 18:30")},
      {"a key among no contacts", &stranger,
       u16("差出人: 確認していない鍵 ") + first_digits(stranger.public_key) + u16(" … 2026-12-11 18:30")},
      {"the user", nullptr, u16("差出人: あなた 2026-12-11 18:30")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.who);
    forget();
    viewer.close();
    const block::X25519KeyPair& sender = c.sender ? *c.sender : *keys.mine;
    decrypt(u"Mail text\r\n" + to_me_from(sender, "秘密の文章") + u"\r\n");
    EXPECT_TRUE(desktop.prompts.empty()) << "no password for a recipient block";
    EXPECT_EQ(viewer.text(), u16("秘密の文章"));
    EXPECT_EQ(viewer.status_line(), c.status);
  }
}

TEST_F(RecipientOpenFlowTest, TheLocalTimeIsThisComputersZone) {
  desktop.utc_offset_minutes = 0;
  decrypt(to_me_from(tanaka));
  EXPECT_EQ(viewer.status_line(), u16("差出人: 田中（確認済み）2026-12-11 09:30"));
}

TEST_F(RecipientOpenFlowTest, SeveralSendersAreNamedInTheTextsOrderEachOnce) {
  const std::u16string joint(block::kResultJoint);
  const std::u16string from_tanaka = to_me_from(tanaka, "one");
  const std::u16string from_stranger =
      recipient_block("two", stranger.secret, {keys.mine->public_key}, /*minutes_later=*/5);
  decrypt(from_tanaka + u"\r\n" + from_stranger + u"\r\n" + from_tanaka + u"\r\n");
  EXPECT_TRUE(desktop.prompts.empty());
  EXPECT_EQ(viewer.text(), u"one" + joint + u"two" + joint + u"one");
  EXPECT_EQ(viewer.status_line(), u16("差出人: 田中（確認済み）2026-12-11 18:30、確認していない鍵 ") +
                                      first_digits(stranger.public_key) + u16(" … 2026-12-11 18:35"));
}

TEST_F(RecipientOpenFlowTest, AMixedTextAsksThePasswordOnlyForItsPasswordBlocks) {
  const std::u16string joint(block::kResultJoint);
  const std::u16string password_block = block_for(u"under a password", u"pw");
  desktop.prompt_answers = {u"pw"};
  decrypt(to_me_from(tanaka, "to you") + u"\r\n" + password_block + u"\r\n");
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].prompt, text::kPromptDecryptPassword);
  EXPECT_EQ(viewer.text(), u"to you" + joint + u"under a password");
  EXPECT_EQ(viewer.status_line(),
            u16("強力な暗号化 1 件、互換形式 0 件、宛先指定 1 件。差出人: 田中（確認済み）2026-12-11 18:30"));
}

TEST_F(RecipientOpenFlowTest, ABlockNotForTheUserShowsTheMessageAndNoText) {
  decrypt(recipient_block("for others", tanaka.secret, {tanaka.public_key, suzuki.public_key}));
  EXPECT_TRUE(desktop.prompts.empty());
  EXPECT_EQ(viewer.text(), text::kNotForThisKey);
  EXPECT_EQ(text::kNotForThisKey, u16("この暗号文はあなた宛てではないか、途中で変更されています"));
  EXPECT_EQ(viewer.status_line(), u16("宛先指定 1 件")) << "no sender for a block that did not open";

  forget();
  viewer.close();
  decrypt(to_me_from(tanaka, "one") + u"\r\n" + recipient_block("two", suzuki.secret, {tanaka.public_key}));
  EXPECT_EQ(viewer.text(), u"one" + std::u16string(block::kResultJoint) + std::u16string(text::kNotForThisKey));
  EXPECT_EQ(viewer.status_line(), u16("宛先指定 2 件。差出人: 田中（確認済み）2026-12-11 18:30"))
      << "counted, since one did not open";
}

TEST_F(RecipientOpenFlowTest, WithNoKeyHeldARecipientBlockSaysSo) {
  const std::u16string block = to_me_from(tanaka);
  keys.mine.reset();
  decrypt(block);
  EXPECT_TRUE(desktop.prompts.empty());
  EXPECT_EQ(viewer.text(), text::kNeedsKey);
  EXPECT_EQ(viewer.status_line(), u16("宛先指定 1 件"));
}

}  // namespace
}  // namespace quiren
