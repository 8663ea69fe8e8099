// The blocks' primitives on Windows: CNG (bcrypt.dll) for the random
// source, PBKDF2, AES-GCM and SHA-256; X25519 and HKDF from the static
// libcrypto the Windows build links (openssl_key_agreement.h), since Wine
// implements neither in CNG and no test here could run them.
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
  // Opens the HMAC-SHA256, AES-GCM and SHA-256 algorithm providers once;
  // when one fails, the calls that need it fail.
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
  std::optional<X25519KeyPair> generate_x25519_key_pair() override;
  std::optional<X25519PublicKey> x25519_public_key(const SecretKey& secret) override;
  X25519Agreement x25519_agree(const SecretKey& secret,
                               std::span<const std::uint8_t, kX25519KeySize> peer_public) override;
  bool hkdf_sha256(std::span<const std::uint8_t> input_key_material, std::span<const std::uint8_t> salt,
                   std::span<const std::uint8_t> info, std::span<std::uint8_t> out) override;
  std::optional<Sha256Digest> sha256(std::span<const std::uint8_t> data) override;

 private:
  OwnedHandle<CngAlgorithm> hmac_sha256_;
  OwnedHandle<CngAlgorithm> aes_gcm_;
  OwnedHandle<CngAlgorithm> sha256_;
};

}  // namespace quiren::block
