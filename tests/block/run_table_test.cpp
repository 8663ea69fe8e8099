// The shared table of runs (tests/vectors/runs.json), which the reader
// page's tests read too: each case's text run under its password, the
// question before a long run answered as the case says and the user
// cancelling where it says, compatible blocks refused where it reads strong
// blocks only; then each block's outcome, the run's end and
// texts, the rounds each question named and the key derivations made,
// counted by a provider whose derivations take one round whatever an
// envelope asks.
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
  TableFrontEnd(const vectors::RunCase& run, TableRunner& runner) : case_(run), runner_(runner) {}

  bool accept_rounds(const LongRun& run) override {
    rounds_asked.push_back(run.rounds_to_come);
    const std::size_t answer = rounds_asked.size() - 1;
    EXPECT_LT(answer, case_.answers.size()) << "asked more often than the case answers";
    return answer < case_.answers.size() && case_.answers[answer];
  }
  std::optional<BlockPassword> password(std::span<const BlockItem>) override {
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

 private:
  const vectors::RunCase& case_;
  TableRunner& runner_;
};

// The joined text a case's blocks leave when the run keeps them.
std::u16string expected_text(const vectors::RunCase& run) {
  std::u16string text;
  if (!run.texts_kept) return text;
  std::size_t pieces = 0;
  for (const vectors::RunBlock& block : run.blocks) {
    if (block.outcome != "opened" && block.outcome != "wrong_password") continue;
    if (pieces++ > 0) text += kResultJoint;
    const bool strong = block.kind == vectors::BlockFormat::strong;
    text += block.outcome == "opened" ? block.text : strong ? kStrongNotOpenedText : kWrongPasswordText;
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
      if (run.blocks[i].kind) {
        EXPECT_EQ(result.reports[i].kind == BlockKind::strong, run.blocks[i].kind == vectors::BlockFormat::strong);
      }
      EXPECT_EQ(outcome_name(result.reports[i].outcome), run.blocks[i].outcome);
    }
    EXPECT_EQ(result.text, std::u16string_view(expected_text(run)));
    EXPECT_EQ(front_end.rounds_asked, std::vector<std::uint64_t>(run.rounds_asked.begin(), run.rounds_asked.end()));
    EXPECT_EQ(crypto->derivations, run.derivations);
  }
}

}  // namespace
}  // namespace quiren::block
