#include "tray/core/passphrase_offer.h"

#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"

namespace quiren {

bool PassphraseOffer::remembered_kana() const {
  return settings::read_boolean_or(desktop_, settings::kPassphraseInKana, settings::kDefaultPassphraseInKana);
}

std::optional<block::SecretText> PassphraseOffer::make(bool kana) {
  std::optional<block::SecretText> passphrase =
      block::make_passphrase(kana ? block::PassphraseForm::kana : block::PassphraseForm::latin, random_);
  // Remembered only when it served: a failure changes nothing.
  if (passphrase && kana != remembered_kana()) settings::write_boolean(desktop_, settings::kPassphraseInKana, kana);
  return passphrase;
}

}  // namespace quiren
