#include "tray/keys/key_block_offers.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "block/keys/safety_digits.h"
#include "block/utf8.h"
#include "tests/support/fake_desktop.h"
#include "tray/keys/key_texts.h"

namespace quiren::keys {
namespace {

using testing::FakeDesktop;

// Records each offer the window shows and answers it as `answer` says.
struct ScriptedOfferWindow : KeyOfferWindow {
  struct Shown {
    std::u16string name, digits, warning, accept_label;
  };
  void run(KeyOfferForm& form) override {
    shown.push_back({std::u16string(form.name()), std::u16string(form.digits()), form.warning(),
                     std::u16string(form.accept_label())});
    if (answer) answer(form);
  }
  std::vector<Shown> shown;
  std::function<void(KeyOfferForm&)> answer;
};

struct CountingFlows : CipherCommands {
  void on_clipboard_change() override { ++changes; }
  void encrypt_clipboard() override {}
  void decrypt_clipboard() override { ++decrypts; }
  void cancel_run() override {}
  int changes = 0;
  int decrypts = 0;
};

struct KeyBlockOffersTest : ::testing::Test {
  KeyBlockOffersTest() { store.load(); }

  std::u16string key_block(const block::X25519PublicKey& key, std::string_view name) {
    const block::KeyEnvelopeWrite written = block::write_key_envelope(*crypto, key, name);
    return block::frame_key_envelope(written.envelope, 60);
  }
  block::X25519PublicKey new_public_key() { return crypto->generate_x25519_key_pair()->public_key; }
  std::u16string digits_of(const block::X25519PublicKey& key) {
    const std::string digits = *block::safety_digits(*crypto, key);
    return std::u16string(digits.begin(), digits.end());
  }
  void copy(std::u16string text) {
    desktop.clipboard = std::move(text);
    offers.on_clipboard_change();
  }

  FakeDesktop desktop;
  std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
  ProgramState state;
  KeyStore store{desktop, *crypto};
  ScriptedOfferWindow window;
  CountingFlows flows;
  KeyBlockOffers offers{state, desktop, *crypto, store, window, flows};
};

TEST_F(KeyBlockOffersTest, ANewKeyIsOfferedWithItsDigitsAndAddedUnderTheNameTheUserGives) {
  const block::X25519PublicKey key = new_public_key();
  window.answer = [](KeyOfferForm& form) {
    form.set_name(u"田中さん");
    form.set_confirmed(true);
    EXPECT_TRUE(form.accept());
  };
  copy(u"> quoted reply:\r\n" + key_block(key, "田中"));

  ASSERT_EQ(window.shown.size(), 1u);
  EXPECT_EQ(window.shown[0].name, u"田中");
  EXPECT_EQ(window.shown[0].digits, digits_of(key));
  EXPECT_EQ(window.shown[0].warning, u"");
  EXPECT_EQ(window.shown[0].accept_label, texts::kOfferAdd);
  EXPECT_EQ(store.contacts(), (std::vector<Contact>{{u"田中さん", key, true}}));
  // The watch asked first (the default "ask before decrypting").
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(texts::kAskOffer)});
  EXPECT_EQ(flows.changes, 0);
}

TEST_F(KeyBlockOffersTest, NothingIsAddedWhenTheUserSaysNoOrCancelsTheWindow) {
  desktop.box_answers = {Answer::no};
  copy(key_block(new_public_key(), "A"));
  EXPECT_TRUE(window.shown.empty());

  copy(key_block(new_public_key(), "B"));  // the box answers Yes now; the window is closed
  EXPECT_EQ(window.shown.size(), 1u);
  EXPECT_TRUE(store.contacts().empty());
}

