// A key ring held in memory for tests: the user's key pair (made with the
// platform's X25519, so blocks sealed to it really open) and contacts as a
// test lists them.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "block/strong/crypto_provider.h"
#include "tray/core/key_ring.h"

namespace quiren::testing {

class FakeKeyRing : public KeyRing {
 public:
  const block::SecretKey* my_secret_key() const override { return mine ? &mine->secret : nullptr; }
  std::optional<block::X25519PublicKey> my_public_key() const override {
    if (!mine) return std::nullopt;
    return mine->public_key;
  }
  std::u16string my_name() const override { return mine ? name : std::u16string(); }
  std::vector<Contact> contacts() const override { return people; }
  std::optional<Contact> contact_with(const block::X25519PublicKey& public_key) const override {
    const auto found = std::find_if(people.begin(), people.end(),
                                    [&](const Contact& contact) { return contact.public_key == public_key; });
    if (found == people.end()) return std::nullopt;
    return *found;
  }

  // Gives the user a fresh key pair.
  void make_my_key(block::CryptoProvider& crypto) { mine = crypto.generate_x25519_key_pair(); }

  std::optional<block::X25519KeyPair> mine;
  std::u16string name = u"taro";
  std::vector<Contact> people;
};

}  // namespace quiren::testing
