#include "block/strong/win32/cng_provider.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <algorithm>
#include <climits>

#include "block/strong/openssl_key_agreement.h"

namespace quiren::block {

namespace {

// From <ntstatus.h>, which clashes with <windows.h>.
constexpr NTSTATUS kStatusSuccess = 0;
constexpr NTSTATUS kStatusAuthTagMismatch = -0x3FFF5FFE;  // STATUS_AUTH_TAG_MISMATCH
static_assert(static_cast<ULONG>(kStatusAuthTagMismatch) == 0xC000A002UL);

bool fits_ulong(std::size_t n) { return n <= ULONG_MAX; }

// CNG takes byte pointers as non-const PUCHAR even for what it only reads.
PUCHAR in(const void* p) { return const_cast<PUCHAR>(static_cast<const UCHAR*>(p)); }

// A key object, destroyed (and so erased by CNG) when it goes.
struct CngKey {
  using Handle = BCRYPT_KEY_HANDLE;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return BCryptDestroyKey(handle) == kStatusSuccess; }
};

// An AES-256 key object for one call; holds nothing when CNG refused it.
OwnedHandle<CngKey> aes_key(BCRYPT_ALG_HANDLE aes, const SecretKey& key) {
  BCRYPT_KEY_HANDLE handle = nullptr;
  if (BCryptGenerateSymmetricKey(aes, &handle, nullptr, 0, in(key.bytes().data()), static_cast<ULONG>(kKeySize),
                                 0) != kStatusSuccess) {
    return {};
  }
  return OwnedHandle<CngKey>(handle);
}

// A hash object for one digest.
struct CngHash {
  using Handle = BCRYPT_HASH_HANDLE;
  static Handle invalid() { return nullptr; }
  static bool close(Handle handle) { return BCryptDestroyHash(handle) == kStatusSuccess; }
};

// A provider opened with `flags`; holds nothing when CNG has none.
OwnedHandle<CngAlgorithm> open_algorithm(LPCWSTR name, ULONG flags) {
  BCRYPT_ALG_HANDLE handle = nullptr;
  if (BCryptOpenAlgorithmProvider(&handle, name, nullptr, flags) != kStatusSuccess) return {};
  return OwnedHandle<CngAlgorithm>(handle);
}

BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO gcm_info(std::span<const std::uint8_t, kNonceSize> nonce,
                                               std::span<const std::uint8_t> aad, std::uint8_t* tag) {
  BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info{};
  info.cbSize = sizeof(info);
  info.dwInfoVersion = BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO_VERSION;
  info.pbNonce = in(nonce.data());
  info.cbNonce = static_cast<ULONG>(nonce.size());
  info.pbAuthData = aad.empty() ? nullptr : in(aad.data());
  info.cbAuthData = static_cast<ULONG>(aad.size());
  info.pbTag = tag;
  info.cbTag = static_cast<ULONG>(kTagSize);
  return info;
}

}  // namespace

bool CngAlgorithm::close(Handle handle) { return BCryptCloseAlgorithmProvider(handle, 0) == kStatusSuccess; }

CngProvider::CngProvider()
    : hmac_sha256_(open_algorithm(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG)),
      aes_gcm_(open_algorithm(BCRYPT_AES_ALGORITHM, 0)),
      sha256_(open_algorithm(BCRYPT_SHA256_ALGORITHM, 0)) {
  if (aes_gcm_ && BCryptSetProperty(aes_gcm_.get(), BCRYPT_CHAINING_MODE, in(BCRYPT_CHAIN_MODE_GCM),
                                    static_cast<ULONG>(sizeof(BCRYPT_CHAIN_MODE_GCM)), 0) != kStatusSuccess) {
    aes_gcm_.reset();
  }
}

bool CngProvider::random_bytes(std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(ULONG_MAX, out.size() - done));
    if (BCryptGenRandom(nullptr, out.data() + done, piece, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != kStatusSuccess) {
      return false;
    }
    done += piece;
  }
  return true;
}

std::optional<SecretKey> CngProvider::derive_key(std::string_view password_utf8, std::span<const std::uint8_t> salt,
                                                 std::uint32_t iterations) {
  if (!hmac_sha256_ || iterations == 0 || !fits_ulong(password_utf8.size()) || !fits_ulong(salt.size())) {
    return std::nullopt;
  }
  // An empty password still needs a valid pointer.
  static const char kNothing = 0;
  SecretKey key;
  const NTSTATUS status = BCryptDeriveKeyPBKDF2(
      hmac_sha256_.get(), in(password_utf8.empty() ? &kNothing : password_utf8.data()),
      static_cast<ULONG>(password_utf8.size()), in(salt.data()), static_cast<ULONG>(salt.size()), iterations,
      key.writable_bytes().data(), static_cast<ULONG>(kKeySize), 0);
  if (status != kStatusSuccess) return std::nullopt;
  return key;
}

