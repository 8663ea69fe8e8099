// A provider for the tests: passes calls to the real one and records them,
// or fails on request where a real platform might.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "block/strong/crypto_provider.h"

namespace quiren::block::test {

class ProbeProvider final : public CryptoProvider {
 public:
  enum class Random { real, fails, zeros };

  Random random = Random::real;
  // When false, derive_key records the call and returns nullopt without
  // deriving: enough to see that the header check let an envelope through.
  bool derive = true;
  // Derives each password, salt and count once, so a test that opens many
  // changed copies of one envelope stays quick; the cipher still runs on
  // every copy.
  bool remember_keys = false;

  std::vector<std::uint32_t> derived_iterations;  // one entry per derive_key call
  int seal_calls = 0;
  int open_calls = 0;

  bool random_bytes(std::span<std::uint8_t> out) override {
    switch (random) {
      case Random::fails: return false;
      case Random::zeros:
        for (std::uint8_t& b : out) b = 0;
        return true;
      case Random::real: break;
    }
    return real_->random_bytes(out);
  }
  std::optional<SecretKey> derive_key(std::string_view password_utf8, std::span<const std::uint8_t> salt,
                                      std::uint32_t iterations) override {
    derived_iterations.push_back(iterations);
    if (!derive) return std::nullopt;
    if (!remember_keys) return real_->derive_key(password_utf8, salt, iterations);
    std::string id(password_utf8);
    id.append(salt.begin(), salt.end()).append(std::to_string(iterations));
    auto known = keys_.find(id);
    if (known == keys_.end()) {
      std::optional<SecretKey> key = real_->derive_key(password_utf8, salt, iterations);
      if (!key) return std::nullopt;
      known = keys_.emplace(id, std::move(*key)).first;
    }
    SecretKey copy;
    std::copy(known->second.bytes().begin(), known->second.bytes().end(), copy.writable_bytes().begin());
    return copy;
  }
  bool seal(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce, std::span<const std::uint8_t> aad,
            std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> out) override {
    ++seal_calls;
    return real_->seal(key, nonce, aad, plaintext, out);
  }
  AeadStatus open(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                  std::span<const std::uint8_t> aad, std::span<const std::uint8_t> ciphertext_and_tag,
                  std::span<std::uint8_t> plaintext_out) override {
    ++open_calls;
    return real_->open(key, nonce, aad, ciphertext_and_tag, plaintext_out);
  }
  std::optional<X25519KeyPair> generate_x25519_key_pair() override { return real_->generate_x25519_key_pair(); }
  std::optional<X25519PublicKey> x25519_public_key(const SecretKey& secret) override {
    return real_->x25519_public_key(secret);
  }
  X25519Agreement x25519_agree(const SecretKey& secret,
                               std::span<const std::uint8_t, kX25519KeySize> peer_public) override {
    return real_->x25519_agree(secret, peer_public);
  }
  bool hkdf_sha256(std::span<const std::uint8_t> input_key_material, std::span<const std::uint8_t> salt,
                   std::span<const std::uint8_t> info, std::span<std::uint8_t> out) override {
    return real_->hkdf_sha256(input_key_material, salt, info, out);
  }
  std::optional<Sha256Digest> sha256(std::span<const std::uint8_t> data) override { return real_->sha256(data); }

 private:
  std::unique_ptr<CryptoProvider> real_ = platform_crypto();
  std::map<std::string, SecretKey> keys_;
};

}  // namespace quiren::block::test
