// The user's own key and contacts, kept in the settings store per Windows
// user: the secret key sealed for the user (Desktop::protect_for_user), its
// name, and the contacts (stored_contacts.h), none of them secret. Every
// change is written at once. The one KeyRing of the program.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/secret.h"
#include "block/strong/crypto_provider.h"
#include "tray/core/desktop.h"
#include "tray/core/key_ring.h"

namespace quiren::keys {

enum class KeyLoad {
  held,        // the stored key was read
  made,        // none was stored: the first one was made and stored
  unreadable,  // one is stored that cannot be unprotected here (another
               // user, another PC, or damaged): no key this run, and the
               // stored one stays as it is
  failed,      // none could be made or stored (no random source, the
               // system refused to seal it): no key this run
  locked,      // kept beside the program, and its passphrase not given:
               // no key this run
};

// The file a copy run from a USB stick keeps its key in, beside the program
// and sealed under a passphrase (block/keys/key_file.h). Where it is, the
// copy keeps its key there alone, on any PC: the passphrase is asked at
// each start, nothing of the key goes to the PC's registry, and the key
// goes from memory when the program ends.
inline constexpr std::u16string_view kKeyFileName = u"mu-quiren-key.txt";

class KeyStore : public KeyRing {
 public:
  KeyStore(Desktop& desktop, block::CryptoProvider& crypto);

  // At start: reads the contacts and the user's key, or makes the first key
  // (named after the Windows user) when none is stored.
  KeyLoad load();

  const block::SecretKey* my_secret_key() const override;
  std::optional<block::X25519PublicKey> my_public_key() const override;
  std::u16string my_name() const override { return my_name_; }
  std::vector<Contact> contacts() const override { return contacts_; }
  std::optional<Contact> contact_with(const block::X25519PublicKey& public_key) const override;

  // A stored key that could not be read this run.
  bool my_key_unreadable() const { return unreadable_; }
  // This copy keeps its key in kKeyFileName beside the program.
  bool key_beside_program() const { return beside_program_; }

  enum class Move { moved, exists, failed };
  // Writes the key to kKeyFileName beside the program, sealed under the
  // passphrase; from then on this copy keeps it there. Never over a file
  // that is there. The registry's copy stays, for the program installed on
  // this PC.
  Move keep_key_beside_program(std::string_view passphrase_utf8);

  // False when `name` is not one a key block may carry (usable_name).
  bool rename_me(std::u16string_view name);
  // Makes `secret` the user's key (one read from a file). False when it
  // could not be stored: the key held before stays. Kept beside the
  // program, it is sealed there under the passphrase given at start.
  bool replace_my_key(const block::SecretKey& secret);

  // A new contact at the end, or in place of `replacing` (an index).
  void add_contact(Contact contact, std::optional<std::size_t> replacing = std::nullopt);
  bool rename_contact(std::size_t index, std::u16string_view name);
  void confirm_contact(std::size_t index);
  void remove_contact(std::size_t index);
  // The index of the contact with this name, if any.
  std::optional<std::size_t> contact_named(std::u16string_view name) const;

 private:
  struct MyKey {
    block::SecretKey secret;
    block::X25519PublicKey public_key{};
  };
  // Seals and stores `secret`; false when the system refused.
  bool store_my_key(const block::SecretKey& secret);
  std::u16string key_file_path() const;
  // The key file's bytes: the key, once its passphrase is given.
  KeyLoad load_key_file(std::string_view bytes);
  // The key sealed under `passphrase_utf8` as the key file holds it.
  std::optional<std::string> key_file_bytes(const block::SecretKey& secret, std::string_view passphrase_utf8);
  void hold(block::SecretKey secret, const block::X25519PublicKey& public_key);
  void store_contacts();

  Desktop& desktop_;
  block::CryptoProvider& crypto_;
  std::optional<MyKey> my_key_;
  std::u16string my_name_;
  bool unreadable_ = false;
  bool beside_program_ = false;
  block::SecretBytes passphrase_;  // beside the program: to seal an imported key
  std::vector<Contact> contacts_;
};

// A name typed for a key (the user's own or a contact's) as it is kept: in
// NFC. nullopt when a key block may not carry it: empty, over 64 bytes in
// UTF-8, or holding a control or direction character.
std::optional<std::u16string> usable_name(std::u16string_view name);

}  // namespace quiren::keys