bool CngProvider::seal(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                       std::span<const std::uint8_t> aad, std::span<const std::uint8_t> plaintext,
                       std::span<std::uint8_t> out) {
  if (!aes_gcm_ || out.size() != plaintext.size() + kTagSize || !fits_ulong(plaintext.size()) ||
      !fits_ulong(aad.size())) {
    return false;
  }
  const OwnedHandle<CngKey> handle = aes_key(aes_gcm_.get(), key);
  if (!handle.get()) return false;
  BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info = gcm_info(nonce, aad, out.data() + plaintext.size());
  ULONG written = 0;
  const NTSTATUS status =
      BCryptEncrypt(handle.get(), in(plaintext.data()), static_cast<ULONG>(plaintext.size()), &info, nullptr, 0,
                    out.data(), static_cast<ULONG>(plaintext.size()), &written, 0);
  if (status != kStatusSuccess || written != plaintext.size()) {
    SecureZeroMemory(out.data(), out.size());
    return false;
  }
  return true;
}

AeadStatus CngProvider::open(const SecretKey& key, std::span<const std::uint8_t, kNonceSize> nonce,
                             std::span<const std::uint8_t> aad, std::span<const std::uint8_t> ciphertext_and_tag,
                             std::span<std::uint8_t> plaintext_out) {
  AeadStatus result = AeadStatus::failed;
  if (aes_gcm_ && ciphertext_and_tag.size() >= kTagSize &&
      plaintext_out.size() == ciphertext_and_tag.size() - kTagSize && fits_ulong(plaintext_out.size()) &&
      fits_ulong(aad.size())) {
    const OwnedHandle<CngKey> handle = aes_key(aes_gcm_.get(), key);
    if (handle.get()) {
      const std::size_t n = plaintext_out.size();
      BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info = gcm_info(nonce, aad, in(ciphertext_and_tag.data() + n));
      ULONG written = 0;
      // A null output asks CNG for the size only, and nothing would be
      // verified: an empty text still gets a real buffer.
      UCHAR no_text = 0;
      PUCHAR out = n == 0 ? &no_text : plaintext_out.data();
      const NTSTATUS status = BCryptDecrypt(handle.get(), in(ciphertext_and_tag.data()), static_cast<ULONG>(n),
                                            &info, nullptr, 0, out, static_cast<ULONG>(n), &written, 0);
      if (status == kStatusSuccess && written == n) {
        result = AeadStatus::ok;
      } else if (status == kStatusAuthTagMismatch) {
        result = AeadStatus::tag_mismatch;
      }
    }
  }
  if (result != AeadStatus::ok) SecureZeroMemory(plaintext_out.data(), plaintext_out.size());
  return result;
}

// Not from CNG (see the header): X25519 and HKDF come from libcrypto. A new
// secret key is drawn from the system's random source like every other
// secret here, and libcrypto only computes its public half.
std::optional<X25519KeyPair> CngProvider::generate_x25519_key_pair() {
  X25519KeyPair pair;
  if (!random_bytes(pair.secret.writable_bytes())) return std::nullopt;
  std::optional<X25519PublicKey> public_key = openssl::x25519_public_key(pair.secret);
  if (!public_key) return std::nullopt;
  pair.public_key = *public_key;
  return pair;
}

std::optional<X25519PublicKey> CngProvider::x25519_public_key(const SecretKey& secret) {
  return openssl::x25519_public_key(secret);
}

X25519Agreement CngProvider::x25519_agree(const SecretKey& secret,
                                          std::span<const std::uint8_t, kX25519KeySize> peer_public) {
  return openssl::x25519_agree(secret, peer_public);
}

bool CngProvider::hkdf_sha256(std::span<const std::uint8_t> input_key_material, std::span<const std::uint8_t> salt,
                              std::span<const std::uint8_t> info, std::span<std::uint8_t> out) {
  return openssl::hkdf_sha256(input_key_material, salt, info, out);
}

std::optional<Sha256Digest> CngProvider::sha256(std::span<const std::uint8_t> data) {
  if (!sha256_) return std::nullopt;
  BCRYPT_HASH_HANDLE handle = nullptr;
  if (BCryptCreateHash(sha256_.get(), &handle, nullptr, 0, nullptr, 0, 0) != kStatusSuccess) return std::nullopt;
  const OwnedHandle<CngHash> hash(handle);
  bool hashed = true;
  for (std::size_t done = 0; hashed && done < data.size();) {
    const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(ULONG_MAX, data.size() - done));
    hashed = BCryptHashData(hash.get(), in(data.data() + done), piece, 0) == kStatusSuccess;
    done += piece;
  }
  Sha256Digest digest{};
  hashed = hashed && BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0) == kStatusSuccess;
  if (!hashed) return std::nullopt;
  return digest;
}

std::unique_ptr<CryptoProvider> platform_crypto() { return std::make_unique<CngProvider>(); }

}  // namespace quiren::block
