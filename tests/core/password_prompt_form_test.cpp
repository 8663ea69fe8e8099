#include "tray/core/password_prompt_form.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tests/support/scripted_random.h"
#include "tray/core/recipient_choice.h"
#include "tray/core/settings_keys.h"
#include "tray/core/stored_public_key.h"

namespace quiren {
namespace {

using block::SecretText;
using Ok = PasswordPromptForm::Ok;

SecretText secret(std::u16string_view text) { return SecretText(text); }

TEST(PasswordPromptForm, ConfirmationMustMatchWhileThePasswordIsMasked) {
  PasswordPromptForm form({.prompt = u"暗号化に使うパスワードを入力して下さい", .confirm = true});
  EXPECT_EQ(form.title(), u"む～くいれん");
  EXPECT_TRUE(form.asks_confirmation());
  EXPECT_FALSE(form.password_shown());
  EXPECT_TRUE(form.confirmation_enabled());

  EXPECT_EQ(form.ok(secret(u"合言葉"), secret(u"合言業")), Ok::differs);
  EXPECT_FALSE(form.closed()) << "the user types again";
  EXPECT_EQ(form.ok(secret(u"合言葉"), secret(u"")), Ok::differs);
  EXPECT_EQ(form.ok(secret(u"合言葉"), secret(u"合言葉")), Ok::accepted);
  EXPECT_TRUE(form.closed());
  EXPECT_EQ(form.take_answer(), std::u16string_view(u"合言葉"));
  EXPECT_TRUE(form.take_answer().empty()) << "handed over once";
}

TEST(PasswordPromptForm, AShownPasswordNeedsNoRepetition) {
  PasswordPromptForm form({.prompt = u"p", .confirm = true});
  form.show_password(true);
  EXPECT_FALSE(form.confirmation_enabled());
  EXPECT_EQ(form.ok(secret(u"seen"), secret(u"stale text in the disabled field")), Ok::accepted);
  EXPECT_EQ(form.take_answer(), std::u16string_view(u"seen"));

  PasswordPromptForm masked_again({.prompt = u"p", .confirm = true});
  masked_again.show_password(true);
  masked_again.show_password(false);
  EXPECT_TRUE(masked_again.confirmation_enabled());
  EXPECT_EQ(masked_again.ok(secret(u"a"), secret(u"b")), Ok::differs);
}

TEST(PasswordPromptForm, WithoutConfirmationOkTakesTheFieldAndCancelGivesNothing) {
  PasswordPromptForm once({.prompt = u"復号に使うパスワードを入力して下さい", .title = u"t"});
  EXPECT_FALSE(once.confirmation_enabled());
  EXPECT_EQ(once.ok(secret(u"pw"), SecretText()), Ok::accepted);
  EXPECT_EQ(once.take_answer(), std::u16string_view(u"pw"));

  PasswordPromptForm cancelled({.prompt = u"p", .confirm = true});
  cancelled.cancel();
  EXPECT_TRUE(cancelled.closed());
  EXPECT_TRUE(cancelled.take_answer().empty());
}

TEST(PasswordPromptForm, GeneratePassphraseFillsBothFieldsShownAndRemembersTheForm) {
  testing::FakeDesktop desktop;
  testing::ScriptedRandom random{0, 1, 2, 3, 4, 7775};
  PassphraseOffer offer(desktop, random);
  PasswordPromptForm form({.prompt = u"p", .confirm = true, .passphrase = &offer});
  ASSERT_TRUE(form.offers_passphrase());
  EXPECT_FALSE(form.passphrase_kana()) << "English words when the store says nothing";

  const std::optional<SecretText> latin = form.generate_passphrase();
  ASSERT_TRUE(latin);
  EXPECT_EQ(*latin, std::u16string_view(u"abacus-abdomen-abdominal-abide-abiding-zoom"));
  EXPECT_TRUE(form.password_shown());
  EXPECT_FALSE(form.confirmation_enabled());
  EXPECT_FALSE(desktop.settings.count(std::u16string(settings::kPassphraseInKana))) << "the default needs no write";

  form.choose_passphrase_kana(true);
  random.then({0, 0, 0, 0, 0, 0, 2047});
  const std::optional<SecretText> kana = form.generate_passphrase();
  ASSERT_TRUE(kana);
  EXPECT_EQ(*kana, std::u16string_view(u"あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　われる"));
  EXPECT_EQ(desktop.settings[std::u16string(settings::kPassphraseInKana)], u"True");
  // OK takes what the button filled in, as the frame hands it over.
  EXPECT_EQ(form.ok(kana->copy(), *kana), Ok::accepted);
  EXPECT_EQ(form.take_answer(), *kana);

  // The next prompt starts from the form last used.
  PasswordPromptForm next({.prompt = u"p", .confirm = true, .passphrase = &offer});
  EXPECT_TRUE(next.passphrase_kana());
}

TEST(PasswordPromptForm, AFailingRandomSourceFillsNothingAndChangesNothing) {
  testing::FakeDesktop desktop;
  testing::ScriptedRandom random{0, 1, 2};  // runs out in the fourth word
  PassphraseOffer offer(desktop, random);
  PasswordPromptForm form({.prompt = u"p", .confirm = true, .passphrase = &offer});
  form.choose_passphrase_kana(true);
  EXPECT_FALSE(form.generate_passphrase());
  EXPECT_FALSE(form.password_shown());
  EXPECT_TRUE(form.confirmation_enabled());
  EXPECT_TRUE(desktop.settings.empty()) << "a choice that made nothing is not remembered";
}

TEST(PasswordPromptForm, NoPassphraseUnlessTheQuestionOffersOne) {
  // Decrypting, the list's editor, a compatible block: no button.
  PasswordPromptForm form({.prompt = u"p", .confirm = true});
  EXPECT_FALSE(form.offers_passphrase());
  EXPECT_FALSE(form.generate_passphrase());
  EXPECT_FALSE(form.password_shown());
}

TEST(PasswordPromptForm, TickingARecipientTurnsThePasswordOffAndOkTakesNone) {
  testing::FakeDesktop desktop;
  testing::ScriptedRandom random{0, 1, 2, 3, 4, 7775};
  PassphraseOffer offer(desktop, random);
  const std::vector<Contact> contacts = {{u"a", {1}, true}, {u"b", {2}, false}};
  const std::vector<block::X25519PublicKey> remembered = {{2}};
  RecipientChoice choice(contacts, remembered);
  EXPECT_EQ(choice.line(1), u"b（未確認）");
  EXPECT_TRUE(choice.ticked(1)) << "as last chosen, by key";

  PasswordPromptForm form({.prompt = u"p", .confirm = true, .passphrase = &offer, .recipients = &choice});
  EXPECT_FALSE(form.password_enabled());
  EXPECT_FALSE(form.confirmation_enabled());
  EXPECT_FALSE(form.generate_passphrase()) << "no passphrase for fields that are off";
  form.tick_recipient(1, false);
  EXPECT_TRUE(form.password_enabled()) << "nobody ticked: a password again";
  EXPECT_TRUE(form.confirmation_enabled());
  form.tick_recipient(0, true);
  form.tick_recipient(9, true);  // past the list: nothing
  EXPECT_EQ(form.ok(secret(u"typed before ticking"), secret(u"other")), Ok::accepted);
  EXPECT_TRUE(form.take_answer().empty());
  EXPECT_TRUE(choice.accepted());
  EXPECT_EQ(choice.ticked_contacts(), std::vector<Contact>{contacts[0]});
}

TEST(PasswordPromptForm, ACancelledChoiceIsNotAccepted) {
  RecipientChoice choice({{u"a", {1}, true}}, {});
  PasswordPromptForm form({.prompt = u"p", .recipients = &choice, .asks_password = false});
  EXPECT_FALSE(form.password_enabled());
  form.cancel();
  EXPECT_FALSE(choice.accepted());
}

TEST(PasswordPromptForm, TheRememberedChoiceReadsOnlyWholeKeys) {
  testing::FakeDesktop desktop;
  block::X25519PublicKey a;
  a.fill(0xaa);
  block::X25519PublicKey b{0x0f};
  const std::u16string key_a = stored_public_key(a);
  const std::u16string key_b = stored_public_key(b);
  ASSERT_EQ(key_a.size(), 43u) << "base64 without padding";
  // Passed over: a word, a key cut short, a key with padding, one changed
  // into something base64 does not write.
  desktop.settings[std::u16string(settings::kEncryptToKeys)] = u"zz " + key_a + u"  " + key_b + u" " +
                                                               key_a.substr(0, 42) + u" " + key_a + u"= " +
                                                               key_b.substr(0, 42) + u"\u00e9";
  EXPECT_EQ(remembered_recipients(desktop), (std::vector<block::X25519PublicKey>{a, b}));

  remember_recipients(desktop, std::vector<Contact>{{u"b", b, true}, {u"a", a, false}});
  EXPECT_EQ(desktop.settings[std::u16string(settings::kEncryptToKeys)], key_b + u" " + key_a);
  EXPECT_EQ(remembered_recipients(desktop), (std::vector<block::X25519PublicKey>{b, a})) << "read back as written";
  remember_recipients(desktop, {});
  EXPECT_EQ(desktop.settings[std::u16string(settings::kEncryptToKeys)], u"") << "a password: nobody";
}

}  // namespace
}  // namespace quiren
