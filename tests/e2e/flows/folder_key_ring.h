// The flows host's key ring for the journeys of keys, until the program's
// key store is there to set one up: with QUIREN_E2E_KEY_RING naming a
// folder, the user's key is its tray-key.txt (a bare secret key text, as
// `quiren key new --no-passphrase` writes it) and the contacts are the key
// blocks of its contacts.txt, by their names, confirmed, then those of its
// contacts-unconfirmed.txt, not confirmed. Without it, or
// with files that do not read, no key and no contacts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "block/strong/crypto_provider.h"
#include "tray/core/key_ring.h"

namespace quiren::e2e {

class FolderKeyRing : public KeyRing {
 public:
  explicit FolderKeyRing(block::CryptoProvider& crypto);

  const block::SecretKey* my_secret_key() const override { return mine_ ? &mine_->secret : nullptr; }
  std::optional<block::X25519PublicKey> my_public_key() const override {
    if (!mine_) return std::nullopt;
    return mine_->public_key;
  }
  std::u16string my_name() const override { return mine_ ? u"tray" : u""; }
  std::vector<Contact> contacts() const override { return contacts_; }
  std::optional<Contact> contact_with(const block::X25519PublicKey& public_key) const override;

 private:
  std::optional<block::X25519KeyPair> mine_;
  std::vector<Contact> contacts_;
};

}  // namespace quiren::e2e
