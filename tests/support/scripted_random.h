// A crypto provider whose random source gives scripted numbers, for tests
// of what is drawn from it. Each number is two bytes, high first, as a
// passphrase's draw reads them; once the script has run out (or when told
// to fail) the source fails. Everything else it is asked fails.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>

#include "block/strong/crypto_provider.h"

namespace quiren::testing {

class ScriptedRandom : public block::CryptoProvider {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<unsigned> numbers) { then(numbers); }

  // Appends numbers from 0 to 65,535 to the script.
  ScriptedRandom& then(std::initializer_list<unsigned> numbers) {
    for (unsigned n : numbers) {
      bytes.push_back(static_cast<std::uint8_t>(n >> 8));
      bytes.push_back(static_cast<std::uint8_t>(n & 0xff));
    }
    return *this;
  }

  bool random_bytes(std::span<std::uint8_t> out) override {
    ++calls;
    if (fails || out.size() > bytes.size()) return false;
    for (std::uint8_t& b : out) {
      b = bytes.front();
      bytes.pop_front();
    }
    return true;
  }
  std::optional<block::SecretKey> derive_key(std::string_view, std::span<const std::uint8_t>,
                                             std::uint32_t) override {
    return std::nullopt;
  }
  bool seal(const block::SecretKey&, std::span<const std::uint8_t, block::kNonceSize>, std::span<const std::uint8_t>,
            std::span<const std::uint8_t>, std::span<std::uint8_t>) override {
    return false;
  }
  block::AeadStatus open(const block::SecretKey&, std::span<const std::uint8_t, block::kNonceSize>,
                         std::span<const std::uint8_t>, std::span<const std::uint8_t>,
                         std::span<std::uint8_t>) override {
    return block::AeadStatus::failed;
  }
  std::optional<block::X25519KeyPair> generate_x25519_key_pair() override { return std::nullopt; }
  std::optional<block::X25519PublicKey> x25519_public_key(const block::SecretKey&) override { return std::nullopt; }
  block::X25519Agreement x25519_agree(const block::SecretKey&,
                                      std::span<const std::uint8_t, block::kX25519KeySize>) override {
    return {};
  }
  bool hkdf_sha256(std::span<const std::uint8_t>, std::span<const std::uint8_t>, std::span<const std::uint8_t>,
                   std::span<std::uint8_t>) override {
    return false;
  }
  std::optional<block::Sha256Digest> sha256(std::span<const std::uint8_t>) override { return std::nullopt; }

  std::deque<std::uint8_t> bytes;  // what is left of the script
  bool fails = false;
  int calls = 0;  // random_bytes calls, failed ones included
};

}  // namespace quiren::testing
