// Recipient blocks against the shared vectors
// (tests/vectors/recipient-blocks.json), made by an implementation of their
// own: each block sealed again from its fixed inputs byte for byte, every
// reader of every block and case with its outcome; then what the vectors
// cannot show: sealing for people (the writer added, the slots shuffled
// without bias), what a writer refuses, and that no changed or cut
// envelope ever gives a text it should not.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/keys/recipient_block.h"
#include "block/keys/recipient_open.h"
#include "block/keys/recipient_seal.h"
#include "tests/support/hex.h"
#include "tests/support/quick_crypto.h"
#include "tests/support/scripted_random.h"
#include "vectors/recipient_blocks.h"

namespace quiren::block {
namespace {

namespace vectors = testing::vectors;
using testing::from_hex;
using testing::public_key_from_hex;
using testing::secret_key_from_hex;
using testing::to_hex;

const vectors::KeyPerson& person(std::string_view name) {
  const auto found = std::find_if(std::begin(vectors::kRecipientPeople), std::end(vectors::kRecipientPeople),
                                  [name](const vectors::KeyPerson& p) { return p.name == name; });
  EXPECT_NE(found, std::end(vectors::kRecipientPeople)) << name;
  return *found;
}
SecretKey secret_of(std::string_view name) { return secret_key_from_hex(person(name).secret_hex); }
X25519PublicKey public_of(std::string_view name) { return public_key_from_hex(person(name).public_hex); }

const vectors::RecipientBlockVector& block_named(std::string_view name) {
  return *std::find_if(std::begin(vectors::kRecipientBlocks), std::end(vectors::kRecipientBlocks),
                       [name](const vectors::RecipientBlockVector& b) { return b.name == name; });
}

// What a reader holding `secret` makes of a framed block.
RecipientOpened open_framed(CryptoProvider& crypto, std::u16string_view block, const SecretKey& secret) {
  const std::vector<BlockItem> items = read_blocks(block);
  EXPECT_EQ(items.size(), 1u);
  if (items.empty()) return {Outcome::failed, {}, {}};
  if (items[0].problem) return {*items[0].problem, {}, {}};
  EXPECT_EQ(items[0].kind, BlockKind::recipient);
  return open_recipient_envelope(crypto, items[0].envelope, secret);
}

// The real primitives but a random source that fails, or that says it
// worked and hands out zeros.
struct BrokenRandom : testing::QuickCrypto {
  bool zeros = false;
  bool random_bytes(std::span<std::uint8_t> out) override {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    return zeros;
  }
};

class RecipientTest : public ::testing::Test {
 protected:
  // Checks each read of `block` (and of its envelope, when there is one)
  // against the expected outcomes; an opened one gives `source`'s text,
  // sender and time.
  void check_reads(std::u16string_view block, std::optional<std::vector<std::uint8_t>> envelope,
                   std::span<const vectors::KeyReadExpected> reads, const vectors::RecipientBlockVector& source) {
    ASSERT_FALSE(reads.empty());
    for (const vectors::KeyReadExpected& r : reads) {
      SCOPED_TRACE(r.key);
      const SecretKey secret = secret_of(r.key);
      std::vector<RecipientOpened> opened;
      opened.push_back(open_framed(*crypto, block, secret));
      if (envelope) opened.push_back(open_recipient_envelope(*crypto, *envelope, secret));
      for (const RecipientOpened& o : opened) {
        EXPECT_EQ(outcome_name(o.outcome), r.outcome);
        if (r.outcome == "opened") {
          EXPECT_EQ(o.text.view(), source.text);
          EXPECT_EQ(to_hex(o.sender.public_key), source.sender_public_hex);
          EXPECT_EQ(o.sender.written_at, source.written_at);
        } else {
          EXPECT_TRUE(o.text.empty()) << "never a text for a block that did not open";
        }
      }
    }
  }

