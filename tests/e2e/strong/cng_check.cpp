// The strong envelope on CNG: the same bytes as OpenSSL and Python for the
// known answers, a round trip at the writers' 600,000 iterations with fresh
// randomness, and no text for a wrong password or a changed byte.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

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

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int wmain() {
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

  return exit_code();
}
