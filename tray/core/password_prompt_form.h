// The password prompt's logic, for every place that asks for a password:
// the field masked until the user ticks the show box; for a password about
// to encrypt or go into the list, a second field that must repeat it. A
// repetition that differs is refused and the prompt stays open for the
// user to type both again; nothing else happens. For a password about to
// encrypt a strong block, "パスワードを生成" fills both fields with a
// generated passphrase. For a text about to be encrypted by a user with a
// key and contacts, "宛先を選ぶ" above the fields lists the contacts with
// check boxes (recipient_choice.h): with anyone ticked the fields, the show
// box and the button are disabled and OK takes no password. A prompt may
// ask only for that choice (its password comes from the settings). The
// answer is a secret, handed over once. The Win32 frame (tray/core/win32/password_prompt.cpp) mirrors it into a
// window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "block/secret.h"
#include "tray/core/desktop.h"
#include "tray/core/passphrase_offer.h"
#include "tray/core/recipient_choice.h"

namespace quiren {

class PasswordPromptForm {
 public:
  explicit PasswordPromptForm(const PasswordQuestion& question)
      : prompt_(question.prompt),
        title_(question.title),
        asks_confirmation_(question.confirm),
        passphrase_offer_(question.passphrase),
        passphrase_kana_(passphrase_offer_ && passphrase_offer_->remembered_kana()),
        recipients_(question.recipients),
        asks_password_(question.asks_password) {}
  PasswordPromptForm(const PasswordPromptForm&) = delete;
  PasswordPromptForm& operator=(const PasswordPromptForm&) = delete;

  const std::u16string& prompt() const { return prompt_; }
  const std::u16string& title() const { return title_; }
  bool asks_confirmation() const { return asks_confirmation_; }

  // The show box: the field in the clear while it is ticked. A password in
  // plain sight needs no repetition, so the confirmation is off meanwhile.
  void show_password(bool shown) { shown_ = shown; }
  bool password_shown() const { return shown_; }
  bool confirmation_enabled() const { return asks_confirmation_ && !shown_ && password_enabled(); }

  // "宛先を選ぶ" (core::texts::kChooseRecipients): shown when the question
  // brings a choice of contacts. nullptr without one.
  const RecipientChoice* recipients() const { return recipients_; }
  void tick_recipient(std::size_t i, bool ticked) {
    if (recipients_ && !closed_) recipients_->tick(i, ticked);
  }
  // Whether the prompt has password fields at all.
  bool asks_password() const { return asks_password_; }
  // The password field, the show box and "パスワードを生成": off while
  // anyone is ticked.
  bool password_enabled() const { return asks_password_ && !(recipients_ && recipients_->any_ticked()); }

  // "パスワードを生成" (core::texts::kGeneratePassphrase) and the choice
  // beside it (kPassphraseInKana), shown when the question offers them.
  bool offers_passphrase() const { return passphrase_offer_ != nullptr; }
  // The choice: hiragana words instead of English ones; it starts as the
  // user last left it.
  bool passphrase_kana() const { return passphrase_kana_; }
  void choose_passphrase_kana(bool kana) { passphrase_kana_ = kana; }
  // The button: a new passphrase for the password field and its
  // confirmation alike, which the show box (now ticked) shows. nullopt when
  // nothing is offered or the random source failed: then say
  // core::texts::kPassphraseFailed and leave the fields as they are.
  std::optional<block::SecretText> generate_passphrase();

  enum class Ok {
    accepted,  // closed with the typed password
    differs,   // the repetition differs: say kPasswordsDiffer, empty both fields, stay open
  };
  // OK with what the fields hold; `confirmation` counts only while the
  // confirmation field is enabled, and neither while the password is off
  // (the answer is then empty; the choice of recipients says OK).
  Ok ok(block::SecretText typed, const block::SecretText& confirmation);
  void cancel() { closed_ = true; }
  bool closed() const { return closed_; }
  // The answer, handed over once; empty unless OK closed the prompt.
  block::SecretText take_answer() { return std::move(answer_); }

 private:
  std::u16string prompt_;
  std::u16string title_;
  bool asks_confirmation_ = false;
  PassphraseOffer* passphrase_offer_ = nullptr;
  bool passphrase_kana_ = false;
  RecipientChoice* recipients_ = nullptr;
  bool asks_password_ = true;
  bool shown_ = false;
  bool closed_ = false;
  block::SecretText answer_;
};

}  // namespace quiren
