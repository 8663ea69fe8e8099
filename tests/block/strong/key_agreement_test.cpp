// The platform provider's primitives for the blocks of keys, against the
// known answers of their RFCs: X25519 (RFC 7748), HKDF-SHA256 (RFC 5869),
// SHA-256 (FIPS 180-2); an all-zero agreement is refused, and what fails
// leaves no secret behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "block/strong/crypto_provider.h"

namespace quiren::block {
namespace {

std::vector<std::uint8_t> from_hex(std::string_view hex) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

std::string to_hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

SecretKey secret_from_hex(std::string_view hex) {
  SecretKey key;
  const std::vector<std::uint8_t> bytes = from_hex(hex);
  std::copy(bytes.begin(), bytes.end(), key.writable_bytes().begin());
  return key;
}

X25519PublicKey public_from_hex(std::string_view hex) {
  X25519PublicKey key{};
  const std::vector<std::uint8_t> bytes = from_hex(hex);
  std::copy(bytes.begin(), bytes.end(), key.begin());
  return key;
}

bool all_zero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::span<const std::uint8_t> bytes_of(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// RFC 7748, section 6.1.
constexpr std::string_view kAliceSecret = "77076d0a7318a57d3c16c17251b26645df4c2f87ebc0992ab177fba51db92c2a";
constexpr std::string_view kAlicePublic = "8520f0098930a754748b7ddcb43ef75a0dbf3a0d26381af4eba4a98eaa9b4e6a";
constexpr std::string_view kBobSecret = "5dab087e624a8a4b79e17f8b83800ee66f3bb1292618b6fd1c2f8b27ff88e0eb";
constexpr std::string_view kBobPublic = "de9edb7d7b7dc1b4d35b61c2ece435373f8343c85b78674dadfc7e146f882b4f";
constexpr std::string_view kShared = "4a5d9d5ba4ce2de1728e3bf480350f25e07e21c947d19e3376f09b3c1e161742";

class KeyAgreement : public testing::Test {
 protected:
  std::unique_ptr<CryptoProvider> crypto = platform_crypto();
};

TEST_F(KeyAgreement, Rfc7748KeysAndSharedSecret) {
  const SecretKey alice = secret_from_hex(kAliceSecret);
  const SecretKey bob = secret_from_hex(kBobSecret);
  const std::optional<X25519PublicKey> alice_public = crypto->x25519_public_key(alice);
  const std::optional<X25519PublicKey> bob_public = crypto->x25519_public_key(bob);
  ASSERT_TRUE(alice_public && bob_public);
  EXPECT_EQ(to_hex(*alice_public), kAlicePublic);
  EXPECT_EQ(to_hex(*bob_public), kBobPublic);

  const X25519Agreement by_alice = crypto->x25519_agree(alice, *bob_public);
  const X25519Agreement by_bob = crypto->x25519_agree(bob, *alice_public);
  ASSERT_EQ(by_alice.status, AgreementStatus::agreed);
  ASSERT_EQ(by_bob.status, AgreementStatus::agreed);
  EXPECT_EQ(to_hex(by_alice.shared.bytes()), kShared);
  EXPECT_EQ(to_hex(by_bob.shared.bytes()), kShared);
}

TEST_F(KeyAgreement, GeneratedPairsAreFreshAndAgree) {
  std::optional<X25519KeyPair> first = crypto->generate_x25519_key_pair();
  std::optional<X25519KeyPair> second = crypto->generate_x25519_key_pair();
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(std::ranges::equal(first->secret.bytes(), second->secret.bytes()));
  EXPECT_NE(first->public_key, second->public_key);
  EXPECT_FALSE(all_zero(first->secret.bytes()));
  EXPECT_EQ(crypto->x25519_public_key(first->secret), first->public_key);

  const X25519Agreement one_way = crypto->x25519_agree(first->secret, second->public_key);
  const X25519Agreement other_way = crypto->x25519_agree(second->secret, first->public_key);
  ASSERT_EQ(one_way.status, AgreementStatus::agreed);
  ASSERT_EQ(other_way.status, AgreementStatus::agreed);
  EXPECT_TRUE(std::ranges::equal(one_way.shared.bytes(), other_way.shared.bytes()));
}

TEST_F(KeyAgreement, LowOrderPublicKeysAreRefused) {
  // Every public key of low order, in its canonical and other encodings
  // (values from p on, the unused top bit set): the result would be all
  // zeros for any secret key.
  const std::string ff30(60, 'f');
  const std::vector<std::pair<std::string, std::string>> low_order = {
      {"0", std::string(64, '0')},
      {"1", "01" + std::string(62, '0')},
      {"a point of order 8", "e0eb7a7c3b41b8ae1656e3faf19fc46ada098deb9c32b1fd866205165f49b800"},
      {"the other point of order 8", "5f9c95bca3508c24b1d0b1559c83ef5b04445cc4581c8e86d8224eddd09f1157"},
      {"p - 1", "ec" + ff30 + "7f"},
      {"p, read as 0", "ed" + ff30 + "7f"},
      {"p + 1, read as 1", "ee" + ff30 + "7f"},
      {"0 with the top bit set", std::string(62, '0') + "80"},
      {"a point of order 8, top bit set", "e0eb7a7c3b41b8ae1656e3faf19fc46ada098deb9c32b1fd866205165f49b880"},
  };
  const SecretKey alice = secret_from_hex(kAliceSecret);
  for (const auto& [what, hex] : low_order) {
    const X25519Agreement agreement = crypto->x25519_agree(alice, public_from_hex(hex));
    EXPECT_EQ(agreement.status, AgreementStatus::all_zero) << what;
    EXPECT_TRUE(all_zero(agreement.shared.bytes())) << what;
  }
}

TEST_F(KeyAgreement, HkdfSha256Rfc5869) {
  struct Case {
    const char* name;
    std::string ikm, salt, info, okm;
  };
  std::string twenty_two_0b;
  for (int i = 0; i < 22; ++i) twenty_two_0b += "0b";
  const std::vector<Case> cases = {
      {"test case 1", twenty_two_0b, "000102030405060708090a0b0c", "f0f1f2f3f4f5f6f7f8f9",
       "3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf34007208d5b887185865"},
      // An empty salt and info: the provider must not take them for missing.
      {"test case 3", twenty_two_0b, "", "",
       "8da4e775a563c18f715f802a063c5a31b8a11f5c5ee1879ec3454e5f3c738d2d9d201395faa4b61a96c8"},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> okm(c.okm.size() / 2);
    ASSERT_TRUE(crypto->hkdf_sha256(from_hex(c.ikm), from_hex(c.salt), from_hex(c.info), okm)) << c.name;
    EXPECT_EQ(to_hex(okm), c.okm) << c.name;
  }
}

TEST_F(KeyAgreement, HkdfSha256RefusesLengthsItCannotGive) {
  const std::vector<std::uint8_t> ikm(32, 7);
  std::vector<std::uint8_t> none;
  EXPECT_FALSE(crypto->hkdf_sha256(ikm, {}, {}, none));
  std::vector<std::uint8_t> too_long(kMaxHkdfSha256Output + 1, 0xAA);
  EXPECT_FALSE(crypto->hkdf_sha256(ikm, {}, {}, too_long));
  EXPECT_TRUE(all_zero(too_long));
  std::vector<std::uint8_t> longest(kMaxHkdfSha256Output);
  EXPECT_TRUE(crypto->hkdf_sha256(ikm, {}, {}, longest));
}

TEST_F(KeyAgreement, Sha256KnownAnswers) {
  const std::optional<Sha256Digest> abc = crypto->sha256(bytes_of("abc"));
  const std::optional<Sha256Digest> empty = crypto->sha256({});
  ASSERT_TRUE(abc && empty);
  EXPECT_EQ(to_hex(*abc), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(to_hex(*empty), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
}  // namespace quiren::block
