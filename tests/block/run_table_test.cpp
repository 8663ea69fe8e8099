// The shared table of runs (tests/vectors/runs.json), which the reader
// page's tests read too: each case's text run under its password and with
// its secret key, the question before a long run answered as the case says,
// the user cancelling where it says and compatible blocks refused where it
// reads strong blocks only; then each block's outcome (and an opened
// recipient block's sender and time), the run's end and texts, whether the
// password was asked, the rounds each question named and the key
// derivations made, counted by a provider whose derivations take one round
// whatever an envelope asks.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "block/ascii.h"
#include "block/block_rules.h"
#include "block/decrypt_run.h"
#include "block/utf8.h"
#include "tests/support/hex.h"
#include "tests/support/quick_crypto.h"
#include "tools/quiren/linked_cipher.h"
#include "vectors/runs.h"

namespace quiren::block {
namespace {

namespace vectors = testing::vectors;

std::string_view end_name(RunEnd end) {
  switch (end) {
    case RunEnd::done: return "done";
    case RunEnd::at_block: return "at_block";
    case RunEnd::no_block: return "no_block";
    case RunEnd::rounds_refused: return "rounds_refused";
    case RunEnd::no_password: return "no_password";
    case RunEnd::not_shown: return "not_shown";
  }
  return "?";
}

// Never cancelled, unless the front end says the user did.
struct TableRunner : JobRunner {
  bool user_cancelled = false;
  bool run(const std::shared_ptr<BackgroundJob>& job) override {
    if (user_cancelled) return false;
    job->run();
    return true;
  }
  bool cancelled() const override { return user_cancelled; }
};

struct TableFrontEnd : DecryptFrontEnd {
  TableFrontEnd(const vectors::RunCase& run, TableRunner& runner) : case_(run), runner_(runner) {
    if (!run.secret_key_hex.empty()) key_ = testing::secret_key_from_hex(run.secret_key_hex);
  }

  bool accept_rounds(const LongRun& run) override {
    rounds_asked.push_back(run.rounds_to_come);
    const std::size_t answer = rounds_asked.size() - 1;
    EXPECT_LT(answer, case_.answers.size()) << "asked more often than the case answers";
    return answer < case_.answers.size() && case_.answers[answer];
  }
  const SecretKey* secret_key() override { return key_ ? &*key_ : nullptr; }
  std::optional<BlockPassword> password(std::span<const BlockItem>) override {
    ++passwords_asked;
    // The compatible blocks of the table are under ASCII passwords, the
    // same bytes in every code page.
    const std::string utf8 = utf8_from_utf16(case_.password);
    return BlockPassword{SecretBytes(utf8), SecretBytes(utf8)};
  }
  std::optional<SecretText> shown_text(const BlockResult& plain) override {
    if (plain.encoding == TextEncoding::utf8) return SecretText(utf16_from_utf8(plain.text.view()).value_or(u"?"));
    return SecretText(widen_bytes(plain.text.view()));
  }
  void block_done(const BlockReport& report, const SecretText&) override {
    if (static_cast<int>(report.index) == case_.cancel_after) runner_.user_cancelled = true;
  }

  std::vector<std::uint64_t> rounds_asked;
  int passwords_asked = 0;

 private:
  const vectors::RunCase& case_;
  TableRunner& runner_;
  std::optional<SecretKey> key_;
};

// What stands in place of a block that did not open, by its outcome's name
// and its kind.
std::u16string_view text_in_place_of(const vectors::RunBlock& block) {
  if (block.outcome == "not_for_this_key") return kNotForThisKeyText;
  if (block.outcome == "needs_key") return kNeedsKeyText;
  return block.kind == vectors::BlockFormat::strong ? kStrongNotOpenedText : kWrongPasswordText;
}

bool takes_its_place(std::string_view outcome) {
  return outcome == "opened" || outcome == "wrong_password" || outcome == "not_for_this_key" ||
         outcome == "needs_key";
}

// The joined text a case's blocks leave when the run keeps them.
std::u16string expected_text(const vectors::RunCase& run) {
  std::u16string text;
  if (!run.texts_kept) return text;
  std::size_t pieces = 0;
  for (const vectors::RunBlock& block : run.blocks) {
    if (!takes_its_place(block.outcome)) continue;
    if (pieces++ > 0) text += kResultJoint;
    text += block.outcome == "opened" ? block.text : text_in_place_of(block);
  }
  return text;
}

TEST(RunTable, EachRunOfTheSharedTable) {
  ASSERT_GT(std::size(vectors::kRunCases), 0u);
  for (const vectors::RunCase& run : vectors::kRunCases) {
    SCOPED_TRACE(run.name);
    const auto crypto = std::make_shared<testing::QuickCrypto>();
    tool::LinkedCipher cipher;
    TableRunner runner;
    TableFrontEnd front_end(run, runner);
    const std::vector<BlockItem> blocks = read_received_blocks(run.received);
    const RunResult result = run_decrypt(blocks, front_end, runner, cipher, crypto,
                                         run.strong_only ? CompatibleBlocks::refuse : CompatibleBlocks::read);

    EXPECT_EQ(end_name(result.end), run.end);
    ASSERT_EQ(result.reports.size(), run.blocks.size());
    for (std::size_t i = 0; i < run.blocks.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(result.reports[i].index, i);
      const BlockReport& report = result.reports[i];
      if (run.blocks[i].kind) {
        EXPECT_EQ(report.kind == BlockKind::strong, run.blocks[i].kind == vectors::BlockFormat::strong);
        EXPECT_EQ(report.kind == BlockKind::recipient, run.blocks[i].kind == vectors::BlockFormat::recipient);
      }
      EXPECT_EQ(outcome_name(report.outcome), run.blocks[i].outcome);
      // Only an opened recipient block names a sender.
      EXPECT_EQ(report.sender.has_value(), !run.blocks[i].sender_hex.empty());
      if (report.sender) {
        EXPECT_EQ(testing::to_hex(report.sender->public_key), run.blocks[i].sender_hex);
        EXPECT_EQ(report.sender->written_at, run.blocks[i].written_at);
      }
    }
    EXPECT_EQ(result.text, std::u16string_view(expected_text(run)));
    EXPECT_EQ(front_end.rounds_asked, std::vector<std::uint64_t>(run.rounds_asked.begin(), run.rounds_asked.end()));
    EXPECT_EQ(crypto->derivations, run.derivations);
    EXPECT_EQ(front_end.passwords_asked, run.password_asked ? 1 : 0);
  }
}

}  // namespace
}  // namespace quiren::block
