#include "block/decrypt_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "block/ascii.h"
#include "block/strong_block.h"
#include "block/utf8.h"
#include "tests/block/echo_cipher.h"
#include "tests/support/quick_crypto.h"

namespace quiren::block {
namespace {

using testing::EchoCipher;

// Fields of whole armour groups. Under the echo cipher a check field is the
// password as encryption filled it; 20 bytes need no fill.
const std::string kPassword = "abcdefghijklmnopqrst";

std::u16string compatible_block(std::string_view text_field) {
  return frame_compatible_block({widen_bytes(kPassword), u'A'}, {widen_bytes(text_field), u'A'}, 60);
}

// Answers the password from a script and records what the run told it.
struct ScriptedFrontEnd : DecryptFrontEnd {
  std::optional<std::string> answer = kPassword;  // nullopt: the user gives none
  bool refuse_to_show = false;
  bool accepts_rounds = true;
  std::optional<std::size_t> cancel_at;  // the user cancels while this block's key is derived

  int asked = 0;
  std::size_t blocks_seen = 0;
  std::vector<std::pair<std::uint64_t, std::size_t>> rounds_asked;  // rounds, strong blocks
  std::vector<BlockKind> opened;
  std::vector<std::size_t> positions;  // the index and count each open was told, as index * 100 + count
  std::vector<BlockReport> reports;
  std::vector<std::u16string> joined;

  bool accept_rounds(std::uint64_t rounds, std::size_t strong_blocks) override {
    rounds_asked.emplace_back(rounds, strong_blocks);
    return accepts_rounds;
  }

  std::optional<BlockPassword> password(std::span<const BlockItem> blocks) override {
    ++asked;
    blocks_seen = blocks.size();
    if (!answer) return std::nullopt;
    return BlockPassword{SecretBytes(*answer), SecretBytes(*answer)};
  }
  BlockResult open(const BlockItem& item, std::size_t index, std::size_t count, BlockOpener& opener) override {
    opened.push_back(item.kind);
    positions.push_back(index * 100 + count);
    // Cancel comes while the job runs elsewhere: the job is abandoned and
    // left to finish on its own.
    struct Cancelling : JobRunner {
      bool run(const std::shared_ptr<BackgroundJob>& job) override {
        job->abandon();
        job->run();
        return false;
      }
    } cancelling;
    if (cancel_at == index) return opener.open(item, cancelling);
    return opener.open(item);
  }
  std::optional<SecretText> shown_text(const BlockResult& plain) override {
    if (refuse_to_show) return std::nullopt;
    if (plain.encoding == TextEncoding::utf8) return SecretText(utf16_from_utf8(plain.text.view()).value());
    return SecretText(widen_bytes(plain.text.view()));
  }
  void block_done(const BlockReport& report, const SecretText& so_far) override {
    reports.push_back(report);
    joined.emplace_back(so_far.view());
  }
};

std::u16string joint() { return std::u16string(kResultJoint); }

class DecryptRunTest : public ::testing::Test {
 protected:
  RunResult run(std::u16string_view text) { return run_decrypt(text, front_end, cipher, crypto); }
  std::u16string strong_block(std::string_view text, std::string_view password = kPassword) {
    const StrongBlock written = write_strong_block(*crypto, text, password, 60);
    EXPECT_EQ(written.status, SealStatus::sealed);
    return written.block;
  }

