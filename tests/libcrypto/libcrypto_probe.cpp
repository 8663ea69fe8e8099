// Starts libcrypto one of two ways, then checks what the program will ask
// of it against known answers: a fresh X25519 key pair that agrees with
// another key both ways, RFC 7748 section 6.1's agreement and RFC 5869's
// HKDF-SHA256 test case 1.
//
//   libcrypto_probe as-the-program   start as the tray program and the tool do
//   libcrypto_probe loading-config   read the configuration file first, as
//                                    libcrypto does at its first call unless
//                                    built not to (the control)
//
// Exit codes: 0 every answer right; 3 key generation failed; 1 another step
// failed or gave another answer; 2 usage.
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <openssl/params.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "block/strong/libcrypto_start.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kAllRight = 0;
constexpr int kStepFailed = 1;
constexpr int kUsage = 2;
constexpr int kKeyGenerationFailed = 3;

struct PkeyFree {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
};
struct PkeyCtxFree {
  void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
};
struct KdfFree {
  void operator()(EVP_KDF* p) const { EVP_KDF_free(p); }
};
struct KdfCtxFree {
  void operator()(EVP_KDF_CTX* p) const { EVP_KDF_CTX_free(p); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using PkeyCtx = std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree>;

Bytes from_hex(std::string_view hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

std::string to_hex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
  }
  return out;
}

// libcrypto's own account of why a step failed.
void print_errors() {
  unsigned long error = 0;
  while ((error = ERR_get_error()) != 0) {
    char text[256];
    ERR_error_string_n(error, text, sizeof text);
    std::printf("   libcrypto: %s\n", text);
  }
}

bool report(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok    " : "failed", what);
  if (!ok) print_errors();
  std::fflush(stdout);
  return ok;
}

bool same(const Bytes& actual, std::string_view expected_hex, const char* what) {
  const bool ok = to_hex(actual) == expected_hex;
  if (!ok) std::printf("   got      %s\n   expected %s\n", to_hex(actual).c_str(), std::string(expected_hex).c_str());
  return report(ok, what);
}

Pkey private_key(const Bytes& raw) {
  return Pkey(EVP_PKEY_new_raw_private_key_ex(nullptr, "X25519", nullptr, raw.data(), raw.size()));
}

Pkey public_key(const Bytes& raw) {
  return Pkey(EVP_PKEY_new_raw_public_key_ex(nullptr, "X25519", nullptr, raw.data(), raw.size()));
}

Bytes raw_public(EVP_PKEY* key) {
  Bytes out(32);
  std::size_t size = out.size();
  if (!key || EVP_PKEY_get_raw_public_key(key, out.data(), &size) != 1) return {};
  out.resize(size);
  return out;
}

// The X25519 shared secret of our private key and their public key; empty
// when libcrypto fails.
Bytes agree(EVP_PKEY* ours, EVP_PKEY* theirs) {
  if (!ours || !theirs) return {};
  PkeyCtx ctx(EVP_PKEY_CTX_new_from_pkey(nullptr, ours, nullptr));
  Bytes secret(32);
  std::size_t size = secret.size();
  if (!ctx || EVP_PKEY_derive_init(ctx.get()) != 1 || EVP_PKEY_derive_set_peer(ctx.get(), theirs) != 1 ||
      EVP_PKEY_derive(ctx.get(), secret.data(), &size) != 1) {
    return {};
  }
  secret.resize(size);
  return secret;
}

Bytes hkdf_sha256(const Bytes& key, const Bytes& salt, const Bytes& info, std::size_t length) {
  std::unique_ptr<EVP_KDF, KdfFree> kdf(EVP_KDF_fetch(nullptr, "HKDF", nullptr));
  if (!kdf) return {};
  std::unique_ptr<EVP_KDF_CTX, KdfCtxFree> ctx(EVP_KDF_CTX_new(kdf.get()));
  if (!ctx) return {};
  char digest[] = "SHA256";
  Bytes k = key, s = salt, i = info;  // the parameters take non-const pointers
  const std::array<OSSL_PARAM, 5> params{
      OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest, 0),
      OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_KEY, k.data(), k.size()),
      OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, s.data(), s.size()),
      OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_INFO, i.data(), i.size()), OSSL_PARAM_construct_end()};
  Bytes out(length);
  if (EVP_KDF_derive(ctx.get(), out.data(), out.size(), params.data()) != 1) return {};
  return out;
}

