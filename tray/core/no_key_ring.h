// A key ring with no key of the user's and no contacts: the program then
// encrypts under passwords only and opens no recipient block, as before it
// knew keys. A stand-in where no key store is wired (see tray/app/main.cpp).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tray/core/key_ring.h"

namespace quiren {

class NoKeyRing : public KeyRing {
 public:
  const block::SecretKey* my_secret_key() const override { return nullptr; }
  std::optional<block::X25519PublicKey> my_public_key() const override { return std::nullopt; }
  std::u16string my_name() const override { return {}; }
  std::vector<Contact> contacts() const override { return {}; }
  std::optional<Contact> contact_with(const block::X25519PublicKey&) const override { return std::nullopt; }
};

}  // namespace quiren
