// The blocks' primitives from CNG (bcrypt.dll). X25519 and HKDF are not
// taken from CNG: Wine implements neither, so no test here could run them.
// They are to come from libcrypto (openssl_key_agreement.h) once the
// Windows build links it; until then they report a platform failure.
#pragma once

#include "block/strong/crypto_provider.h"

namespace quiren::block {

class CngProvider final : public CryptoProvider {
 public:
  // Opens the HMAC-SHA256, AES-GCM and SHA-256 algorithm providers once;
  // when one fails, the calls that need it fail.
  CngProvider();
  ~CngProvider() override;
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
  // BCRYPT_ALG_HANDLE, kept out of this header so it needs no <windows.h>.
  void* hmac_sha256_ = nullptr;
  void* aes_gcm_ = nullptr;
  void* sha256_ = nullptr;
};

}  // namespace quiren::block
