#include "block/strong/openssl_provider.h"

#include "block/strong/openssl_key_agreement.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <array>
#include <climits>
#include <memory>

namespace quiren::block {

namespace {

// OpenSSL counts lengths in int; longer inputs go through in pieces.
constexpr std::size_t kMaxPiece = INT_MAX / 2;

struct CipherContextFree {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }  // also cleanses the key schedule
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

bool fits_int(std::size_t n) { return n <= static_cast<std::size_t>(INT_MAX); }

// Feeds `in` through EVP_*Update in pieces; `out` is null for associated
// data, else as long as `in`.
template <typename Update>
bool update(Update update_fn, EVP_CIPHER_CTX* ctx, std::uint8_t* out, std::span<const std::uint8_t> in) {
  std::size_t done = 0;
  while (done < in.size()) {
    const std::size_t piece = std::min(kMaxPiece, in.size() - done);
    int written = 0;
    if (update_fn(ctx, out ? out + done : nullptr, &written, in.data() + done, static_cast<int>(piece)) != 1) {
      return false;
    }
    // GCM is a stream mode: every byte comes straight back out.
    if (out && static_cast<std::size_t>(written) != piece) return false;
    done += piece;
  }
  return true;
}

CipherContext start(bool encrypt, const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce) {
  CipherContext ctx(EVP_CIPHER_CTX_new());
  if (!ctx) return nullptr;
  const auto init = encrypt ? EVP_EncryptInit_ex : EVP_DecryptInit_ex;
  // 12 bytes is GCM's default nonce length, so no EVP_CTRL_GCM_SET_IVLEN.
  if (init(ctx.get(), EVP_aes_256_gcm(), nullptr, key.bytes().data(), nonce.data()) != 1) return nullptr;
  return ctx;
}

}  // namespace

bool OpenSslProvider::random_bytes(std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const std::size_t piece = std::min(kMaxPiece, out.size() - done);
    if (RAND_bytes(out.data() + done, static_cast<int>(piece)) != 1) return false;
    done += piece;
  }
  return true;
}

std::optional<SecretKey> OpenSslProvider::derive_key(std::string_view password_utf8,
                                                     std::span<const std::uint8_t> salt, std::uint32_t iterations) {
  if (iterations == 0 || iterations > static_cast<std::uint32_t>(INT_MAX) || !fits_int(password_utf8.size()) ||
      !fits_int(salt.size())) {
    return std::nullopt;
  }
  SecretKey key;
  if (PKCS5_PBKDF2_HMAC(password_utf8.data(), static_cast<int>(password_utf8.size()), salt.data(),
                        static_cast<int>(salt.size()), static_cast<int>(iterations), EVP_sha256(),
                        static_cast<int>(kKeySize), key.writable_bytes().data()) != 1) {
    return std::nullopt;
  }
  return key;
}

bool OpenSslProvider::seal(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                           std::span<const std::uint8_t> aad, std::span<const std::uint8_t> plaintext,
                           std::span<std::uint8_t> out) {
  if (out.size() != plaintext.size() + kTagSize) return false;
  CipherContext ctx = start(true, key, nonce);
  int final_bytes = 0;
  if (!ctx || !update(EVP_EncryptUpdate, ctx.get(), nullptr, aad) ||
      !update(EVP_EncryptUpdate, ctx.get(), out.data(), plaintext) ||
      EVP_EncryptFinal_ex(ctx.get(), out.data() + plaintext.size(), &final_bytes) != 1 || final_bytes != 0 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(kTagSize),
                          out.data() + plaintext.size()) != 1) {
    OPENSSL_cleanse(out.data(), out.size());
    return false;
  }
  return true;
}

AeadStatus OpenSslProvider::open(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                                 std::span<const std::uint8_t> aad, std::span<const std::uint8_t> ciphertext_and_tag,
                                 std::span<std::uint8_t> plaintext_out) {
  if (ciphertext_and_tag.size() < kTagSize || plaintext_out.size() != ciphertext_and_tag.size() - kTagSize) {
    OPENSSL_cleanse(plaintext_out.data(), plaintext_out.size());
    return AeadStatus::failed;
  }
  const auto ciphertext = ciphertext_and_tag.first(plaintext_out.size());
  // The tag control takes a writable buffer.
  std::array<std::uint8_t, kTagSize> tag{};
  std::copy(ciphertext_and_tag.end() - kTagSize, ciphertext_and_tag.end(), tag.begin());

  AeadStatus status = AeadStatus::failed;
  CipherContext ctx = start(false, key, nonce);
  int final_bytes = 0;
  if (ctx && update(EVP_DecryptUpdate, ctx.get(), nullptr, aad) &&
      update(EVP_DecryptUpdate, ctx.get(), plaintext_out.data(), ciphertext) &&
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(kTagSize), tag.data()) == 1) {
    // Final is where GCM compares the tag; its only failure from here on.
    status = EVP_DecryptFinal_ex(ctx.get(), plaintext_out.data() + plaintext_out.size(), &final_bytes) == 1
                 ? AeadStatus::ok
                 : AeadStatus::tag_mismatch;
  }
  // Update wrote plaintext before the tag was checked.
  if (status != AeadStatus::ok) OPENSSL_cleanse(plaintext_out.data(), plaintext_out.size());
  return status;
}

std::optional<X25519KeyPair> OpenSslProvider::generate_x25519_key_pair() { return openssl::generate_x25519_key_pair(); }

std::optional<X25519PublicKey> OpenSslProvider::x25519_public_key(const SecretKey& secret) {
  return openssl::x25519_public_key(secret);
}

X25519Agreement OpenSslProvider::x25519_agree(const SecretKey& secret,
                                              std::span<const std::uint8_t, kX25519KeySize> peer_public) {
  return openssl::x25519_agree(secret, peer_public);
}

bool OpenSslProvider::hkdf_sha256(std::span<const std::uint8_t> input_key_material,
                                  std::span<const std::uint8_t> salt, std::span<const std::uint8_t> info,
                                  std::span<std::uint8_t> out) {
  return openssl::hkdf_sha256(input_key_material, salt, info, out);
}

std::optional<Sha256Digest> OpenSslProvider::sha256(std::span<const std::uint8_t> data) { return openssl::sha256(data); }

std::unique_ptr<CryptoProvider> platform_crypto() { return std::make_unique<OpenSslProvider>(); }

}  // namespace quiren::block
