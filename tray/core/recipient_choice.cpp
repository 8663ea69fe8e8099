#include "tray/core/recipient_choice.h"

#include <algorithm>
#include <optional>

#include "tray/core/contact_label.h"
#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"
#include "tray/core/stored_public_key.h"

namespace quiren {
RecipientChoice::RecipientChoice(std::vector<Contact> contacts, std::span<const block::X25519PublicKey> ticked)
    : contacts_(std::move(contacts)), ticked_(contacts_.size(), false) {
  for (std::size_t i = 0; i < contacts_.size(); ++i) {
    ticked_[i] = std::find(ticked.begin(), ticked.end(), contacts_[i].public_key) != ticked.end();
  }
}

std::u16string RecipientChoice::line(std::size_t i) const {
  return i < contacts_.size() ? contact_label(contacts_[i]) : std::u16string();
}

void RecipientChoice::tick(std::size_t i, bool ticked) {
  if (i < ticked_.size()) ticked_[i] = ticked;
}

bool RecipientChoice::any_ticked() const { return std::find(ticked_.begin(), ticked_.end(), true) != ticked_.end(); }

std::vector<Contact> RecipientChoice::ticked_contacts() const {
  std::vector<Contact> chosen;
  for (std::size_t i = 0; i < contacts_.size(); ++i) {
    if (ticked_[i]) chosen.push_back(contacts_[i]);
  }
  return chosen;
}

std::vector<block::X25519PublicKey> remembered_recipients(Desktop& desktop) {
  const std::u16string stored = settings::read_text_or(desktop, settings::kEncryptToKeys, u"");
  std::vector<block::X25519PublicKey> keys;
  std::size_t at = 0;
  while (at < stored.size()) {
    std::size_t end = stored.find(u' ', at);
    if (end == std::u16string::npos) end = stored.size();
    if (const std::optional<block::X25519PublicKey> key = read_stored_public_key(std::u16string_view(stored).substr(at, end - at))) {
      keys.push_back(*key);
    }
    at = end + 1;
  }
  return keys;
}

void remember_recipients(Desktop& desktop, std::span<const Contact> chosen) {
  std::u16string stored;
  for (const Contact& contact : chosen) {
    if (!stored.empty()) stored += u' ';
    stored += stored_public_key(contact.public_key);
  }
  desktop.write_setting(settings::kEncryptToKeys, stored);
}

}  // namespace quiren