// RFC 7748, section 6.1.
constexpr std::string_view kAlicePrivate = "77076d0a7318a57d3c16c17251b26645df4c2f87ebc0992ab177fba51db92c2a";
constexpr std::string_view kAlicePublic = "8520f0098930a754748b7ddcb43ef75a0dbf3a0d26381af4eba4a98eaa9b4e6a";
constexpr std::string_view kBobPrivate = "5dab087e624a8a4b79e17f8b83800ee66f3bb1292618b6fd1c2f8b27ff88e0eb";
constexpr std::string_view kBobPublic = "de9edb7d7b7dc1b4d35b61c2ece435373f8343c85b78674dadfc7e146f882b4f";
constexpr std::string_view kSharedSecret = "4a5d9d5ba4ce2de1728e3bf480350f25e07e21c947d19e3376f09b3c1e161742";
// RFC 5869, test case 1.
constexpr std::string_view kHkdfKey = "0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b0b";
constexpr std::string_view kHkdfSalt = "000102030405060708090a0b0c";
constexpr std::string_view kHkdfInfo = "f0f1f2f3f4f5f6f7f8f9";
constexpr std::string_view kHkdfOutput =
    "3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf34007208d5b887185865";

int run_checks() {
  // A fresh key pair: made, and it agrees with Bob's key the same both ways.
  PkeyCtx generator(EVP_PKEY_CTX_new_from_name(nullptr, "X25519", nullptr));
  EVP_PKEY* made = nullptr;
  const bool generated =
      generator && EVP_PKEY_keygen_init(generator.get()) == 1 && EVP_PKEY_keygen(generator.get(), &made) == 1;
  Pkey fresh(made);
  if (!report(generated, "X25519 key generation")) return kKeyGenerationFailed;
  const Pkey bob = private_key(from_hex(kBobPrivate));
  const Bytes ours = agree(fresh.get(), public_key(from_hex(kBobPublic)).get());
  const Bytes theirs = agree(bob.get(), public_key(raw_public(fresh.get())).get());
  bool all_right = report(ours.size() == 32 && ours == theirs, "the fresh key agrees with another both ways");

  const Pkey alice = private_key(from_hex(kAlicePrivate));
  all_right &= same(raw_public(alice.get()), kAlicePublic, "RFC 7748 6.1: Alice's public key");
  all_right &= same(agree(alice.get(), public_key(from_hex(kBobPublic)).get()), kSharedSecret,
                    "RFC 7748 6.1: the shared secret, Alice's side");
  all_right &= same(agree(bob.get(), public_key(from_hex(kAlicePublic)).get()), kSharedSecret,
                    "RFC 7748 6.1: the shared secret, Bob's side");
  all_right &= same(hkdf_sha256(from_hex(kHkdfKey), from_hex(kHkdfSalt), from_hex(kHkdfInfo), 42), kHkdfOutput,
                    "RFC 5869 test case 1: HKDF-SHA256");
  return all_right ? kAllRight : kStepFailed;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc == 2 ? argv[1] : "";
  bool started = false;
  if (mode == "as-the-program") {
    started = quiren::block::start_libcrypto();
  } else if (mode == "loading-config") {
    started = OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CONFIG, nullptr) == 1;
  } else {
    std::fputs("usage: libcrypto_probe as-the-program | loading-config\n", stderr);
    return kUsage;
  }
  if (!report(started, "libcrypto started")) return kStepFailed;
  return run_checks();
}
