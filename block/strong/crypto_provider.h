// The few cryptographic primitives the strong envelope needs, supplied by
// the platform: OpenSSL's libcrypto on Linux, CNG (bcrypt) on Windows.
// Nothing here is implemented by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "block/strong/secret_key.h"

namespace quiren::block {

inline constexpr std::size_t kNonceSize = 12;  // AES-GCM nonce
inline constexpr std::size_t kTagSize = 16;    // AES-GCM tag

enum class AeadStatus {
  ok,
  tag_mismatch,  // wrong key, or the ciphertext, tag or associated data changed
  failed,        // the platform reported an error
};

// Calls may come from more than one thread at once: a derivation the user
// cancelled goes on in the background while the next run derives another
// key. Both platforms' providers keep no state between calls beyond handles
// their libraries allow to be shared.
class CryptoProvider {
 public:
  virtual ~CryptoProvider() = default;

  // Fills `out` from the system's cryptographic random source. False when
  // that source fails; `out` must then not be used.
  [[nodiscard]] virtual bool random_bytes(std::span<std::uint8_t> out) = 0;

  // PBKDF2-HMAC-SHA256 of the password over the salt, 32 bytes. nullopt when
  // the platform fails (or refuses the parameters, e.g. 0 iterations).
  virtual std::optional<SecretKey> derive_key(std::string_view password_utf8, std::span<const std::uint8_t> salt,
                                              std::uint32_t iterations) = 0;

  // AES-256-GCM. Writes the ciphertext and then the tag to `out`, which must
  // be exactly plaintext.size() + kTagSize bytes. False when the platform
  // fails or `out` has another size.
  [[nodiscard]] virtual bool seal(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                                  std::span<const std::uint8_t> aad, std::span<const std::uint8_t> plaintext,
                                  std::span<std::uint8_t> out) = 0;

  // AES-256-GCM the other way: `ciphertext_and_tag` is the ciphertext
  // followed by the tag; `plaintext_out` must be exactly kTagSize bytes
  // shorter. Unless the result is ok, `plaintext_out` holds only zeros.
  [[nodiscard]] virtual AeadStatus open(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                                        std::span<const std::uint8_t> aad,
                                        std::span<const std::uint8_t> ciphertext_and_tag,
                                        std::span<std::uint8_t> plaintext_out) = 0;
};

// The platform's provider: CNG on Windows, OpenSSL elsewhere.
std::unique_ptr<CryptoProvider> platform_crypto();

}  // namespace quiren::block
