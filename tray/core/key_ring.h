// The user's own key pair and the people whose keys they hold, as the flows
// and windows see them: the encrypt prompt lists the contacts to write to,
// the decrypt run opens blocks addressed to the user's key, and the viewer
// names a block's sender. Where and how the keys are kept (DPAPI in the
// program's HKCU key, or a file beside a copy run from a USB stick) is the
// store's business behind this interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "block/strong/crypto_provider.h"
#include "block/strong/secret_key.h"

namespace quiren {

struct Contact {
  std::u16string name;  // as the user named the key; the key block's name to begin with
  block::X25519PublicKey public_key{};
  bool confirmed = false;  // the user compared the safety digits with the key's holder

  friend bool operator==(const Contact&, const Contact&) = default;
};

class KeyRing {
 public:
  virtual ~KeyRing() = default;

  // The user's secret key, or nullptr when this run of the program holds
  // none (a copy on a USB stick whose passphrase was not given, say).
  virtual const block::SecretKey* my_secret_key() const = 0;
  // The public half and the name the user goes by; nullopt / empty with no key.
  virtual std::optional<block::X25519PublicKey> my_public_key() const = 0;
  virtual std::u16string my_name() const = 0;

  // Every contact, in the order the contacts window shows them.
  virtual std::vector<Contact> contacts() const = 0;
  // The contact holding this public key, if any.
  virtual std::optional<Contact> contact_with(const block::X25519PublicKey& public_key) const = 0;
};

}  // namespace quiren
