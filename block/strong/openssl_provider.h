// The strong envelope's primitives from OpenSSL's libcrypto.
#pragma once

#include "block/strong/crypto_provider.h"

namespace quiren::block {

class OpenSslProvider final : public CryptoProvider {
 public:
  bool random_bytes(std::span<std::uint8_t> out) override;
  std::optional<SecretKey> derive_key(std::string_view password_utf8, std::span<const std::uint8_t> salt,
                                      std::uint32_t iterations) override;
  bool seal(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce, std::span<const std::uint8_t> aad,
            std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> out) override;
  AeadStatus open(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                  std::span<const std::uint8_t> aad, std::span<const std::uint8_t> ciphertext_and_tag,
                  std::span<std::uint8_t> plaintext_out) override;
};

}  // namespace quiren::block
