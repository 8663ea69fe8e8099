#include "block/strong_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_decrypt.h"
#include "block/cipher_library.h"
#include "block/received_text.h"
#include "cipher/armour.h"
#include "tests/support/quick_crypto.h"

namespace quiren::block {
namespace {

std::vector<std::uint8_t> from_hex(std::string_view hex) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

// "テスト" under "pass", 100,000 iterations, salt 00..0f, nonce 10..1b.
const std::vector<std::uint8_t> kKnownEnvelope = from_hex(
    "01010103000186a0000102030405060708090a0b0c0d0e0f101112131415161718191a1b"
    "7fe0a424e967167a2bb6c8d416c6b3e15c9b0dafcfd6ed0238000000");

std::u16string framed(std::string_view armour) { return frame_block(u'C', std::u16string(armour.begin(), armour.end()), 60); }

// A strong block around an envelope changed by `change`.
template <typename Change>
std::u16string changed_block(Change change) {
  std::vector<std::uint8_t> envelope = kKnownEnvelope;
  change(envelope);
  return frame_strong_envelope(envelope, 60);
}

class NoCipher : public CipherLibrary {
 public:
  std::optional<std::string> encrypt(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<SecretBytes> decrypt(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
};

TEST(StrongBlock, KnownAnswerFraming) {
  EXPECT_EQ(frame_strong_envelope(kKnownEnvelope, 60),
            u"(quiren_start)\r\n"
            u"CG:4o3GGcYhGG~W3gxCwe2dqYtQJoHp#cMm73t\"kgAjSD^!lhO!%g$y*@so&\r\n"
            u"BA:o/||5%^Oy6?hZ^wrzT\r\n"
            u"(quiren_end)");
  const std::vector<BlockItem> items = read_blocks(frame_strong_envelope(kKnownEnvelope, 10));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].problem, BlockProblem::none);
  EXPECT_EQ(items[0].kind, BlockKind::strong);
  EXPECT_EQ(items[0].envelope, kKnownEnvelope);
}

TEST(StrongBlock, WrittenBlocksReadBackBesideCompatibleOnes) {
  testing::QuickCrypto crypto;
  NoCipher cipher;
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
  const BlockPassword password{SecretBytes(std::string_view("pw")), SecretBytes(std::string_view("pw"))};
  EXPECT_EQ(decrypt_block(items[0], password, cipher, crypto).text, "一つ目");
  EXPECT_EQ(decrypt_block(items[2], password, cipher, crypto).text, "two 😀");
  // Mail that changed the line breaks and quoted it.
  std::u16string quoted = u"> " + second.block;
  for (std::size_t at = quoted.find(u"\r\n"); at != std::u16string::npos; at = quoted.find(u"\r\n", at + 4)) {
    quoted.replace(at, 2, u"\n> ");
  }
  const std::vector<BlockItem> received = read_blocks(repair_received_text(quoted));
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(decrypt_block(received[0], password, cipher, crypto).text, "two 😀");
}

TEST(StrongBlock, ReaderTellsALaterVersionFromADamagedBlockBeforeAnyPassword) {
  struct Case {
    const char* name;
    std::u16string block;
    BlockProblem problem;
  };
  const auto set = [](std::size_t at, std::uint8_t value) {
    return [=](std::vector<std::uint8_t>& e) { e[at] = value; };
  };
  const auto iterations = [](std::uint32_t n) {
    return [=](std::vector<std::uint8_t>& e) {
      for (int i = 0; i < 4; ++i) e[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (24 - 8 * i));
    };
  };
  const Case cases[] = {
      {"version 2", changed_block(set(0, 2)), BlockProblem::version_cannot_read},
      {"another key derivation", changed_block(set(1, 2)), BlockProblem::version_cannot_read},
      {"another cipher", changed_block(set(2, 0)), BlockProblem::version_cannot_read},
      {"99,999 iterations", changed_block(iterations(99'999)), BlockProblem::version_cannot_read},
      {"10,000,001 iterations", changed_block(iterations(10'000'001)), BlockProblem::version_cannot_read},
      {"fill above 3", changed_block(set(3, 4)), BlockProblem::unreadable},
      {"a fill byte not zero", changed_block(set(63, 1)), BlockProblem::unreadable},
      {"too short", changed_block([](std::vector<std::uint8_t>& e) { e.resize(48); }), BlockProblem::unreadable},
      {"armour not whole groups", framed("GGGGGGG"), BlockProblem::unreadable},
      {"a separator in the armour", framed("GGGGG>GGGG"), BlockProblem::unreadable},
      {"a group above 32 bits", framed("wGGGG"), BlockProblem::unreadable},
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
    EXPECT_EQ(items[0].problem, BlockProblem::none) << n;
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
