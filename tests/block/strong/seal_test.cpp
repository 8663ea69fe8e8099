// Writing envelopes: the known answers, what the default writer puts in the
// header, fresh randomness, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "block/strong/strong_envelope.h"
#include "tests/block/strong/envelope_vectors.h"
#include "tests/block/strong/probe_provider.h"

namespace quiren::block::test {
namespace {

TEST(StrongKnownAnswer, SealWritesExactlyTheVectors) {
  const auto crypto = platform_crypto();
  for (const KnownAnswer& v : kKnownAnswers) {
    const SealResult sealed = seal_envelope_with(*crypto, v.text, v.password, known_answer_parameters());
    ASSERT_EQ(sealed.status, SealStatus::sealed) << v.envelope_hex;
    EXPECT_EQ(to_hex(sealed.envelope), v.envelope_hex);
  }
}

TEST(StrongKnownAnswer, OpenReadsTheVectors) {
  const auto crypto = platform_crypto();
  for (const KnownAnswer& v : kKnownAnswers) {
    const OpenResult opened = open_envelope(*crypto, from_hex(v.envelope_hex), v.password);
    ASSERT_EQ(opened.outcome, Outcome::opened) << v.envelope_hex;
    EXPECT_EQ(opened.text, v.text);
  }
}

std::uint32_t iterations_of(const std::vector<std::uint8_t>& envelope) {
  return static_cast<std::uint32_t>(envelope[4]) << 24 | static_cast<std::uint32_t>(envelope[5]) << 16 |
         static_cast<std::uint32_t>(envelope[6]) << 8 | envelope[7];
}

TEST(StrongSeal, WritesSixHundredThousandIterationsAndFreshSaltAndNonce) {
  ProbeProvider crypto;
  const std::string text = "会議は明日 10:00 から 🗓";
  const SealResult first = seal_envelope(crypto, text, "パスワード");
  const SealResult second = seal_envelope(crypto, text, "パスワード");
  ASSERT_EQ(first.status, SealStatus::sealed);
  ASSERT_EQ(second.status, SealStatus::sealed);
  EXPECT_EQ(crypto.derived_iterations, (std::vector<std::uint32_t>{600'000, 600'000}));

  for (const SealResult* s : {&first, &second}) {
    EXPECT_EQ(iterations_of(s->envelope), 600'000u);
    const auto salt = std::span(s->envelope).subspan(kSaltOffset, kSaltSize);
    const auto nonce = std::span(s->envelope).subspan(kNonceOffset, kNonceSize);
    EXPECT_TRUE(std::any_of(salt.begin(), salt.end(), [](std::uint8_t b) { return b != 0; }));
    EXPECT_TRUE(std::any_of(nonce.begin(), nonce.end(), [](std::uint8_t b) { return b != 0; }));
  }
  // Neither the salt nor the nonce repeats: compare them apart.
  EXPECT_FALSE(std::equal(first.envelope.begin() + kSaltOffset, first.envelope.begin() + kNonceOffset,
                          second.envelope.begin() + kSaltOffset));
  EXPECT_FALSE(std::equal(first.envelope.begin() + kNonceOffset, first.envelope.begin() + kHeaderSize,
                          second.envelope.begin() + kNonceOffset));

  const OpenResult opened = open_envelope(crypto, first.envelope, "パスワード");
  ASSERT_EQ(opened.outcome, Outcome::opened);
  EXPECT_EQ(opened.text, text);
}

// Text lengths 0..4 bytes need every fill count; the envelope stays a
// multiple of 4 with zeros after the tag.
TEST(StrongSeal, FillPadsToAMultipleOfFour) {
  const auto crypto = platform_crypto();
  const struct {
    std::string_view text;
    std::uint8_t fill;
  } cases[] = {{"", 0}, {"a", 3}, {"é", 2}, {"あ", 1}, {"😀", 0}};
  for (const auto& c : cases) {
    const SealResult sealed = seal_envelope_with(*crypto, c.text, "pw", known_answer_parameters());
    ASSERT_EQ(sealed.status, SealStatus::sealed);
    const std::vector<std::uint8_t>& e = sealed.envelope;
    EXPECT_EQ(e.size(), kMinEnvelopeSize + c.text.size() + c.fill) << c.text;
    EXPECT_EQ(e[kFillOffset], c.fill) << c.text;
    EXPECT_TRUE(std::all_of(e.end() - c.fill, e.end(), [](std::uint8_t b) { return b == 0; })) << c.text;
    const OpenResult opened = open_envelope(*crypto, e, "pw");
    ASSERT_EQ(opened.outcome, Outcome::opened) << c.text;
    EXPECT_EQ(opened.text, c.text);
  }
}

// A random source that fails, or that says it worked but gave zeros, seals
// nothing and derives no key.
TEST(StrongSeal, RandomSourceFailureSealsNothing) {
  for (const ProbeProvider::Random broken : {ProbeProvider::Random::fails, ProbeProvider::Random::zeros}) {
    ProbeProvider crypto;
    crypto.random = broken;
    const SealResult sealed = seal_envelope(crypto, "secret", "password");
    EXPECT_EQ(sealed.status, SealStatus::random_unavailable);
    EXPECT_TRUE(sealed.envelope.empty());
    EXPECT_TRUE(crypto.derived_iterations.empty());
    EXPECT_EQ(crypto.seal_calls, 0);
  }
}

// Our own reader would call such an envelope damaged, so none is written.
TEST(StrongSeal, RefusesTextThatIsNotUtf8) {
  for (const std::string_view bad : {std::string_view("\xff"), std::string_view("ok\xed\xa0\x80"),
                                     std::string_view("\xe3\x83")}) {
    ProbeProvider crypto;
    const SealResult sealed = seal_envelope(crypto, bad, "password");
    EXPECT_EQ(sealed.status, SealStatus::text_not_utf8);
    EXPECT_TRUE(sealed.envelope.empty());
    EXPECT_TRUE(crypto.derived_iterations.empty());
  }
}

TEST(StrongSeal, PlatformFailureIsReported) {
  ProbeProvider crypto;
  crypto.derive = false;
  const SealResult sealed = seal_envelope(crypto, "secret", "password");
  EXPECT_EQ(sealed.status, SealStatus::crypto_failed);
  EXPECT_TRUE(sealed.envelope.empty());
  EXPECT_EQ(crypto.seal_calls, 0);
}

}  // namespace
}  // namespace quiren::block::test
