#include "tray/core/password_prompt_form.h"

#include <utility>

namespace quiren {

PasswordPromptForm::Ok PasswordPromptForm::ok(block::SecretText typed, const block::SecretText& confirmation) {
  if (closed_) return Ok::accepted;
  if (confirmation_enabled() && typed != confirmation) return Ok::differs;
  answer_ = std::move(typed);
  closed_ = true;
  return Ok::accepted;
}

std::optional<block::SecretText> PasswordPromptForm::generate_passphrase() {
  if (!passphrase_offer_ || closed_) return std::nullopt;
  std::optional<block::SecretText> passphrase = passphrase_offer_->make(passphrase_kana_);
  if (passphrase) shown_ = true;
  return passphrase;
}

}  // namespace quiren
