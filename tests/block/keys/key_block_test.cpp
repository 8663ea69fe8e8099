// Key blocks and safety digits against the shared vectors
// (tests/vectors/key-blocks.json), made by an implementation of their own:
// the exact blocks and digits from the fixed keys, every case with its
// outcome; and the names a writer refuses.
#include "block/keys/key_block.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "block/armoured_block.h"
#include "block/keys/safety_digits.h"
#include "tests/support/hex.h"
#include "vectors/key_blocks.h"

namespace quiren::block {
namespace {

namespace vectors = testing::vectors;
using testing::from_hex;
using testing::public_key_from_hex;
using testing::to_hex;

// What a reader makes of a framed key block: the block reader's problem,
// or the envelope read whole.
KeyBlockRead read_framed(CryptoProvider& crypto, std::u16string_view block) {
  const std::vector<BlockItem> items = read_blocks(block);
  if (items.size() != 1) return {Outcome::failed, {}};
  if (items[0].problem) return {*items[0].problem, {}};
  EXPECT_EQ(items[0].kind, BlockKind::key);
  return read_key_envelope(crypto, items[0].envelope);
}

class KeyBlockTest : public ::testing::Test {
 protected:
  std::unique_ptr<CryptoProvider> crypto = platform_crypto();
};

TEST_F(KeyBlockTest, WritesTheBlocksAndDigitsOfTheVectors) {
  for (const vectors::KeyBlockVector& v : vectors::kKeyBlocks) {
    SCOPED_TRACE(v.name);
    const X25519PublicKey key = public_key_from_hex(v.public_hex);
    const KeyEnvelopeWrite written = write_key_envelope(*crypto, key, v.holder_name_given);
    ASSERT_EQ(written.problem, KeyNameProblem::none);
    EXPECT_EQ(to_hex(written.envelope), v.envelope_hex);
    EXPECT_EQ(frame_key_envelope(written.envelope, v.width), v.block);
    EXPECT_EQ(safety_digits(*crypto, key), v.digits);
  }
  for (const vectors::KeyPerson& person : vectors::kKeyPeople) {
    EXPECT_EQ(safety_digits(*crypto, public_key_from_hex(person.public_hex)), person.digits) << person.name;
  }
}

TEST_F(KeyBlockTest, ReadsEveryBlockAndEveryCase) {
  for (const vectors::KeyBlockVector& v : vectors::kKeyBlocks) {
    SCOPED_TRACE(v.name);
    const KeyBlockRead read = read_framed(*crypto, v.block);
    ASSERT_EQ(read.outcome, Outcome::opened);
    EXPECT_EQ(to_hex(read.content.public_key), v.public_hex);
    EXPECT_EQ(read.content.name, v.holder_name);
  }
  for (const vectors::KeyBlockCase& c : vectors::kKeyBlockCases) {
    SCOPED_TRACE(c.name);
    const KeyBlockRead framed = read_framed(*crypto, c.block);
    const KeyBlockRead bytes = read_key_envelope(*crypto, from_hex(c.envelope_hex));
    EXPECT_EQ(outcome_name(framed.outcome), c.outcome);
    EXPECT_EQ(outcome_name(bytes.outcome), c.outcome) << "as bytes";
    if (c.outcome == "opened") {
      EXPECT_EQ(to_hex(bytes.content.public_key), c.public_hex);
      EXPECT_EQ(bytes.content.name, c.holder_name);
    } else {
      EXPECT_TRUE(bytes.content.name.empty());
    }
  }
}

TEST_F(KeyBlockTest, AWriterRefusesTheNamesReadersRefuse) {
  struct Case {
    const char* name;
    std::string given;
    KeyNameProblem problem;
    std::string written;
  };
  const Case cases[] = {
      {"64 bytes", std::string(64, 'A'), KeyNameProblem::none, std::string(64, 'A')},
      {"65 bytes", std::string(65, 'A'), KeyNameProblem::too_long, ""},
      {"64 bytes once in NFC, more before", std::string("\u304B\u3099").append(61, 'A'), KeyNameProblem::none,
       std::string("\u304C").append(61, 'A')},
      {"not UTF-8", "Alice \xff", KeyNameProblem::not_utf8, ""},
      {"empty", "", KeyNameProblem::none, ""},
      {"a no-break space and U+206A are allowed", "A\u00a0B\u206a", KeyNameProblem::none, "A\u00a0B\u206a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const KeyName name = key_name_to_write(c.given);
    EXPECT_EQ(name.problem, c.problem);
    EXPECT_EQ(name.utf8, c.written);
  }
  // One of each end of each forbidden range.
  for (const std::string_view forbidden :
       {std::string_view("\x00", 1), std::string_view("\x1f"), std::string_view("\x7f"), std::string_view("\u0080"),
        std::string_view("\u009f"), std::string_view("\u200e"), std::string_view("\u200f"), std::string_view("\u202a"),
        std::string_view("\u202e"), std::string_view("\u2066"), std::string_view("\u2069")}) {
    std::string name = "A";
    name.append(forbidden).append("B");
    EXPECT_EQ(key_name_to_write(name).problem, KeyNameProblem::forbidden_character) << to_hex(
        std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
    EXPECT_EQ(write_key_envelope(*crypto, X25519PublicKey{}, name).problem, KeyNameProblem::forbidden_character);
  }
}

}  // namespace
}  // namespace quiren::block
