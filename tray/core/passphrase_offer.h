// "パスワードを生成" beside a password field: a generated passphrase
// (block/passphrase.h) in the form the user picked beside the button. The
// store remembers the form last used (kPassphraseInKana), so that every such
// button, in the password prompt and in the settings dialog, starts from it.
#pragma once

#include <optional>

#include "block/passphrase.h"
#include "block/secret.h"
#include "tray/core/desktop.h"

namespace quiren {

class PassphraseOffer {
 public:
  PassphraseOffer(Desktop& desktop, block::CryptoProvider& random) : desktop_(desktop), random_(random) {}

  // The form last used; English words when the store says nothing.
  bool remembered_kana() const;
  // A new passphrase in the form asked for, which is then remembered.
  // nullopt when the system's random source failed: the caller says
  // core::texts::kPassphraseFailed and leaves the fields as they were.
  std::optional<block::SecretText> make(bool kana);

 private:
  Desktop& desktop_;
  block::CryptoProvider& random_;
};

}  // namespace quiren
