// One changed byte anywhere in an envelope never yields text, and says
// which kind of fault it is.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "block/strong/strong_envelope.h"
#include "tests/block/strong/envelope_vectors.h"
#include "tests/block/strong/probe_provider.h"

namespace quiren::block::test {
namespace {

Outcome open_changed(CryptoProvider& crypto, std::size_t offset, std::uint8_t value) {
  std::vector<std::uint8_t> e = from_hex(kKnownTextEnvelope);
  e[offset] = value;
  const OpenResult opened = open_envelope(crypto, e, kKnownPassword);
  EXPECT_TRUE(opened.text.empty()) << "text from an envelope changed at byte " << offset;
  return opened.outcome;
}

// The known 64-byte envelope: 9 bytes of text at 36..44, the tag at 45..60,
// fill at 61..63.
TEST(StrongTamper, HeaderFields) {
  const auto crypto = platform_crypto();
  const struct {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
    Outcome expected;
  } cases[] = {
      {"version 0", 0, 0x00, Outcome::later_format},
      {"version 2", 0, 0x02, Outcome::later_format},
      {"key derivation 2", 1, 0x02, Outcome::refused_settings},
      {"key derivation 0x81", 1, 0x81, Outcome::refused_settings},
      {"cipher 0", 2, 0x00, Outcome::refused_settings},
      {"cipher 0xFE", 2, 0xFE, Outcome::refused_settings},
      {"fill 4", 3, 0x04, Outcome::damaged},
      {"fill 0xFC", 3, 0xFC, Outcome::damaged},
      // A smaller fill count still fits the length; the bytes it no longer
      // calls fill become part of the tag, which then fails (the fill count
      // is associated data either way).
      {"fill 2", 3, 0x02, Outcome::wrong_password},
      {"fill 1", 3, 0x01, Outcome::wrong_password},
      {"fill 0", 3, 0x00, Outcome::wrong_password},
      {"iterations 16,877,216", 4, 0x01, Outcome::refused_settings},
      {"iterations 34,464", 5, 0x00, Outcome::refused_settings},
      {"iterations 99,488", 6, 0x84, Outcome::refused_settings},
      {"iterations 100,001", 7, 0xA1, Outcome::wrong_password},
      {"iterations 231,072", 5, 0x03, Outcome::wrong_password},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(open_changed(*crypto, c.offset, c.value), c.expected);
  }
}

// Salt, nonce, ciphertext and tag: any change fails the tag. Fill bytes:
// damaged, before any key is derived.
TEST(StrongTamper, EveryByteAfterTheHeaderFields) {
  const std::uint8_t kFlips[] = {0x01, 0x80};
  ProbeProvider crypto;
  crypto.remember_keys = true;
  const std::size_t size = from_hex(kKnownTextEnvelope).size();
  for (std::size_t offset = kSaltOffset; offset < size; ++offset) {
    const std::uint8_t original = from_hex(kKnownTextEnvelope)[offset];
    for (const std::uint8_t flip : kFlips) {
      SCOPED_TRACE(::testing::Message() << "byte " << offset << " ^ " << int{flip});
      const Outcome expected = offset >= size - 3 ? Outcome::damaged : Outcome::wrong_password;
      EXPECT_EQ(open_changed(crypto, offset, static_cast<std::uint8_t>(original ^ flip)), expected);
    }
  }
}

}  // namespace
}  // namespace quiren::block::test
