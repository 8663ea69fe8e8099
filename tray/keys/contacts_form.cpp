#include "tray/keys/contacts_form.h"

#include "block/filled_text.h"
#include "block/keys/key_block.h"
#include "block/keys/safety_digits.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/keys/key_passphrase.h"
#include "tray/keys/key_texts.h"
#include "tray/keys/key_transfer.h"

namespace quiren::keys {
namespace {

std::u16string digits_of(block::CryptoProvider& crypto, const block::X25519PublicKey& key) {
  const std::optional<std::string> digits = block::safety_digits(crypto, key);
  return digits ? std::u16string(digits->begin(), digits->end()) : std::u16string();
}

}  // namespace

std::u16string contact_line_text(const ContactLine& line) {
  return line.name + u"\t" + line.digits + u"\t" +
         std::u16string(line.confirmed ? texts::kConfirmedMark : texts::kUnconfirmedMark);
}

ContactsForm::ContactsForm(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto, KeyStore& store)
    : state_(state), desktop_(desktop), crypto_(crypto), store_(store) {}

void ContactsForm::load() {
  my_name_ = store_.my_name();
  const std::optional<block::X25519PublicKey> mine = store_.my_public_key();
  my_digits_ = mine ? digits_of(crypto_, *mine) : std::u16string();
  lines_.clear();
  for (const Contact& contact : store_.contacts()) {
    lines_.push_back({contact.name, digits_of(crypto_, contact.public_key), contact.confirmed});
  }
  if (selected_ && *selected_ >= lines_.size()) {
    selected_ = lines_.empty() ? std::nullopt : std::optional<std::size_t>(lines_.size() - 1);
  }
}

void ContactsForm::select(std::optional<std::size_t> index) {
  selected_ = index && *index < lines_.size() ? index : std::nullopt;
}

void ContactsForm::copy_my_key() {
  const std::optional<block::X25519PublicKey> mine = store_.my_public_key();
  if (!mine) return tell(desktop_, texts::kNoKeyToUse, Icon::exclamation);
  const block::KeyEnvelopeWrite written =
      block::write_key_envelope(crypto_, *mine, block::utf8_from_utf16(store_.my_name()));
  if (written.envelope.empty()) return tell(desktop_, texts::kDigitsFailed, Icon::critical);
  // The watch meets the user's own key block and passes it over.
  if (!desktop_.clipboard_put_text(block::frame_key_envelope(written.envelope, state_.settings.wrap_width))) {
    return tell(desktop_, texts::kClipboardBusy, Icon::exclamation);
  }
  tell(desktop_, texts::kMyKeyCopied, Icon::information);
}

std::optional<std::u16string> ContactsForm::ask_name() {
  const std::u16string typed = desktop_.input_prompt(texts::kAskNewName, texts::kContactsTitle);
  if (typed.empty()) return std::nullopt;
  std::optional<std::u16string> name = usable_name(typed);
  if (!name) tell(desktop_, texts::kNameUnusable, Icon::exclamation);
  return name;
}

void ContactsForm::rename_me() {
  if (!store_.my_public_key()) return tell(desktop_, texts::kNoKeyToUse, Icon::exclamation);
  if (const std::optional<std::u16string> name = ask_name()) store_.rename_me(*name);
  load();
}

std::optional<std::size_t> ContactsForm::selection_or_say() {
  if (!selected_) tell(desktop_, texts::kSelectContact, Icon::exclamation);
  return selected_;
}

void ContactsForm::rename_selected() {
  const std::optional<std::size_t> index = selection_or_say();
  if (!index) return;
  const std::optional<std::u16string> name = ask_name();
  if (!name) return;
  const std::optional<std::size_t> holder = store_.contact_named(*name);
  if (holder && holder != index) {
    return tell(desktop_, block::filled(texts::kNameTaken, {{"name", *name}}), Icon::exclamation);
  }
  store_.rename_contact(*index, *name);
  load();
}

void ContactsForm::remove_selected() {
  const std::optional<std::size_t> index = selection_or_say();
  if (!index) return;
  if (ask_no_by_default(desktop_, block::filled(texts::kAskRemove, {{"name", lines_[*index].name}})) != Answer::yes) {
    return;
  }
  store_.remove_contact(*index);
  load();
}

void ContactsForm::confirm_selected() {
  const std::optional<std::size_t> index = selection_or_say();
  if (!index || lines_[*index].confirmed) return;
  const ContactLine& line = lines_[*index];
  if (ask(desktop_, block::filled(texts::kAskConfirm, {{"name", line.name}, {"digits", line.digits}})) !=
      Answer::yes) {
    return;
  }
  store_.confirm_contact(*index);
  load();
}

void ContactsForm::export_key() { export_my_key(state_, desktop_, crypto_, store_); }

void ContactsForm::import_key() {
  import_my_key(desktop_, crypto_, store_);
  load();
}

void ContactsForm::keep_key_beside_program() {
  if (!store_.my_public_key()) return tell(desktop_, texts::kNoKeyToUse, Icon::exclamation);
  if (store_.key_beside_program()) return tell(desktop_, texts::kAlreadyBesideProgram, Icon::information);
  if (ask(desktop_, texts::kAskKeepBesideProgram) != Answer::yes) return;
  const block::SecretBytes passphrase = ask_key_passphrase(desktop_, texts::kAskKeyFilePassphraseNew, true);
  if (passphrase.empty()) return;
  switch (store_.keep_key_beside_program(passphrase.view())) {
    case KeyStore::Move::moved:
      return tell(desktop_, texts::kKeyBesideProgram, Icon::information);
    case KeyStore::Move::exists:
      return tell(desktop_, texts::kKeyFileExists, Icon::exclamation);
    case KeyStore::Move::failed:
      return tell(desktop_, texts::kKeyFileNotWritten, Icon::critical);
  }
}

}  // namespace quiren::keys
