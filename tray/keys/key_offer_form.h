// The offer to add a key block's key to the contacts: what the block is to
// the user (a new key, a contact's changed key, one already held, their own)
// and the offer window's logic: the name from the block (editable), the
// safety digits, the advice to compare them, the "数字を確認した" box, and
// for a changed key the warning and a button that says it replaces.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "block/keys/key_block.h"
#include "tray/core/desktop.h"
#include "tray/keys/key_store.h"

namespace quiren::keys {

enum class KeyOfferKind {
  new_key,      // offered
  changed_key,  // its name is a contact's with another key: offered, with a warning
  known_key,    // a contact holds this key already: said so, not offered
  own_key,      // the user's own: not offered
};

struct KeyOffer {
  KeyOfferKind kind = KeyOfferKind::new_key;
  Contact candidate;                     // the block's key and name, unconfirmed
  std::optional<std::size_t> contact;    // changed_key, known_key: the contact's index
  std::u16string contact_name;           // its name
};

// A block whose name is not valid UTF-8 never gets here: the block reader
// refuses it.
KeyOffer classify_key_block(const KeyStore& store, const block::KeyBlockContent& content);

class KeyOfferForm {
 public:
  KeyOfferForm(Desktop& desktop, KeyStore& store, KeyOffer offer, std::u16string digits);

  std::u16string_view name() const { return name_; }
  void set_name(std::u16string name) { name_ = std::move(name); }
  std::u16string_view digits() const { return digits_; }
  bool confirmed() const { return confirmed_; }
  void set_confirmed(bool confirmed) { confirmed_ = confirmed; }
  // "" unless the key replaces a contact's.
  std::u16string warning() const;
  std::u16string_view accept_label() const;

  // The add (or replace) button: false, with a message, when the name is
  // not usable or another contact has it; the window stays open then.
  bool accept();
  bool accepted() const { return accepted_; }

 private:
  Desktop& desktop_;
  KeyStore& store_;
  KeyOffer offer_;
  std::u16string digits_;
  std::u16string name_;
  bool confirmed_ = false;
  bool accepted_ = false;
};

// The offer window, modal: runs until the form accepted or the user
// cancelled.
class KeyOfferWindow {
 public:
  virtual ~KeyOfferWindow() = default;
  virtual void run(KeyOfferForm& form) = 0;
};

}  // namespace quiren::keys
