// The platform's cryptography with a cheap key derivation, for tests of the
// code around strong blocks: random bytes, AES-GCM and the rest are the
// real ones, the key is PBKDF2 with one iteration whatever the envelope
// says. Blocks it writes open only with it; the real derivation is tested
// where it is the point (tests/block/strong, the tool's end-to-end test,
// Wine).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "block/strong/crypto_provider.h"

namespace quiren::testing {

class QuickCrypto : public block::CryptoProvider {
 public:
  bool random_bytes(std::span<std::uint8_t> out) override { return real_->random_bytes(out); }
  std::optional<block::SecretKey> derive_key(std::string_view password_utf8, std::span<const std::uint8_t> salt,
                                             std::uint32_t iterations) override {
    ++derivations;
    derived_iterations.push_back(iterations);
    if (while_deriving) while_deriving();
    return real_->derive_key(password_utf8, salt, 1);
  }
  bool seal(const block::SecretKey& key, std::span<const std::uint8_t, block::kNonceSize> nonce,
            std::span<const std::uint8_t> aad, std::span<const std::uint8_t> plaintext,
            std::span<std::uint8_t> out) override {
    return real_->seal(key, nonce, aad, plaintext, out);
  }
  block::AeadStatus open(const block::SecretKey& key, std::span<const std::uint8_t, block::kNonceSize> nonce,
                         std::span<const std::uint8_t> aad, std::span<const std::uint8_t> ciphertext_and_tag,
                         std::span<std::uint8_t> plaintext_out) override {
    return real_->open(key, nonce, aad, ciphertext_and_tag, plaintext_out);
  }
  std::optional<block::X25519KeyPair> generate_x25519_key_pair() override {
    return real_->generate_x25519_key_pair();
  }
  std::optional<block::X25519PublicKey> x25519_public_key(const block::SecretKey& secret) override {
    return real_->x25519_public_key(secret);
  }
  block::X25519Agreement x25519_agree(const block::SecretKey& secret,
                                      std::span<const std::uint8_t, block::kX25519KeySize> peer_public) override {
    return real_->x25519_agree(secret, peer_public);
  }
  bool hkdf_sha256(std::span<const std::uint8_t> input_key_material, std::span<const std::uint8_t> salt,
                   std::span<const std::uint8_t> info, std::span<std::uint8_t> out) override {
    return real_->hkdf_sha256(input_key_material, salt, info, out);
  }
  std::optional<block::Sha256Digest> sha256(std::span<const std::uint8_t> data) override {
    return real_->sha256(data);
  }

  int derivations = 0;
  std::vector<std::uint32_t> derived_iterations;  // as asked, one entry per derivation
  // Runs inside every derivation, as if the user acted while it took its
  // time (pressed Cancel, say).
  std::function<void()> while_deriving;

 private:
  std::unique_ptr<block::CryptoProvider> real_ = block::platform_crypto();
};

}  // namespace quiren::testing
