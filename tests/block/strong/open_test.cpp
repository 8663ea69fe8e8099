// Reading envelopes: what is refused before any key is derived, and how.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "block/strong/envelope_check.h"
#include "block/strong/strong_envelope.h"
#include "tests/block/strong/envelope_vectors.h"
#include "tests/block/strong/probe_provider.h"

namespace quiren::block::test {
namespace {

std::vector<std::uint8_t> with_iterations(std::uint32_t iterations) {
  std::vector<std::uint8_t> e = from_hex(kKnownTextEnvelope);
  for (std::size_t i = 0; i < 4; ++i) e[kIterationsOffset + i] = static_cast<std::uint8_t>(iterations >> (24 - 8 * i));
  return e;
}

// The range check decides before the (possibly very long) derivation: an
// accepted count reaches derive_key, which here refuses at once, so even
// 10,000,000 costs nothing.
TEST(StrongOpen, IterationCountIsBoundedBeforeDerivation) {
  const struct {
    std::uint32_t iterations;
    bool accepted;
  } cases[] = {{0, false},          {99'999, false},     {100'000, true},
               {10'000'000, true},  {10'000'001, false}, {0xFFFFFFFF, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.iterations);
    const std::vector<std::uint8_t> envelope = with_iterations(c.iterations);
    ProbeProvider crypto;
    crypto.derive = false;
    const OpenResult opened = open_envelope(crypto, envelope, kKnownPassword);
    if (c.accepted) {
      EXPECT_EQ(check_envelope(envelope).problem, std::nullopt);
      EXPECT_EQ(crypto.derived_iterations, std::vector<std::uint32_t>{c.iterations});
      EXPECT_EQ(opened.outcome, Outcome::failed);
    } else {
      EXPECT_EQ(check_envelope(envelope).problem, Outcome::refused_settings);
      EXPECT_TRUE(crypto.derived_iterations.empty());
      EXPECT_EQ(opened.outcome, Outcome::refused_settings);
    }
    EXPECT_TRUE(opened.text.empty());
  }
}

TEST(StrongOpen, LowestAcceptedCountOpens) {
  ProbeProvider crypto;
  const OpenResult opened = open_envelope(crypto, from_hex(kKnownTextEnvelope), kKnownPassword);
  EXPECT_EQ(opened.outcome, Outcome::opened);
  EXPECT_EQ(crypto.derived_iterations, std::vector<std::uint32_t>{100'000});
}

// Status of `envelope` when opened with the known password, and whether a
// key was derived for it.
struct Opening {
  Outcome status;
  bool derived;
  bool operator==(const Opening&) const = default;
};
Opening open_known(const std::vector<std::uint8_t>& envelope) {
  ProbeProvider crypto;
  const OpenResult opened = open_envelope(crypto, envelope, kKnownPassword);
  EXPECT_TRUE(opened.text.empty() || opened.outcome == Outcome::opened);
  return {opened.outcome, !crypto.derived_iterations.empty()};
}

TEST(StrongOpen, ShorterThanTheEmptyTextIsDamaged) {
  const std::vector<std::uint8_t> whole = from_hex(kKnownTextEnvelope);
  for (std::size_t size = 0; size < kMinEnvelopeSize; ++size) {
    SCOPED_TRACE(size);
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_EQ(open_known(cut), (Opening{Outcome::damaged, false}));
  }
}

// A later version may lay out its header otherwise: its first bytes alone
// decide, whatever the length. A later version says so; a version 1 header
// with a key derivation or cipher it does not know is refused as such.
TEST(StrongOpen, UnknownVersionKeyDerivationOrCipherCannotBeRead) {
  const struct {
    std::size_t offset;
    std::uint8_t value;
    Outcome status;
  } changes[] = {{kVersionOffset, 0, Outcome::later_format},
                 {kVersionOffset, 2, Outcome::later_format},
                 {kVersionOffset, 0xFF, Outcome::later_format},
                 {kKdfOffset, 0, Outcome::refused_settings},
                 {kKdfOffset, 2, Outcome::refused_settings},
                 {kCipherOffset, 0, Outcome::refused_settings},
                 {kCipherOffset, 2, Outcome::refused_settings}};
  const std::vector<std::uint8_t> whole = from_hex(kKnownTextEnvelope);
  for (const auto& c : changes) {
    for (const std::size_t size : {c.offset + 1, std::size_t{20}, whole.size()}) {
      SCOPED_TRACE(::testing::Message() << "byte " << c.offset << " = " << int{c.value} << ", " << size << " bytes");
      std::vector<std::uint8_t> e(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
      e[c.offset] = c.value;
      EXPECT_EQ(open_known(e), (Opening{c.status, false}));
    }
  }
}

TEST(StrongOpen, FillThatDisagreesWithTheLengthIsDamaged) {
  const std::vector<std::uint8_t> text = from_hex(kKnownTextEnvelope);  // 64 bytes, fill 3
  const std::vector<std::uint8_t> empty = from_hex(kKnownEmptyEnvelope);  // 52 bytes, fill 0
  auto changed = [](const std::vector<std::uint8_t>& e, std::size_t offset, std::uint8_t value) {
    std::vector<std::uint8_t> out = e;
    out.at(offset) = value;
    return out;
  };
  auto resized = [](const std::vector<std::uint8_t>& e, std::size_t size) {
    std::vector<std::uint8_t> out = e;
    out.resize(size, 0);
    return out;
  };
  const struct {
    const char* what;
    std::vector<std::uint8_t> envelope;
  } cases[] = {
      {"fill count 4", changed(text, kFillOffset, 4)},
      {"fill count 255", changed(text, kFillOffset, 255)},
      {"first fill byte set", changed(text, 61, 1)},
      {"last fill byte set", changed(text, 63, 0x80)},
      {"one fill byte cut", resized(text, 63)},
      {"one zero byte added", resized(text, 65)},
      {"fill 1 with no text", changed(empty, kFillOffset, 1)},
      {"fill 3 with no text", changed(empty, kFillOffset, 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(check_envelope(c.envelope).problem, Outcome::damaged);
    EXPECT_EQ(open_known(c.envelope), (Opening{Outcome::damaged, false}));
  }
}

// An authentic envelope around bytes that are not UTF-8, as a faulty writer
// elsewhere might make: the provider seals them directly.
std::vector<std::uint8_t> authentic_envelope_of(CryptoProvider& crypto, std::string_view bytes) {
  const SealParameters p = known_answer_parameters();
  std::vector<std::uint8_t> e = seal_envelope_with(crypto, std::string(bytes.size(), 'x'), kKnownPassword, p).envelope;
  const std::optional<SecretKey> key = crypto.derive_key(kKnownPassword, p.salt, p.iterations);
  const std::span<std::uint8_t> all(e);
  const std::span plaintext(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  EXPECT_TRUE(key && crypto.seal(*key, p.nonce, all.first(kHeaderSize), plaintext,
                                 all.subspan(kHeaderSize, bytes.size() + kTagSize)));
  return e;
}

TEST(StrongOpen, DecryptedBytesThatAreNotUtf8AreDamaged) {
  const auto crypto = platform_crypto();
  for (const std::string_view bad : {std::string_view("\xff\xfe"), std::string_view("\xc0\xaf"),
                                     std::string_view("a\xed\xa0\x80"), std::string_view("ab\xe3\x83")}) {
    const OpenResult opened = open_envelope(*crypto, authentic_envelope_of(*crypto, bad), kKnownPassword);
    EXPECT_EQ(opened.outcome, Outcome::damaged);
    EXPECT_TRUE(opened.text.empty());
  }
}

TEST(StrongOpen, WrongPasswordGivesNoText) {
  const auto crypto = platform_crypto();
  for (const std::string_view password : {"Pass", "pass ", "", "pas"}) {
    const OpenResult opened = open_envelope(*crypto, from_hex(kKnownTextEnvelope), password);
    EXPECT_EQ(opened.outcome, Outcome::wrong_password) << password;
    EXPECT_TRUE(opened.text.empty());
  }
}

}  // namespace
}  // namespace quiren::block::test
