#include "block/strong_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/base64.h"
#include "block/strong/strong_envelope.h"
#include "block/received_text.h"
#include "cipher/armour.h"
#include "tests/block/strong/envelope_vectors.h"
#include "tests/support/quick_crypto.h"
#include "vectors/sealed_blocks.h"

namespace quiren::block {
namespace {

using test::from_hex;

// "テスト" under "pass".
const std::vector<std::uint8_t> kKnownEnvelope = from_hex(test::kKnownTextEnvelope);

std::u16string framed(std::string_view armour) { return frame_block(u'C', std::u16string(armour.begin(), armour.end()), 60); }

// A strong block around an envelope changed by `change`.
template <typename Change>
std::u16string changed_block(Change change) {
  std::vector<std::uint8_t> envelope = kKnownEnvelope;
  change(envelope);
  return frame_strong_envelope(envelope, 60);
}

TEST(StrongBlock, KnownAnswerFraming) {
  for (const test::KnownAnswer& known : test::kKnownAnswers) {
    SCOPED_TRACE(known.name);
    const std::vector<std::uint8_t> envelope = from_hex(known.envelope_hex);
    EXPECT_EQ(frame_strong_envelope(envelope, known.width), known.block);
    for (int width : {kNarrowestWrap, known.width, kWidestWrap}) {
      const std::vector<BlockItem> items = read_blocks(frame_strong_envelope(envelope, width));
      ASSERT_EQ(items.size(), 1u);
      EXPECT_EQ(items[0].problem, std::nullopt);
      EXPECT_EQ(items[0].kind, BlockKind::strong);
      EXPECT_EQ(items[0].envelope, envelope);
    }
  }
}

// After the mode letter, a strong block holds base64 characters alone:
// nothing chat programs turn into emoji or markup, and nothing outside the
// compatible alphabet, so earlier versions say a later version wrote it.
TEST(StrongBlock, BodyIsBase64Alone) {
  testing::QuickCrypto crypto;
  std::string text;
  for (int n = 0; n < 40; ++n) {
    text += "テキスト 😀 :) ;) *bold* _x_ ~~y~~ \"q\" 'a' ";
    const StrongBlock written = write_strong_block(crypto, text, "pw", 17 + n * 2);
    ASSERT_EQ(written.status, SealStatus::sealed);
    const std::u16string_view block = written.block;
    const std::size_t body = kStartMarker.size() + kLineBreak.size() + 1;
    ASSERT_EQ(block[body - 1], kStrongModeLetter);
    for (char16_t c : block.substr(body, block.size() - body - kLineBreak.size() - kEndMarker.size())) {
      if (c == u'\r' || c == u'\n') continue;
      ASSERT_NE(kStrongArmourAlphabet.find(static_cast<char>(c)), std::string_view::npos) << int(c);
      ASSERT_TRUE(cipher::armour_digit(static_cast<char>(c)).has_value()) << int(c);
    }
  }
}

TEST(StrongBlock, WrittenBlocksReadBackBesideCompatibleOnes) {
  testing::QuickCrypto crypto;
  const StrongBlock first = write_strong_block(crypto, "一つ目", "pw", 17);
  const StrongBlock second = write_strong_block(crypto, "two 😀", "pw", 100);
  ASSERT_EQ(first.status, SealStatus::sealed);
  ASSERT_EQ(second.status, SealStatus::sealed);
  for (const std::u16string& line : {first.block, second.block}) {
    std::size_t from = 0;
    for (std::size_t eol; (eol = line.find(u"\r\n", from)) != std::u16string::npos; from = eol + 2) {
      EXPECT_LE(eol - from, 100u);
    }
  }
  const std::u16string compatible = frame_compatible_block({u"GGGGG", u'A'}, {u"ggggg", u'A'}, 60);
  const std::u16string text = u"mail\r\n" + first.block + u"\r\n" + compatible + u"\r\n" + second.block;
  const std::vector<BlockItem> items = read_blocks(text);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].kind, BlockKind::strong);
  EXPECT_EQ(items[1].kind, BlockKind::compatible);
  EXPECT_EQ(items[2].kind, BlockKind::strong);
  EXPECT_EQ(open_envelope(crypto, items[0].envelope, "pw").text, "一つ目");
  EXPECT_EQ(open_envelope(crypto, items[2].envelope, "pw").text, "two 😀");
  // Mail that changed the line breaks and quoted it.
  std::u16string quoted = u"> " + second.block;
  for (std::size_t at = quoted.find(u"\r\n"); at != std::u16string::npos; at = quoted.find(u"\r\n", at + 4)) {
    quoted.replace(at, 2, u"\n> ");
  }
  const std::vector<BlockItem> received = read_blocks(repair_received_text(quoted));
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(open_envelope(crypto, received[0].envelope, "pw").text, "two 😀");
}

