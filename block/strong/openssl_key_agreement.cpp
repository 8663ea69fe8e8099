#include "block/strong/openssl_key_agreement.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <openssl/params.h>
#include <openssl/proverr.h>

#include <array>
#include <memory>

namespace quiren::block::openssl {

namespace {

// Freeing a key cleanses its secret half.
struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;

struct KeyContextFree {
  void operator()(EVP_PKEY_CTX* ctx) const { EVP_PKEY_CTX_free(ctx); }
};
using KeyContext = std::unique_ptr<EVP_PKEY_CTX, KeyContextFree>;

struct KdfFree {
  void operator()(EVP_KDF* kdf) const { EVP_KDF_free(kdf); }
};
struct KdfContextFree {
  void operator()(EVP_KDF_CTX* ctx) const { EVP_KDF_CTX_free(ctx); }  // also cleanses the key material it copied
};

Key secret_key_of(const SecretKey& secret) {
  return Key(EVP_PKEY_new_raw_private_key(EVP_PKEY_X25519, nullptr, secret.bytes().data(), kX25519KeySize));
}

bool public_half(EVP_PKEY* key, X25519PublicKey& out) {
  std::size_t size = out.size();
  return EVP_PKEY_get_raw_public_key(key, out.data(), &size) == 1 && size == out.size();
}

bool all_zero(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kZeros[kX25519KeySize] = {};
  return bytes.size() == kX25519KeySize && CRYPTO_memcmp(bytes.data(), kZeros, kX25519KeySize) == 0;
}

// libcrypto fails a derivation whose result is all zeros with this reason
// (and no other failure of a derivation set up without error gives it).
bool failed_as_all_zero(unsigned long error) {
  return ERR_GET_LIB(error) == ERR_LIB_PROV && ERR_GET_REASON(error) == PROV_R_FAILED_DURING_DERIVATION;
}

// OSSL_PARAM holds non-const pointers even for what it only reads.
OSSL_PARAM octets(const char* name, std::span<const std::uint8_t> bytes) {
  return OSSL_PARAM_construct_octet_string(name, const_cast<std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

std::optional<X25519KeyPair> generate_x25519_key_pair() {
  const KeyContext ctx(EVP_PKEY_CTX_new_id(EVP_PKEY_X25519, nullptr));
  EVP_PKEY* made = nullptr;
  if (!ctx || EVP_PKEY_keygen_init(ctx.get()) != 1 || EVP_PKEY_keygen(ctx.get(), &made) != 1) return std::nullopt;
  const Key key(made);
  X25519KeyPair pair;
  std::size_t size = kX25519KeySize;
  if (EVP_PKEY_get_raw_private_key(key.get(), pair.secret.writable_bytes().data(), &size) != 1 ||
      size != kX25519KeySize || !public_half(key.get(), pair.public_key)) {
    return std::nullopt;  // the pair's SecretKey wipes what was written
  }
  return pair;
}

std::optional<X25519PublicKey> x25519_public_key(const SecretKey& secret) {
  const Key key = secret_key_of(secret);
  X25519PublicKey out{};
  if (!key || !public_half(key.get(), out)) return std::nullopt;
  return out;
}

X25519Agreement x25519_agree(const SecretKey& secret, std::span<const std::uint8_t, kX25519KeySize> peer_public) {
  X25519Agreement result;
  const Key ours = secret_key_of(secret);
  const Key peer(EVP_PKEY_new_raw_public_key(EVP_PKEY_X25519, nullptr, peer_public.data(), peer_public.size()));
  if (!ours || !peer) return result;
  const KeyContext ctx(EVP_PKEY_CTX_new(ours.get(), nullptr));
  if (!ctx || EVP_PKEY_derive_init(ctx.get()) != 1 || EVP_PKEY_derive_set_peer(ctx.get(), peer.get()) != 1) {
    return result;
  }
  ERR_clear_error();
  std::size_t size = kX25519KeySize;
  const std::span<std::uint8_t, kX25519KeySize> shared = result.shared.writable_bytes();
  if (EVP_PKEY_derive(ctx.get(), shared.data(), &size) != 1) {
    result.status = failed_as_all_zero(ERR_peek_last_error()) ? AgreementStatus::all_zero : AgreementStatus::failed;
    ERR_clear_error();
  } else if (size != kX25519KeySize) {
    result.status = AgreementStatus::failed;
  } else {
    // Should a libcrypto ever hand the all-zero result out, it is refused here.
    result.status = all_zero(shared) ? AgreementStatus::all_zero : AgreementStatus::agreed;
  }
  if (result.status != AgreementStatus::agreed) OPENSSL_cleanse(shared.data(), shared.size());
  return result;
}

bool hkdf_sha256(std::span<const std::uint8_t> input_key_material, std::span<const std::uint8_t> salt,
                 std::span<const std::uint8_t> info, std::span<std::uint8_t> out) {
  bool derived = false;
  if (!out.empty() && out.size() <= kMaxHkdfSha256Output) {
    const std::unique_ptr<EVP_KDF, KdfFree> kdf(EVP_KDF_fetch(nullptr, OSSL_KDF_NAME_HKDF, nullptr));
    const std::unique_ptr<EVP_KDF_CTX, KdfContextFree> ctx(kdf ? EVP_KDF_CTX_new(kdf.get()) : nullptr);
    char digest[] = OSSL_DIGEST_NAME_SHA2_256;
    // An empty salt or info is left out rather than given empty: libcrypto
    // 3.0 fails on an empty salt, and HKDF takes a missing one as empty.
    std::array<OSSL_PARAM, 5> params{};
    std::size_t n = 0;
    params[n++] = OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest, 0);
    params[n++] = octets(OSSL_KDF_PARAM_KEY, input_key_material);
    if (!salt.empty()) params[n++] = octets(OSSL_KDF_PARAM_SALT, salt);
    if (!info.empty()) params[n++] = octets(OSSL_KDF_PARAM_INFO, info);
    params[n] = OSSL_PARAM_construct_end();
    derived = ctx && EVP_KDF_derive(ctx.get(), out.data(), out.size(), params.data()) == 1;
  }
  if (!derived && !out.empty()) OPENSSL_cleanse(out.data(), out.size());
  return derived;
}

std::optional<Sha256Digest> sha256(std::span<const std::uint8_t> data) {
  Sha256Digest digest{};
  unsigned int size = 0;
  if (EVP_Digest(data.data(), data.size(), digest.data(), &size, EVP_sha256(), nullptr) != 1 ||
      size != digest.size()) {
    return std::nullopt;
  }
  return digest;
}

}  // namespace quiren::block::openssl
