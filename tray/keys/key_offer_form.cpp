#include "tray/keys/key_offer_form.h"

#include <vector>

#include "block/filled_text.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/keys/key_texts.h"

namespace quiren::keys {

KeyOffer classify_key_block(const KeyStore& store, const block::KeyBlockContent& content) {
  KeyOffer offer;
  offer.candidate.public_key = content.public_key;
  offer.candidate.name = block::utf16_from_utf8(content.name).value_or(u"");
  if (store.my_public_key() == content.public_key) {
    offer.kind = KeyOfferKind::own_key;
    return offer;
  }
  const std::vector<Contact> contacts = store.contacts();
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    if (contacts[i].public_key == content.public_key) {
      offer.kind = KeyOfferKind::known_key;
      offer.contact = i;
      offer.contact_name = contacts[i].name;
      return offer;
    }
  }
  // An unnamed block matches no contact: every contact has a name.
  if (const std::optional<std::size_t> named = store.contact_named(offer.candidate.name)) {
    offer.kind = KeyOfferKind::changed_key;
    offer.contact = named;
    offer.contact_name = contacts[*named].name;
  }
  return offer;
}

KeyOfferForm::KeyOfferForm(Desktop& desktop, KeyStore& store, KeyOffer offer, std::u16string digits)
    : desktop_(desktop), store_(store), offer_(std::move(offer)), digits_(std::move(digits)),
      name_(offer_.candidate.name) {}

std::u16string KeyOfferForm::warning() const {
  if (offer_.kind != KeyOfferKind::changed_key) return {};
  return block::filled(texts::kOfferKeyChanged, {{"name", offer_.contact_name}});
}

std::u16string_view KeyOfferForm::accept_label() const {
  return offer_.kind == KeyOfferKind::changed_key ? texts::kOfferReplace : texts::kOfferAdd;
}

bool KeyOfferForm::accept() {
  const std::optional<std::u16string> name = usable_name(name_);
  if (!name) {
    tell(desktop_, texts::kNameUnusable, Icon::exclamation);
    return false;
  }
  const std::optional<std::size_t> holder = store_.contact_named(*name);
  if (holder && holder != offer_.contact) {
    tell(desktop_, block::filled(texts::kNameTaken, {{"name", *name}}), Icon::exclamation);
    return false;
  }
  Contact contact = offer_.candidate;
  contact.name = *name;
  contact.confirmed = confirmed_;
  // A changed key takes the old one's place; renamed away from it, it is a
  // contact of its own and the old key stays.
  store_.add_contact(std::move(contact), holder);
  accepted_ = true;
  return true;
}

}  // namespace quiren::keys