// Blocks sealed by an implementation of their own (the shared vectors the
// reader page reads too), each opened by the real derivation to exactly its
// text and framed back to exactly its block.
TEST(StrongBlock, IndependentlySealedBlocksOpenToTheirText) {
  const std::unique_ptr<CryptoProvider> crypto = platform_crypto();
  for (const testing::vectors::SealedBlock& sealed : testing::vectors::kSealedBlocks) {
    SCOPED_TRACE(sealed.name);
    const std::vector<BlockItem> items = read_blocks(sealed.block);
    ASSERT_EQ(items.size(), 1u);
    ASSERT_EQ(items[0].problem, std::nullopt);
    ASSERT_EQ(items[0].kind, BlockKind::strong);
    EXPECT_EQ(items[0].envelope, from_hex(sealed.envelope_hex));
    EXPECT_EQ(frame_strong_envelope(items[0].envelope, sealed.width), sealed.block);
    const OpenResult opened = open_envelope(*crypto, items[0].envelope, sealed.password_nfc);
    ASSERT_EQ(opened.outcome, Outcome::opened);
    EXPECT_EQ(opened.text, sealed.text);
  }
}

TEST(StrongBlock, ReaderTellsALaterVersionRefusedSettingsAndADamagedBlockApartBeforeAnyPassword) {
  struct Case {
    const char* name;
    std::u16string block;
    std::optional<Outcome> problem;
  };
  const auto set = [](std::size_t at, std::uint8_t value) {
    return [=](std::vector<std::uint8_t>& e) { e[at] = value; };
  };
  const auto iterations = [](std::uint32_t n) {
    return [=](std::vector<std::uint8_t>& e) {
      for (int i = 0; i < 4; ++i) e[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (24 - 8 * i));
    };
  };
  const std::string known_armour = base64_armour(kKnownEnvelope);
  ASSERT_EQ(framed(known_armour), frame_strong_envelope(kKnownEnvelope, 60));
  const auto url_safe = [](std::string text) {
    std::replace(text.begin(), text.end(), '+', '-');
    std::replace(text.begin(), text.end(), '/', '_');
    return text;
  };
  ASSERT_NE(url_safe(known_armour), known_armour);
  const Case cases[] = {
      {"version 2", changed_block(set(0, 2)), Outcome::later_format},
      {"another key derivation", changed_block(set(1, 2)), Outcome::refused_settings},
      {"another cipher", changed_block(set(2, 0)), Outcome::refused_settings},
      {"99,999 iterations", changed_block(iterations(99'999)), Outcome::refused_settings},
      {"10,000,001 iterations", changed_block(iterations(10'000'001)), Outcome::refused_settings},
      {"fill above 3", changed_block(set(3, 4)), Outcome::damaged},
      {"a fill byte not zero", changed_block(set(63, 1)), Outcome::damaged},
      {"too short", changed_block([](std::vector<std::uint8_t>& e) { e.resize(48); }), Outcome::damaged},
      // The known envelope's base64 (86 characters, ending in "COAAAAA"),
      // changed: never read, even where the bytes would be the same.
      {"a base64 length of 4n + 1", framed(known_armour.substr(0, 85)), Outcome::damaged},
      {"a separator in the armour", framed(known_armour.substr(0, 40) + ">" + known_armour.substr(40)),
       Outcome::damaged},
      {"bits after the last byte", framed(known_armour.substr(0, 85) + "B"), Outcome::damaged},
      {"padding", framed(known_armour + "=="), Outcome::damaged},
      {"the URL-safe alphabet", framed(url_safe(known_armour)), Outcome::damaged},
      {"the base-85 armour", framed(cipher::armour(kKnownEnvelope)), Outcome::damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<BlockItem> items = read_blocks(c.block);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].problem, c.problem);
  }
  // Within the bounds: read, and decided by the tag once a password comes.
  for (std::uint32_t n : {100'000u, 10'000'000u}) {
    const std::vector<BlockItem> items = read_blocks(changed_block(iterations(n)));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].problem, std::nullopt) << n;
  }
}

TEST(StrongBlock, NothingIsWrittenWhenTheRandomSourceFails) {
  struct NoRandom : testing::QuickCrypto {
    bool random_bytes(std::span<std::uint8_t>) override { return false; }
  } crypto;
  const StrongBlock block = write_strong_block(crypto, "text", "pw", 60);
  EXPECT_EQ(block.status, SealStatus::random_unavailable);
  EXPECT_TRUE(block.block.empty());
  EXPECT_EQ(crypto.derivations, 0);
}

}  // namespace
}  // namespace quiren::block
