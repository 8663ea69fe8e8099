// The strong envelope on CNG: the same bytes as OpenSSL and Python for the
// known answers, a round trip at the writers' 600,000 iterations with fresh
// randomness, and no text for a wrong password or a changed byte; CNG's
// SHA-256; and the Windows provider's X25519 and HKDF, which come from the
// linked libcrypto.
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "block/strong/libcrypto_start.h"
#include "block/strong/strong_envelope.h"
#include "block/strong/win32/cng_provider.h"
#include "tests/e2e/driver/driver.h"
#include "tests/block/strong/envelope_vectors.h"

namespace {

using namespace quiren::block;
using namespace quiren::e2e;

long long as_number(Outcome s) { return static_cast<long long>(s); }
long long as_number(SealStatus s) { return static_cast<long long>(s); }

// Opening the known envelope changed at one byte: never text, and the tag
// says so.
void check_changed_byte(CngProvider& cng, std::size_t offset, std::string_view what) {
  std::vector<std::uint8_t> e = test::from_hex(test::kKnownTextEnvelope);
  e[offset] ^= 0x01;
  const OpenResult opened = open_envelope(cng, e, test::kKnownPassword);
  check_equal(as_number(opened.outcome), as_number(Outcome::wrong_password), what);
  check(opened.text.empty(), "no text from a changed envelope");
}

std::string japanese_text(std::size_t characters) {
  const std::u32string pool = U"あいうえおかきくけこ日本語会議明日資料送付確認、。";
  std::string text;
  for (std::size_t i = 0; i < characters; ++i) {
    const char32_t c = pool[(i * 7 + i / 13) % pool.size()];  // every one of these takes 3 bytes
    text.push_back(static_cast<char>(0xE0 | (c >> 12)));
    text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return text;
}

SecretKey secret_from_hex(std::string_view hex) {
  SecretKey key;
  const std::vector<std::uint8_t> bytes = test::from_hex(hex);
  std::copy(bytes.begin(), bytes.end(), key.writable_bytes().begin());
  return key;
}

std::wstring hex_of(std::span<const std::uint8_t> bytes) { return wide(test::to_hex({bytes.begin(), bytes.end()})); }

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int wmain() {
  if (!check(start_libcrypto(), "libcrypto started")) return exit_code();
  CngProvider cng;

  step("known answers, sealed with CNG");
  for (const test::KnownAnswer& v : test::kKnownAnswers) {
    const SealResult sealed = seal_envelope_with(cng, v.text, v.password, test::known_answer_parameters());
    check_equal(as_number(sealed.status), as_number(SealStatus::sealed), "known answer sealed");
    check_equal(wide(test::to_hex(sealed.envelope)), wide(v.envelope_hex), "known answer bytes");
  }

  step("known answers, opened with CNG");
  for (const test::KnownAnswer& v : test::kKnownAnswers) {
    const OpenResult opened = open_envelope(cng, test::from_hex(v.envelope_hex), v.password);
    check_equal(as_number(opened.outcome), as_number(Outcome::opened), "known answer opened");
    check_equal(wide(opened.text.view()), wide(v.text), "known answer text");
  }

  step("round trip of 20,480 characters at 600,000 iterations");
  const std::string text = japanese_text(20480);
  auto start = std::chrono::steady_clock::now();
  const SealResult first = seal_envelope(cng, text, "会議のパスワード");
  std::printf("   sealed in %.2f s\n", seconds_since(start));
  if (check_equal(as_number(first.status), as_number(SealStatus::sealed), "sealed")) {
    check(first.envelope[4] == 0x00 && first.envelope[5] == 0x09 && first.envelope[6] == 0x27 &&
              first.envelope[7] == 0xC0,
          "600,000 iterations in the header");
    start = std::chrono::steady_clock::now();
    const OpenResult opened = open_envelope(cng, first.envelope, "会議のパスワード");
    std::printf("   opened in %.2f s\n", seconds_since(start));
    check_equal(as_number(opened.outcome), as_number(Outcome::opened), "opened");
    check(opened.text == text, "the same text back");

    const SealResult second = seal_envelope(cng, text, "会議のパスワード");
    if (check_equal(as_number(second.status), as_number(SealStatus::sealed), "sealed again")) {
      const auto salt_of = [](const SealResult& s) { return std::span(s.envelope).subspan(kSaltOffset, kSaltSize); };
      const auto nonce_of = [](const SealResult& s) { return std::span(s.envelope).subspan(kNonceOffset, kNonceSize); };
      const auto nonzero = [](std::span<const std::uint8_t> b) {
        return std::any_of(b.begin(), b.end(), [](std::uint8_t x) { return x != 0; });
      };
      check(!std::ranges::equal(salt_of(first), salt_of(second)), "a fresh salt each time");
      check(!std::ranges::equal(nonce_of(first), nonce_of(second)), "a fresh nonce each time");
      check(nonzero(salt_of(first)) && nonzero(nonce_of(first)), "salt and nonce are not zero");
    }
  }

  step("wrong password");
  {
    const OpenResult opened = open_envelope(cng, test::from_hex(test::kKnownTextEnvelope), "Pass");
    check_equal(as_number(opened.outcome), as_number(Outcome::wrong_password), "wrong password");
    check(opened.text.empty(), "no text for a wrong password");
  }

  step("changed bytes");
  check_changed_byte(cng, kSaltOffset + 3, "salt changed");
  check_changed_byte(cng, kNonceOffset, "nonce changed");
  check_changed_byte(cng, kHeaderSize + 2, "ciphertext changed");
  check_changed_byte(cng, 60, "tag changed");

  step("SHA-256 (FIPS 180-2 known answers)");
  {
    const std::string_view abc = "abc";
    const auto digest = cng.sha256({reinterpret_cast<const std::uint8_t*>(abc.data()), abc.size()});
    const auto empty = cng.sha256({});
    if (check(digest && empty, "hashed")) {
      check_equal(wide(test::to_hex({digest->begin(), digest->end()})),
                  wide("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"), "SHA-256 of \"abc\"");
      check_equal(wide(test::to_hex({empty->begin(), empty->end()})),
                  wide("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"), "SHA-256 of nothing");
    }
  }

  step("X25519 (RFC 7748, section 6.1) and HKDF-SHA256 (RFC 5869, case 1) through the Windows provider");
  {
    const SecretKey alice = secret_from_hex("77076d0a7318a57d3c16c17251b26645df4c2f87ebc0992ab177fba51db92c2a");
    const auto alice_public = cng.x25519_public_key(alice);
    if (check(alice_public.has_value(), "Alice's public key")) {
      check_equal(hex_of(*alice_public), wide("8520f0098930a754748b7ddcb43ef75a0dbf3a0d26381af4eba4a98eaa9b4e6a"),
                  "Alice's public key bytes");
    }
    const std::vector<std::uint8_t> bob_public =
        test::from_hex("de9edb7d7b7dc1b4d35b61c2ece435373f8343c85b78674dadfc7e146f882b4f");
    const X25519Agreement agreed = cng.x25519_agree(alice, std::span<const std::uint8_t, kX25519KeySize>(bob_public));
    if (check(agreed.status == AgreementStatus::agreed, "agreed with Bob")) {
      check_equal(hex_of(agreed.shared.bytes()),
                  wide("4a5d9d5ba4ce2de1728e3bf480350f25e07e21c947d19e3376f09b3c1e161742"), "the shared secret");
    }
    const std::array<std::uint8_t, kX25519KeySize> zero_point{};
    check(cng.x25519_agree(alice, zero_point).status == AgreementStatus::all_zero, "a low-order key refused");

    const std::vector<std::uint8_t> ikm(22, 0x0b);
    const std::vector<std::uint8_t> salt = test::from_hex("000102030405060708090a0b0c");
    const std::vector<std::uint8_t> info = test::from_hex("f0f1f2f3f4f5f6f7f8f9");
    std::vector<std::uint8_t> okm(42);
    if (check(cng.hkdf_sha256(ikm, salt, info, okm), "HKDF")) {
      check_equal(hex_of(okm),
                  wide("3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf34007208d5b887185865"),
                  "HKDF output");
    }

    // A fresh pair: its secret from CNG's random source, and two fresh pairs
    // agree on one secret both ways.
    auto mine = cng.generate_x25519_key_pair();
    auto theirs = cng.generate_x25519_key_pair();
    if (check(mine && theirs, "fresh key pairs")) {
      check(mine->public_key != theirs->public_key, "two fresh pairs differ");
      const X25519Agreement one = cng.x25519_agree(mine->secret, theirs->public_key);
      const X25519Agreement other = cng.x25519_agree(theirs->secret, mine->public_key);
      check(one.status == AgreementStatus::agreed && other.status == AgreementStatus::agreed &&
                std::ranges::equal(one.shared.bytes(), other.shared.bytes()),
            "fresh pairs agree both ways");
    }
  }

  return exit_code();
}