  std::unique_ptr<CryptoProvider> crypto = platform_crypto();
};

TEST_F(RecipientTest, SealsEachBlockOfTheVectorsByteForByte) {
  for (const vectors::RecipientBlockVector& v : vectors::kRecipientBlocks) {
    SCOPED_TRACE(v.name);
    RecipientSealInputs inputs{secret_key_from_hex(v.ephemeral_secret_hex), secret_key_from_hex(v.text_key_hex), {},
                               v.written_at};
    const std::vector<std::uint8_t> nonce = from_hex(v.nonce_hex);
    std::copy(nonce.begin(), nonce.end(), inputs.nonce.begin());
    std::vector<X25519PublicKey> slot_order;
    for (std::string_view key : v.recipients_hex) slot_order.push_back(public_key_from_hex(key));
    const RecipientSeal sealed = seal_recipient_envelope_with(*crypto, v.text, secret_of(v.sender), slot_order, inputs);
    ASSERT_EQ(sealed.status, SealStatus::sealed);
    EXPECT_EQ(to_hex(sealed.envelope), v.envelope_hex);
    EXPECT_EQ(frame_recipient_envelope(sealed.envelope, v.width), v.block);
  }
}

TEST_F(RecipientTest, EveryReaderOfEveryBlockAndCase) {
  for (const vectors::RecipientBlockVector& v : vectors::kRecipientBlocks) {
    SCOPED_TRACE(v.name);
    check_reads(v.block, from_hex(v.envelope_hex), v.reads, v);
  }
  for (const vectors::RecipientCase& c : vectors::kRecipientCases) {
    SCOPED_TRACE(c.name);
    std::optional<std::vector<std::uint8_t>> envelope;
    if (c.has_envelope) envelope = from_hex(c.envelope_hex);
    check_reads(c.block, envelope, c.reads, block_named(c.source));
  }
}

// Sealing for people: the writer is added (once), a key given twice has one
// slot, and every recipient and the writer open it; no one else does.
TEST_F(RecipientTest, SealingForPeopleAddsTheWriter) {
  const std::vector<X25519PublicKey> to = {public_of("bob"), public_of("carol"), public_of("bob")};
  const RecipientSeal sealed = seal_recipient_envelope(*crypto, "会議は3階で。", secret_of("alice"), to);
  ASSERT_EQ(sealed.status, SealStatus::sealed);
  EXPECT_EQ(sealed.envelope[2], 3) << "bob, carol and the writer";
  for (const char* reader : {"alice", "bob", "carol"}) {
    const RecipientOpened opened = open_recipient_envelope(*crypto, sealed.envelope, secret_of(reader));
    EXPECT_EQ(opened.outcome, Outcome::opened) << reader;
    EXPECT_EQ(opened.text.view(), "会議は3階で。") << reader;
    EXPECT_EQ(opened.sender.public_key, public_of("alice"));
  }
  EXPECT_EQ(open_recipient_envelope(*crypto, sealed.envelope, secret_of("dave")).outcome, Outcome::not_for_this_key);
  // The writer's own key among the recipients is not added twice.
  const std::vector<X25519PublicKey> self = {public_of("alice")};
  EXPECT_EQ(seal_recipient_envelope(*crypto, "", secret_of("alice"), self).envelope[2], 1);
}

// Each number the source can give for each draw picks one order: the six
// orders of three slots come from the six pairs of draws, once each, so a
// source without bias gives each order with equal chances.
TEST_F(RecipientTest, TheSlotsAreShuffledWithoutBias) {
  const std::vector<X25519PublicKey> three = {public_of("alice"), public_of("bob"), public_of("carol")};
  std::set<std::vector<X25519PublicKey>> orders;
  for (unsigned first = 0; first < 3; ++first) {
    for (unsigned second = 0; second < 2; ++second) {
      testing::ScriptedRandom random{first, second};
      std::vector<X25519PublicKey> order = three;
      ASSERT_TRUE(shuffle_slot_order(order, random));
      EXPECT_TRUE(std::is_permutation(order.begin(), order.end(), three.begin()));
      orders.insert(order);
    }
  }
  EXPECT_EQ(orders.size(), 6u);
  // A number the draw rejects is drawn again; a failing source shuffles nothing.
  testing::ScriptedRandom rejected{65535, 0, 0};
  std::vector<X25519PublicKey> order = three;
  EXPECT_TRUE(shuffle_slot_order(order, rejected));
  EXPECT_TRUE(rejected.bytes.empty());
  testing::ScriptedRandom failing;
  failing.fails = true;
  EXPECT_FALSE(shuffle_slot_order(order, failing));
}

TEST_F(RecipientTest, WhatAWriterRefuses) {
  const SecretKey alice = secret_of("alice");
  RecipientSealInputs inputs{secret_of("dave"), secret_of("carol"), {}, 0};
  inputs.nonce[0] = 1;
  EXPECT_EQ(seal_recipient_envelope_with(*crypto, "t", alice, {}, inputs).status, SealStatus::recipient_count);
  const std::vector<X25519PublicKey> too_many(65, public_of("bob"));
  EXPECT_EQ(seal_recipient_envelope_with(*crypto, "t", alice, too_many, inputs).status, SealStatus::recipient_count);
  std::vector<X25519PublicKey> crowd;
  for (const vectors::KeyPerson& p : vectors::kRecipientPeople) crowd.push_back(public_key_from_hex(p.public_hex));
  ASSERT_GE(crowd.size(), 65u);
  crowd.resize(65);
  crowd.erase(std::find(crowd.begin(), crowd.end(), public_of("alice")));  // 64 others and the writer
  crowd.push_back(public_of("dave"));
  EXPECT_EQ(seal_recipient_envelope(*crypto, "t", alice, crowd).status, SealStatus::recipient_count);

  const X25519PublicKey low_order{};  // all zeros: X25519 gives zeros with it
  const std::vector<X25519PublicKey> refused = {public_of("bob"), low_order};
  EXPECT_EQ(seal_recipient_envelope_with(*crypto, "t", alice, refused, inputs).status,
            SealStatus::recipient_key_refused);
  EXPECT_EQ(seal_recipient_envelope(*crypto, "t", alice, refused).status, SealStatus::recipient_key_refused);
  const std::vector<X25519PublicKey> bob = {public_of("bob")};
  EXPECT_EQ(seal_recipient_envelope_with(*crypto, "\xff", alice, bob, inputs).status, SealStatus::text_not_utf8);

  // A random source that fails, or hands out zeros, writes nothing.
  for (const bool zeros : {false, true}) {
    BrokenRandom broken;
    broken.zeros = zeros;
    EXPECT_EQ(seal_recipient_envelope(broken, "t", alice, bob).status, SealStatus::random_unavailable) << zeros;
  }
}

// Every byte of a block for bob and carol changed in turn: bob opens it only
// when the byte is in carol's slot, and never to another text; every length
// it is cut to gives no text.
TEST_F(RecipientTest, NoChangedOrCutEnvelopeGivesAText) {
  RecipientSealInputs inputs{secret_of("dave"), secret_of("carol"), {}, 1796981400};
  inputs.nonce[5] = 9;
  const std::vector<X25519PublicKey> order = {public_of("bob"), public_of("carol")};
  const RecipientSeal sealed = seal_recipient_envelope_with(*crypto, "短い文章", secret_of("alice"), order, inputs);
  ASSERT_EQ(sealed.status, SealStatus::sealed);
  const SecretKey bob = secret_of("bob");
  const std::size_t carols_slot = 76 + 48;
  for (std::size_t at = 0; at < sealed.envelope.size(); ++at) {
    std::vector<std::uint8_t> changed = sealed.envelope;
    changed[at] ^= 0x10;
    const RecipientOpened opened = open_recipient_envelope(*crypto, changed, bob);
    const bool others_slot = at >= carols_slot && at < carols_slot + 48;
    EXPECT_EQ(opened.outcome == Outcome::opened, others_slot) << "byte " << at;
    EXPECT_EQ(opened.text.view(), opened.outcome == Outcome::opened ? "短い文章" : "");
  }
  for (std::size_t length = 0; length < sealed.envelope.size(); ++length) {
    const std::span<const std::uint8_t> cut(sealed.envelope.data(), length);
    const RecipientOpened opened = open_recipient_envelope(*crypto, cut, bob);
    EXPECT_NE(opened.outcome, Outcome::opened) << length;
    EXPECT_TRUE(opened.text.empty());
  }
}

}  // namespace
}  // namespace quiren::block