TEST_F(KeyBlockOffersTest, AChangedKeyIsWarnedOfAndReplacesTheContactOnlyWhenAccepted) {
  const block::X25519PublicKey old_key = new_public_key();
  store.add_contact({u"Bob", old_key, true});
  const block::X25519PublicKey new_key = new_public_key();
  state.settings.ask_before_decrypt = 0;

  copy(key_block(new_key, "Bob"));  // closed without a word
  ASSERT_EQ(window.shown.size(), 1u);
  EXPECT_NE(window.shown[0].warning.find(u"「Bob」"), std::u16string::npos);
  EXPECT_EQ(window.shown[0].accept_label, texts::kOfferReplace);
  EXPECT_EQ(store.contacts(), (std::vector<Contact>{{u"Bob", old_key, true}}));

  window.answer = [](KeyOfferForm& form) { EXPECT_TRUE(form.accept()); };
  copy(key_block(new_key, "Bob") + u"\r\n");
  EXPECT_EQ(store.contacts(), (std::vector<Contact>{{u"Bob", new_key, false}}));
}

TEST_F(KeyBlockOffersTest, AKeyAlreadyHeldIsSaidAndTheUsersOwnIsPassedOverInSilence) {
  const block::X25519PublicKey key = new_public_key();
  store.add_contact({u"Carol", key, false});
  state.settings.ask_before_decrypt = 0;

  copy(key_block(key, "Someone"));
  EXPECT_TRUE(window.shown.empty());
  ASSERT_EQ(desktop.box_texts().size(), 1u);
  EXPECT_NE(desktop.box_texts()[0].find(u"「Carol」"), std::u16string::npos);

  copy(key_block(*store.my_public_key(), "taro"));
  EXPECT_EQ(desktop.box_texts().size(), 1u);
  // The menu's command says what it is.
  offers.decrypt_clipboard();
  EXPECT_EQ(desktop.box_texts().back(), texts::kOwnKeyBlock);
  EXPECT_TRUE(window.shown.empty());
  EXPECT_EQ(flows.changes + flows.decrypts, 0);
}

TEST_F(KeyBlockOffersTest, ANameThatIsUnusableOrAnotherContactsKeepsTheWindowOpen) {
  store.add_contact({u"Dave", new_public_key(), false});
  state.settings.ask_before_decrypt = 0;
  window.answer = [](KeyOfferForm& form) {
    form.set_name(u"");
    EXPECT_FALSE(form.accept());
    form.set_name(u"Dave");
    EXPECT_FALSE(form.accept());
    form.set_name(u"Eve");
    EXPECT_TRUE(form.accept());
  };
  copy(key_block(new_public_key(), "Dave2"));
  ASSERT_EQ(desktop.box_texts().size(), 2u);
  EXPECT_EQ(desktop.box_texts()[0], texts::kNameUnusable);
  EXPECT_NE(desktop.box_texts()[1].find(u"「Dave」"), std::u16string::npos);
  EXPECT_EQ(store.contacts().size(), 2u);
  EXPECT_EQ(store.contacts()[1].name, u"Eve");
}

TEST_F(KeyBlockOffersTest, OtherTextsGoOnToTheFlows) {
  state.settings.ask_before_decrypt = 0;
  std::u16string damaged = key_block(new_public_key(), "X");
  damaged[damaged.find(u'\n') + 5] ^= 1;
  const std::u16string mixed =
      key_block(new_public_key(), "Y") + u"\r\n(quiren_start)\r\nCAAAA\r\n(quiren_end)\r\n";
  for (const std::u16string& text : {std::u16string(u"plain text"), damaged, mixed}) {
    SCOPED_TRACE(testing::utf8(text));
    copy(text);
  }
  EXPECT_EQ(flows.changes, 3);
  EXPECT_TRUE(window.shown.empty());

  // Kept from monitors: neither offered nor passed on.
  desktop.clipboard_private = true;
  copy(key_block(new_public_key(), "Z"));
  EXPECT_EQ(flows.changes, 3);
  EXPECT_TRUE(window.shown.empty());
}

}  // namespace
}  // namespace quiren::keys