  EchoCipher cipher{kPassword};
  std::shared_ptr<testing::QuickCrypto> crypto = std::make_shared<testing::QuickCrypto>();
  ScriptedFrontEnd front_end;
};

TEST_F(DecryptRunTest, AsksOnceOpensEveryBlockAndJoinsTheirTexts) {
  const std::u16string text = u"Mail\r\n" + compatible_block("hello") + u"\r\n" + strong_block("秘密") + u"\r\n" +
                              strong_block("other", "another password") + u"\r\nbye";
  const RunResult result = run(text);

  EXPECT_EQ(result.end, RunEnd::done);
  EXPECT_EQ(front_end.asked, 1);
  EXPECT_EQ(front_end.blocks_seen, 3u);
  const std::u16string expected =
      u"hello" + joint() + utf16_from_utf8("秘密").value() + joint() + std::u16string(kWrongPasswordText);
  EXPECT_EQ(result.text, std::u16string_view(expected));
  EXPECT_EQ(result.texts, 3u);
  EXPECT_EQ(result.wrong, 1u);

  // Each block is opened as a step of its own, and reported with its kind.
  EXPECT_EQ(front_end.opened, (std::vector<BlockKind>{BlockKind::compatible, BlockKind::strong, BlockKind::strong}));
  ASSERT_EQ(front_end.reports.size(), 3u);
  const Outcome outcomes[] = {Outcome::opened, Outcome::opened,
                                       Outcome::wrong_password};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(front_end.reports[i].index, i);
    EXPECT_EQ(front_end.reports[i].kind, front_end.opened[i]);
    EXPECT_EQ(front_end.reports[i].outcome, outcomes[i]);
  }
  EXPECT_EQ(front_end.joined.front(), u"hello") << "the first text as soon as it is there";
  EXPECT_EQ(front_end.joined.back(), expected);
}

TEST_F(DecryptRunTest, AReceivedFormIsRepairedFirst) {
  std::u16string quoted = u"> ";
  for (char16_t c : compatible_block("hello")) {
    if (c == u'\r') continue;
    quoted += c;
    if (c == u'\n') quoted += u"> ";
  }
  const RunResult result = run(quoted);
  EXPECT_EQ(result.end, RunEnd::done);
  EXPECT_EQ(result.text, std::u16string_view(u"hello"));
}

// Whatever ends a run early: whether the password was asked, and whether
// the texts before the block that ended it are kept.
TEST_F(DecryptRunTest, EndingsBeforeAndAfterThePassword) {
  const std::u16string good = compatible_block("hello");
  std::u16string later = good;
  later[16] = u'D';  // the mode letter of a later version
  std::u16string no_separator = good;
  std::erase(no_separator, u'>');
  struct Case {
    const char* name;
    std::u16string text;
    bool library_missing;
    bool refuse_to_show;
    RunEnd end;
    std::optional<Outcome> stopped_by;  // when a block ended the run
    int asked;
    std::u16string kept;
  };
  const Case cases[] = {
      {"no block", u"plain text", false, false, RunEnd::no_block, {}, 0, u""},
      {"first block of a later version", later + u"\r\n" + good, false, false, RunEnd::at_block,
       Outcome::later_format, 0, u""},
      {"first block damaged", no_separator, false, false, RunEnd::at_block, Outcome::damaged, 0, u""},
      {"later version after a good block", good + u"\r\n" + later, false, false, RunEnd::at_block,
       Outcome::later_format, 1, u"hello"},
      {"damaged block after a good one", good + u"\r\n" + no_separator, false, false, RunEnd::at_block,
       Outcome::damaged, 1, u""},
      {"library missing", good, true, false, RunEnd::at_block, Outcome::failed, 1, u""},
      {"a text the front end cannot show", good + u"\r\n" + good, false, true, RunEnd::not_shown, {}, 1, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    front_end = ScriptedFrontEnd{};
    front_end.refuse_to_show = c.refuse_to_show;
    cipher.missing = c.library_missing;
    const RunResult result = run(c.text);
    EXPECT_EQ(result.end, c.end);
    if (c.stopped_by) {
      EXPECT_EQ(result.stopped_by(), *c.stopped_by);
    }
    EXPECT_EQ(front_end.asked, c.asked);
    EXPECT_EQ(result.text, std::u16string_view(c.kept));
    EXPECT_EQ(result.texts, c.kept.empty() ? 0u : 1u);
    EXPECT_EQ(texts_of_kind(result, BlockKind::compatible), result.texts) << "a failed run counts nothing it dropped";
  }
}

TEST_F(DecryptRunTest, NoPasswordOpensNothing) {
  front_end.answer.reset();
  const RunResult result = run(compatible_block("hello"));
  EXPECT_EQ(result.end, RunEnd::no_password);
  EXPECT_TRUE(front_end.opened.empty());
  EXPECT_TRUE(cipher.calls.empty());
}

// The rounds of key derivation the strong blocks ask for are added up before
// the password: past the budget the front end decides, and a refusal costs
// no password and no derivation.
TEST_F(DecryptRunTest, ALongRunIsAskedAboutBeforeThePassword) {
  const auto strong_with = [this](std::uint32_t iterations) {
    SealParameters p;
    p.iterations = iterations;
    p.salt[0] = 1;
    p.nonce[0] = 1;
    return frame_strong_envelope(seal_envelope_with(*crypto, "t", kPassword, p).envelope, 60);
  };
  const std::u16string at_most = strong_with(kMaxReadIterations);
  std::u16string three = compatible_block("hello");
  for (int i = 0; i < 3; ++i) three += u"\r\n" + at_most;
  struct Case {
    const char* name;
    std::u16string text;
    bool accepts;
    std::vector<std::pair<std::uint64_t, std::size_t>> asked_about;
    RunEnd end;
    int derived;
  };
  const Case cases[] = {
      {"exactly the budget", three, false, {}, RunEnd::done, 3},
      {"past it, refused", three + u"\r\n" + strong_with(kMinReadIterations), false,
       {{kRoundBudget + kMinReadIterations, 4}}, RunEnd::rounds_refused, 0},
      {"past it, accepted", three + u"\r\n" + strong_with(kMinReadIterations), true,
       {{kRoundBudget + kMinReadIterations, 4}}, RunEnd::done, 4},
  };
  static_assert(3ULL * kMaxReadIterations == kRoundBudget);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    front_end = ScriptedFrontEnd{};
    front_end.accepts_rounds = c.accepts;
    crypto->derivations = 0;
    const RunResult result = run(c.text);
    EXPECT_EQ(result.end, c.end);
    EXPECT_EQ(front_end.rounds_asked, c.asked_about);
    EXPECT_EQ(front_end.asked, c.end == RunEnd::rounds_refused ? 0 : 1);
    EXPECT_EQ(crypto->derivations, c.derived);
  }
}

// Cancelled at the third of five blocks: nothing is kept, not even the
// texts of the first two, and nothing after it is opened.
TEST_F(DecryptRunTest, ACancelledRunKeepsNothing) {
  std::u16string text;
  for (int i = 0; i < 5; ++i) text += strong_block("block " + std::to_string(i + 1)) + u"\r\n";
  front_end.cancel_at = 2;
  const RunResult result = run(text);
  EXPECT_EQ(result.end, RunEnd::at_block);
  EXPECT_EQ(result.stopped_by(), Outcome::cancelled);
  EXPECT_TRUE(result.text.empty());
  EXPECT_EQ(result.texts, 0u);
  EXPECT_EQ(front_end.positions, (std::vector<std::size_t>{5, 105, 205}));
  EXPECT_EQ(crypto->derivations, 5 + 2) << "five sealed, two opened; the third was abandoned before it began";
}

// Each block the run finished with is reported, with its format, so a
// front end can say how many of each the text held.
TEST_F(DecryptRunTest, TheResultCountsTheBlocksOfEachFormat) {
  const std::u16string text = compatible_block("hello") + u"\r\n" + strong_block("new") + u"\r\n" +
                              strong_block("other", "another password");
  const RunResult result = run(text);
  EXPECT_EQ(result.blocks, 3u);
  ASSERT_EQ(result.reports.size(), 3u);
  EXPECT_EQ(texts_of_kind(result, BlockKind::strong), 2u) << "the one that did not open holds its place";
  EXPECT_EQ(texts_of_kind(result, BlockKind::compatible), 1u);
}

// A strong block of too few rounds, or of a key derivation this version
// does not know, ends the run with its own outcome and no derivation; the
// texts before it stay.
TEST_F(DecryptRunTest, AStrongBlockWithRefusedSettingsEndsTheRun) {
  SealParameters weak;
  weak.iterations = kMinReadIterations - 1;
  weak.salt[0] = weak.nonce[0] = 1;
  const std::u16string refused = frame_strong_envelope(seal_envelope_with(*crypto, "t", kPassword, weak).envelope, 60);
  crypto->derivations = 0;
  const struct {
    const char* name;
    std::u16string text;
    int asked;
    std::u16string kept;
  } cases[] = {
      {"first", refused, 0, u""},
      {"after a good one", compatible_block("hello") + u"\r\n" + refused, 1, u"hello"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    front_end = ScriptedFrontEnd{};
    const RunResult result = run(c.text);
    EXPECT_EQ(result.end, RunEnd::at_block);
    EXPECT_EQ(front_end.asked, c.asked);
    EXPECT_EQ(result.text, std::u16string_view(c.kept));
    EXPECT_EQ(front_end.reports.back().outcome, Outcome::refused_settings);
    EXPECT_EQ(front_end.reports.back().kind, BlockKind::strong);
  }
  EXPECT_EQ(crypto->derivations, 0);
}

TEST_F(DecryptRunTest, ARunPastTheBudgetKeepsTheTextsBefore) {
  struct Expanding : EchoCipher {
    Expanding() : EchoCipher(kPassword) {}
    std::optional<SecretBytes> decrypt(std::string_view body, std::string_view password,
                                       std::string_view mode) override {
      if (mode == "B") return SecretBytes(std::string(kLongestText, 'e'));
      return EchoCipher::decrypt(body, password, mode);
    }
  } expanding;
  const std::u16string big = frame_compatible_block({widen_bytes(kPassword), u'A'}, {u"GGGGG", u'B'}, 60);
  const std::u16string text = compatible_block("hello") + u"\r\n" + big + u"\r\n" + compatible_block("again");
  const RunResult result = run_decrypt(text, front_end, expanding, crypto);
  EXPECT_EQ(result.end, RunEnd::at_block);
  EXPECT_EQ(result.text, std::u16string_view(u"hello"));
  EXPECT_EQ(front_end.reports.back().outcome, Outcome::over_limit);
}

}  // namespace
}  // namespace quiren::block
