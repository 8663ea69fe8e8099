#include "tray/keys/key_store.h"

#include <algorithm>
#include <string_view>

#include "block/block_rules.h"
#include "block/keys/key_file.h"
#include "block/keys/key_name.h"
#include "block/keys/secret_key_text.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/core/protected_text.h"
#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"
#include "tray/keys/key_passphrase.h"
#include "tray/keys/key_texts.h"
#include "tray/keys/stored_contacts.h"

namespace quiren::keys {

std::optional<std::u16string> usable_name(std::u16string_view name) {
  if (name.empty() || !block::is_valid_utf16(name)) return std::nullopt;
  const block::KeyName written = block::key_name_to_write(block::utf8_from_utf16(name));
  if (written.problem != block::KeyNameProblem::none) return std::nullopt;
  return block::utf16_from_utf8(written.utf8);
}

KeyStore::KeyStore(Desktop& desktop, block::CryptoProvider& crypto) : desktop_(desktop), crypto_(crypto) {}

KeyLoad KeyStore::load() {
  contacts_ = read_stored_contacts(settings::read_text_or(desktop_, settings::kContacts, u""));
  my_name_ = settings::read_text_or(desktop_, settings::kMyName, u"");
  my_key_.reset();
  unreadable_ = false;
  beside_program_ = false;

  FileRead file = desktop_.read_plain_file(key_file_path());
  if (file.status == FileStatus::read || file.status == FileStatus::unreadable) {
    beside_program_ = true;
    if (my_name_.empty()) my_name_ = usable_name(desktop_.user_name()).value_or(u"");
    if (file.status == FileStatus::read) return load_key_file(file.bytes.view());
    unreadable_ = true;
    return KeyLoad::unreadable;
  }

  const std::optional<std::u16string> stored = desktop_.read_setting(settings::kMyKey);
  if (stored && !stored->empty()) {
    const std::string sealed = block::utf8_from_utf16(*stored);
    const std::optional<block::SecretBytes> text = unprotected_text(desktop_, sealed);
    std::optional<block::SecretKey> secret;
    if (text) secret = block::read_secret_key_text(std::string_view(text->data(), text->size()));
    const std::optional<block::X25519PublicKey> public_key =
        secret ? crypto_.x25519_public_key(*secret) : std::nullopt;
    if (!public_key) {
      unreadable_ = true;
      return KeyLoad::unreadable;
    }
    hold(std::move(*secret), *public_key);
    return KeyLoad::held;
  }

  std::optional<block::X25519KeyPair> pair = crypto_.generate_x25519_key_pair();
  if (!pair || !store_my_key(pair->secret)) return KeyLoad::failed;
  hold(std::move(pair->secret), pair->public_key);
  // A user name a key block may not carry leaves the key unnamed until the
  // user names it.
  my_name_ = usable_name(desktop_.user_name()).value_or(u"");
  desktop_.write_setting(settings::kMyName, my_name_);
  return KeyLoad::made;
}

KeyLoad KeyStore::load_key_file(std::string_view bytes) {
  if (bytes.size() > block::kLargestKeyFile) {
    unreadable_ = true;
    return KeyLoad::unreadable;
  }
  block::KeyFileText text = block::read_key_file_text(bytes);
  if (text.form == block::KeyFileForm::bare && text.key) {
    if (const std::optional<block::X25519PublicKey> public_key = crypto_.x25519_public_key(*text.key)) {
      hold(std::move(*text.key), *public_key);
      return KeyLoad::held;
    }
  }
  if (text.form != block::KeyFileForm::sealed || text.problem) {
    unreadable_ = true;
    return KeyLoad::unreadable;
  }
  for (;;) {
    block::SecretBytes passphrase = ask_key_passphrase(desktop_, texts::kAskKeyFilePassphrase, false);
    if (passphrase.empty()) return KeyLoad::locked;
    block::SealedKeyOpened opened = block::open_sealed_key(crypto_, text.envelope, passphrase.view());
    const std::optional<block::X25519PublicKey> public_key =
        opened.key ? crypto_.x25519_public_key(*opened.key) : std::nullopt;
    if (opened.outcome == block::Outcome::opened && public_key) {
      hold(std::move(*opened.key), *public_key);
      passphrase_ = std::move(passphrase);
      return KeyLoad::held;
    }
    if (opened.outcome != block::Outcome::wrong_password) {
      unreadable_ = true;
      return KeyLoad::unreadable;
    }
    tell(desktop_, texts::kKeyFileWrongPassphrase, Icon::exclamation);
  }
}

std::u16string KeyStore::key_file_path() const {
  std::u16string path = desktop_.program_directory();
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  return path + std::u16string(kKeyFileName);
}

std::optional<std::string> KeyStore::key_file_bytes(const block::SecretKey& secret,
                                                    std::string_view passphrase_utf8) {
  const block::StrongBlock sealed = block::sealed_key_block(crypto_, secret, passphrase_utf8, block::kDefaultWrap);
  if (sealed.status != block::SealStatus::sealed) return std::nullopt;
  return block::utf8_from_utf16(sealed.block) + "\r\n";
}

KeyStore::Move KeyStore::keep_key_beside_program(std::string_view passphrase_utf8) {
  if (!my_key_ || passphrase_utf8.empty()) return Move::failed;
  const std::optional<std::string> bytes = key_file_bytes(my_key_->secret, passphrase_utf8);
  if (!bytes) return Move::failed;
  switch (desktop_.write_new_file(key_file_path(), *bytes)) {
    case NewFile::written:
      break;
    case NewFile::exists:
      return Move::exists;
    case NewFile::failed:
      return Move::failed;
  }
  beside_program_ = true;
  passphrase_ = block::SecretBytes(passphrase_utf8);
  return Move::moved;
}

void KeyStore::hold(block::SecretKey secret, const block::X25519PublicKey& public_key) {
  my_key_.emplace(MyKey{std::move(secret), public_key});
}

const block::SecretKey* KeyStore::my_secret_key() const { return my_key_ ? &my_key_->secret : nullptr; }

std::optional<block::X25519PublicKey> KeyStore::my_public_key() const {
  if (!my_key_) return std::nullopt;
  return my_key_->public_key;
}

std::optional<Contact> KeyStore::contact_with(const block::X25519PublicKey& public_key) const {
  const auto found = std::find_if(contacts_.begin(), contacts_.end(),
                                  [&](const Contact& contact) { return contact.public_key == public_key; });
  if (found == contacts_.end()) return std::nullopt;
  return *found;
}

bool KeyStore::rename_me(std::u16string_view name) {
  const std::optional<std::u16string> kept = usable_name(name);
  if (!kept) return false;
  my_name_ = *kept;
  desktop_.write_setting(settings::kMyName, my_name_);
  return true;
}

bool KeyStore::replace_my_key(const block::SecretKey& secret) {
  const std::optional<block::X25519PublicKey> public_key = crypto_.x25519_public_key(secret);
  if (!public_key) return false;
  if (beside_program_) {
    // Without the passphrase of a file that could not be opened, the file
    // stays as it is.
    if (passphrase_.empty()) return false;
    const std::optional<std::string> bytes = key_file_bytes(secret, passphrase_.view());
    if (!bytes || !desktop_.replace_file(key_file_path(), *bytes)) return false;
  } else if (!store_my_key(secret)) {
    return false;
  }
  block::SecretKey copy;
  std::copy(secret.bytes().begin(), secret.bytes().end(), copy.writable_bytes().begin());
  hold(std::move(copy), *public_key);
  unreadable_ = false;
  return true;
}

bool KeyStore::store_my_key(const block::SecretKey& secret) {
  const block::SecretBytes text = block::secret_key_text(secret);
  const std::optional<std::string> sealed = protected_text(desktop_, std::string_view(text.data(), text.size()));
  if (!sealed) return false;
  desktop_.write_setting(settings::kMyKey, std::u16string(sealed->begin(), sealed->end()));
  return true;
}

void KeyStore::add_contact(Contact contact, std::optional<std::size_t> replacing) {
  if (replacing && *replacing < contacts_.size()) {
    contacts_[*replacing] = std::move(contact);
  } else {
    contacts_.push_back(std::move(contact));
  }
  store_contacts();
}

bool KeyStore::rename_contact(std::size_t index, std::u16string_view name) {
  const std::optional<std::u16string> kept = usable_name(name);
  if (index >= contacts_.size() || !kept) return false;
  contacts_[index].name = *kept;
  store_contacts();
  return true;
}

void KeyStore::confirm_contact(std::size_t index) {
  if (index >= contacts_.size()) return;
  contacts_[index].confirmed = true;
  store_contacts();
}

void KeyStore::remove_contact(std::size_t index) {
  if (index >= contacts_.size()) return;
  contacts_.erase(contacts_.begin() + static_cast<std::ptrdiff_t>(index));
  store_contacts();
}

std::optional<std::size_t> KeyStore::contact_named(std::u16string_view name) const {
  const auto found =
      std::find_if(contacts_.begin(), contacts_.end(), [&](const Contact& contact) { return contact.name == name; });
  if (found == contacts_.end()) return std::nullopt;
  return static_cast<std::size_t>(found - contacts_.begin());
}

void KeyStore::store_contacts() { desktop_.write_setting(settings::kContacts, stored_contacts_text(contacts_)); }

}  // namespace quiren::keys
