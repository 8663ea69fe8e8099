// "宛先を選ぶ" in the encrypt prompt: the user's contacts, each ticked or
// not. With anyone ticked the text goes into a recipient block for them and
// the user, and no password is asked. The choice is remembered for the next
// encryption by public key, not by name (settings::kEncryptToKeys): a
// contact renamed meanwhile stays ticked, one removed is forgotten.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "tray/core/desktop.h"
#include "tray/core/key_ring.h"

namespace quiren {

class RecipientChoice {
 public:
  // `contacts` in the order the list shows them; those whose key is among
  // `ticked` start ticked.
  RecipientChoice(std::vector<Contact> contacts, std::span<const block::X25519PublicKey> ticked);

  std::size_t size() const { return contacts_.size(); }
  // Contact `i` as the list shows it (contact_label.h).
  std::u16string line(std::size_t i) const;
  bool ticked(std::size_t i) const { return i < ticked_.size() && ticked_[i]; }
  // An index past the list changes nothing.
  void tick(std::size_t i, bool ticked);
  bool any_ticked() const;
  std::vector<Contact> ticked_contacts() const;

  // The prompt closed with OK: the text goes to the ticked contacts, or,
  // with none ticked, under a password. Cancel leaves this false.
  void accept() { accepted_ = true; }
  bool accepted() const { return accepted_; }

 private:
  std::vector<Contact> contacts_;
  std::vector<bool> ticked_;
  bool accepted_ = false;
};

// The public keys the last text was encrypted to: none after a password, or
// when nothing is stored. Anything in the stored text that is not a key as
// remember_recipients writes it is passed over.
std::vector<block::X25519PublicKey> remembered_recipients(Desktop& desktop);
// Stores the choice made: the contacts' keys, or none for a password.
void remember_recipients(Desktop& desktop, std::span<const Contact> chosen);

}  // namespace quiren
