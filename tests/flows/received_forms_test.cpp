// The decrypt flow over every form of the shared table of received forms
// (tests/vectors), with the real compatible cipher and the platform's
// cryptography: the table's blocks were made by other implementations.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "block/damage_message.h"
#include "block/strong/crypto_provider.h"
#include "tests/flows/flow_fakes.h"
#include "tests/flows/flow_fixture.h"
#include "tests/support/fake_key_ring.h"
#include "tests/support/received_forms.h"
#include "tools/quiren/linked_cipher.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

namespace text = flows::texts;
namespace vectors = testing::vectors;
using testing::printable;

class ReceivedFormsFlowTest : public ::testing::Test {
 protected:
  // Runs the decrypt flow on `clip` from the watch or the menu.
  void decrypt(std::u16string_view clip, std::u16string_view password, bool from_menu) {
    desktop.boxes.clear();
    desktop.prompts.clear();
    viewer.close();
    desktop.clipboard = std::u16string(clip);
    desktop.prompt_answers = {std::u16string(password)};
    if (from_menu) {
      flows.decrypt_clipboard();
    } else {
      flows.on_clipboard_change();
    }
  }

  ProgramState state;
  testing::FlowDesktop desktop{932};
  tool::LinkedCipher cipher;
  std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
  testing::FakeChooser chooser{state.busy};
  ViewerForm viewer{desktop};
  testing::FakeKeyRing keys;
  ClipboardFlows flows{state, desktop, cipher, crypto, chooser, viewer, keys};
};

// Quoted in a reply, line breaks changed, re-wrapped, blanks added, run
// together on one line, invisible characters put in, full-width, curly
// quotes: each opens in the viewer, from the watch and from the menu.
TEST_F(ReceivedFormsFlowTest, ReadableFormsOpenInTheViewer) {
  for (const vectors::ReceivedForm* form : testing::readable_forms(vectors::BlockFormat::compatible, true)) {
    for (bool from_menu : {false, true}) {
      SCOPED_TRACE(std::string(form->name) + (from_menu ? " (menu)" : " (watch)"));
      decrypt(form->received, testing::source_of(*form).password, from_menu);
      EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(text::kAskDecrypt)});
      EXPECT_EQ(desktop.prompts.size(), 1u);
      EXPECT_TRUE(viewer.is_open());
      EXPECT_EQ(printable(viewer.text()), printable(testing::shown_text(*form)));
      EXPECT_TRUE(state.busy.idle()) << "nothing is held once the flow ends";
    }
  }
}

// A damaged form: the catch-all message before any password, and under it
// the line that says where, counted in the clipboard text as copied.
TEST_F(ReceivedFormsFlowTest, DamagedFormsSayWhere) {
  const block::DamageTexts<char16_t> where{text::kDamageForeignCharacter, text::kDamageInvisibleCharacter,
                                           text::kDamageShortLine, text::kDamageUnevenLength};
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    if (form.expect != vectors::Expect::damaged) continue;
    SCOPED_TRACE(form.name);
    decrypt(form.received, testing::source_of(form).password, false);
    const block::BlockDamage damage = testing::expected_damage(form);
    EXPECT_EQ(desktop.box_texts(),
              (std::vector<std::u16string>{std::u16string(text::kAskDecrypt), std::u16string(text::kInvalidCiphertext) +
                                                                                  u"\r\n" +
                                                                                  block::describe_damage(damage, where)}));
    EXPECT_TRUE(desktop.prompts.empty());
    EXPECT_FALSE(viewer.is_open());
  }
}

// The message as a user reads it, for an emoji in the third line of a
// strong block.
TEST_F(ReceivedFormsFlowTest, TheDamageLineReadsAsWritten) {
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    if (form.name != "strong: an emoji in place of a character") continue;
    decrypt(form.received, u"pw", false);
    ASSERT_EQ(desktop.box_texts().size(), 2u);
    EXPECT_EQ(desktop.box_texts()[1],
              u"暗号文が不正です。復号を中止します。\r\n3 行目の 17 文字目「😀」(U+1F600) は暗号文に使われない文字です。");
    return;
  }
  FAIL() << "the form is not in the table";
}

// A block whose markers a Japanese business system made full-width is a
// block: the watch offers to decrypt it, never to encrypt it.
TEST_F(ReceivedFormsFlowTest, AFullWidthBlockIsOfferedForDecrypting) {
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    if (form.transformation != "whole block in full-width") continue;
    SCOPED_TRACE(form.name);
    decrypt(form.received, testing::source_of(form).password, false);
    ASSERT_FALSE(desktop.box_texts().empty());
    EXPECT_EQ(desktop.box_texts().front(), text::kAskDecrypt);
    EXPECT_EQ(viewer.text(), testing::shown_text(form));
  }
}

}  // namespace
}  // namespace quiren
