// The few cryptographic primitives the blocks need, supplied by the
// platform: OpenSSL's libcrypto on Linux, CNG (bcrypt) on Windows. The
// strong envelope takes the random source, PBKDF2 and AES-256-GCM; the
// blocks of keys (docs/format.md) X25519, HKDF-SHA256 and SHA-256 besides.
// Nothing here is implemented by hand.
#pragma once

#include <array>
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

// X25519 (RFC 7748). A secret key is 32 bytes, held as a SecretKey like
// every key; a public key is 32 bytes and no secret.
inline constexpr std::size_t kX25519KeySize = 32;
static_assert(kX25519KeySize == kKeySize);
using X25519PublicKey = std::array<std::uint8_t, kX25519KeySize>;

struct X25519KeyPair {
  SecretKey secret;
  X25519PublicKey public_key{};
};

enum class AgreementStatus {
  agreed,
  // The peer's public key is of low order, so the result is all zeros: it
  // would be the same whatever the secret key, and is refused.
  all_zero,
  failed,  // the platform reported an error
};

// The shared secret is all zeros unless agreed.
struct X25519Agreement {
  AgreementStatus status = AgreementStatus::failed;
  SecretKey shared;
};

inline constexpr std::size_t kSha256Size = 32;
using Sha256Digest = std::array<std::uint8_t, kSha256Size>;

// HKDF-SHA256 gives at most 255 blocks of the hash's size.
inline constexpr std::size_t kMaxHkdfSha256Output = 255 * kSha256Size;

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

  // A fresh X25519 key pair from the system's random source. nullopt when
  // the platform fails.
  virtual std::optional<X25519KeyPair> generate_x25519_key_pair() = 0;

  // The public key of a secret key (one restored from a file, say). nullopt
  // when the platform fails.
  virtual std::optional<X25519PublicKey> x25519_public_key(const SecretKey& secret) = 0;

  // X25519 of a secret key and a peer's public key: the shared secret. An
  // all-zero result is never handed out (all_zero).
  virtual X25519Agreement x25519_agree(const SecretKey& secret,
                                       std::span<const std::uint8_t, kX25519KeySize> peer_public) = 0;

  // HKDF-SHA256 (RFC 5869): the input key material extracted under the salt
  // (an empty salt counts as 32 zero bytes), expanded with the info to fill
  // `out`, 1..kMaxHkdfSha256Output bytes. False when the platform fails or
  // `out` has another size; `out` then holds only zeros.
  [[nodiscard]] virtual bool hkdf_sha256(std::span<const std::uint8_t> input_key_material,
                                         std::span<const std::uint8_t> salt, std::span<const std::uint8_t> info,
                                         std::span<std::uint8_t> out) = 0;

  // SHA-256 of `data`. nullopt when the platform fails.
  virtual std::optional<Sha256Digest> sha256(std::span<const std::uint8_t> data) = 0;
};

// The platform's provider: CNG on Windows, OpenSSL elsewhere.
std::unique_ptr<CryptoProvider> platform_crypto();

}  // namespace quiren::block
