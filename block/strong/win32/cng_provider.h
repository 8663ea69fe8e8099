// The strong envelope's primitives from CNG (bcrypt.dll).
#pragma once

#include "block/owned_handle.h"
#include "block/strong/crypto_provider.h"

namespace quiren::block {

// An open CNG algorithm provider. Its handle (BCRYPT_ALG_HANDLE) is a
// void*, so this header needs no <windows.h>.
struct CngAlgorithm {
  using Handle = void*;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle);
};

class CngProvider final : public CryptoProvider {
 public:
  // Opens the HMAC-SHA256 and AES-GCM algorithm providers once; when that
  // fails, every call below fails.
  CngProvider();
  CngProvider(const CngProvider&) = delete;
  CngProvider& operator=(const CngProvider&) = delete;

  bool random_bytes(std::span<std::uint8_t> out) override;
  std::optional<SecretKey> derive_key(std::string_view password_utf8, std::span<const std::uint8_t> salt,
                                      std::uint32_t iterations) override;
  bool seal(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce, std::span<const std::uint8_t> aad,
            std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> out) override;
  AeadStatus open(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                  std::span<const std::uint8_t> aad, std::span<const std::uint8_t> ciphertext_and_tag,
                  std::span<std::uint8_t> plaintext_out) override;

 private:
  OwnedHandle<CngAlgorithm> hmac_sha256_;
  OwnedHandle<CngAlgorithm> aes_gcm_;
};

}  // namespace quiren::block
