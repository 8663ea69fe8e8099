#include "tray/core/password_prompt_form.h"

#include <utility>

namespace quiren {

PasswordPromptForm::Ok PasswordPromptForm::ok(block::SecretText typed, const block::SecretText& confirmation) {
  if (closed_) return Ok::accepted;
  if (confirmation_enabled() && typed != confirmation) return Ok::differs;
  if (password_enabled()) answer_ = std::move(typed);
  if (recipients_) recipients_->accept();
  closed_ = true;
  return Ok::accepted;
}

std::optional<block::SecretText> PasswordPromptForm::generate_passphrase() {
  if (!passphrase_offer_ || closed_ || !password_enabled()) return std::nullopt;
  std::optional<block::SecretText> passphrase = passphrase_offer_->make(passphrase_kana_);
  if (passphrase) shown_ = true;
  return passphrase;
}

}  // namespace quiren
