// What the envelope relies on from the platform provider beyond the known
// answers: refused plaintext is never left in the caller's buffer, and
// malformed calls fail instead of reading or writing out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "block/strong/crypto_provider.h"

namespace quiren::block {
namespace {

class StrongProvider : public testing::Test {
 protected:
  void SetUp() override {
    crypto = platform_crypto();
    std::optional<SecretKey> derived = crypto->derive_key("password", salt, 100'000);
    ASSERT_TRUE(derived);
    key = std::move(*derived);
    sealed.resize(plaintext.size() + kTagSize);
    ASSERT_TRUE(crypto->seal(key, nonce, aad, plaintext, sealed));
  }

  std::unique_ptr<CryptoProvider> crypto;
  const std::array<std::uint8_t, 16> salt{1, 2, 3};
  const std::array<std::uint8_t, kNonceSize> nonce{9, 8, 7};
  const std::vector<std::uint8_t> aad{'h', 'e', 'a', 'd'};
  const std::vector<std::uint8_t> plaintext = std::vector<std::uint8_t>(40, 'p');
  SecretKey key;
  std::vector<std::uint8_t> sealed;
};

TEST_F(StrongProvider, RefusedPlaintextIsZeroed) {
  // GCM decrypts before it compares the tag: what was written must go.
  for (const std::size_t offset : {std::size_t{0}, plaintext.size() + kTagSize - 1}) {
    std::vector<std::uint8_t> changed = sealed;
    changed[offset] ^= 1;
    std::vector<std::uint8_t> out(plaintext.size(), 0xAA);
    EXPECT_EQ(crypto->open(key, nonce, aad, changed, out), AeadStatus::tag_mismatch);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0; })) << offset;
  }
  std::vector<std::uint8_t> out(plaintext.size(), 0xAA);
  const std::vector<std::uint8_t> other_aad{'h', 'e', 'a', 'D'};
  EXPECT_EQ(crypto->open(key, nonce, other_aad, sealed, out), AeadStatus::tag_mismatch);
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0; }));

  EXPECT_EQ(crypto->open(key, nonce, aad, sealed, out), AeadStatus::ok);
  EXPECT_EQ(out, plaintext);
}

TEST_F(StrongProvider, MismatchedBufferSizesFail) {
  std::vector<std::uint8_t> short_out(plaintext.size() + kTagSize - 1);
  EXPECT_FALSE(crypto->seal(key, nonce, aad, plaintext, short_out));
  std::vector<std::uint8_t> long_out(plaintext.size() + 1, 0xAA);
  EXPECT_EQ(crypto->open(key, nonce, aad, sealed, long_out), AeadStatus::failed);
  EXPECT_TRUE(std::all_of(long_out.begin(), long_out.end(), [](std::uint8_t b) { return b == 0; }));
  std::vector<std::uint8_t> none;
  EXPECT_EQ(crypto->open(key, nonce, aad, std::span(sealed).first(kTagSize - 1), none), AeadStatus::failed);
}

TEST_F(StrongProvider, ZeroIterationsDeriveNothing) {
  EXPECT_FALSE(crypto->derive_key("password", salt, 0));
}

}  // namespace
}  // namespace quiren::block
