// The decrypt run where a fake shows it best: texts joined, endings and
// what they keep, the text limit, cancelling. The rules both front ends and
// the reader page share (outcomes, questions, derivations) are in the table
// of runs (run_table_test.cpp).
#include "block/decrypt_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "block/ascii.h"
#include "block/keys/key_block.h"
#include "block/keys/recipient_block.h"
#include "block/strong_block.h"
#include "block/utf8.h"
#include "tests/block/echo_cipher.h"
#include "tests/support/hex.h"
#include "tests/support/quick_crypto.h"
#include "vectors/key_blocks.h"

namespace quiren::block {
namespace {

using testing::EchoCipher;

// Fields of whole armour groups. Under the echo cipher a check field is the
// password as encryption filled it; 20 bytes need no fill.
const std::string kPassword = "abcdefghijklmnopqrst";

std::u16string compatible_block(std::string_view text_field) {
  return frame_compatible_block({widen_bytes(kPassword), u'A'}, {widen_bytes(text_field), u'A'}, 60);
}

// Runs every job where it stands, until the user cancels: while the job
// given by `cancel_at_job` (counted from 0) runs, or whenever a test says.
struct ScriptedRunner : JobRunner {
  std::optional<int> cancel_at_job;
  bool user_cancelled = false;
  int jobs = 0;

  bool run(const std::shared_ptr<BackgroundJob>& job) override {
    if (user_cancelled) return false;
    if (cancel_at_job == jobs++) {
      // Cancel comes while the job runs elsewhere: the job is abandoned and
      // left to finish on its own.
      user_cancelled = true;
      job->abandon();
      job->run();
      return false;
    }
    job->run();
    return true;
  }
  bool cancelled() const override { return user_cancelled; }
};

// Answers the password from a script and records what the run told it.
struct ScriptedFrontEnd : DecryptFrontEnd {
  std::optional<std::string> answer = kPassword;  // nullopt: the user gives none
  const SecretKey* key = nullptr;                  // for recipient blocks
  bool refuse_to_show = false;
  bool accepts_rounds = true;
  std::function<void()> while_asking;  // runs inside the question and the prompt

  int asked = 0;
  int keys_asked = 0;
  std::size_t blocks_seen = 0;
  std::vector<std::pair<std::uint64_t, std::size_t>> rounds_asked;  // rounds to come, strong blocks
  std::vector<std::size_t> starting;  // each block_starting, as index * 100 + count
  std::vector<BlockReport> reports;
  std::vector<std::u16string> joined;

  bool accept_rounds(const LongRun& run) override {
    rounds_asked.emplace_back(run.rounds_to_come, run.strong_blocks);
    if (while_asking) while_asking();
    return accepts_rounds;
  }
  std::optional<BlockPassword> password(std::span<const BlockItem> blocks) override {
    ++asked;
    blocks_seen = blocks.size();
    if (while_asking) while_asking();
    if (!answer) return std::nullopt;
    return BlockPassword{SecretBytes(*answer), SecretBytes(*answer)};
  }
  const SecretKey* secret_key() override {
    ++keys_asked;
    return key;
  }
  void block_starting(std::size_t index, std::size_t count) override { starting.push_back(index * 100 + count); }
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
  RunResult run(std::u16string_view text, CompatibleBlocks compatible = CompatibleBlocks::read) {
    return run(text, cipher, compatible);
  }
  RunResult run(std::u16string_view text, CipherLibrary& library,
                CompatibleBlocks compatible = CompatibleBlocks::read) {
    const std::vector<BlockItem> blocks = read_received_blocks(text);
    return run_decrypt(blocks, front_end, runner, library, crypto, compatible);
  }
  std::u16string strong_block(std::string_view text, std::string_view password = kPassword) {
    const StrongBlock written = write_strong_block(*crypto, text, password, 60);
    EXPECT_EQ(written.status, SealStatus::sealed);
    return written.block;
  }
  std::u16string strong_with_rounds(std::uint32_t iterations) {
    SealParameters p;
    p.iterations = iterations;
    p.salt[0] = 1;
    p.nonce[0] = 1;
    return frame_strong_envelope(seal_envelope_with(*crypto, "t", kPassword, p).envelope, 60);
  }

  // A block for `to` from `from`'s key (and to it).
  std::u16string recipient_block(std::string_view text, const SecretKey& from, const SecretKey& to) {
    const std::vector<X25519PublicKey> recipients = {*crypto->x25519_public_key(to)};
    const RecipientBlock written = write_recipient_block(*crypto, text, from, recipients, 60);
    EXPECT_EQ(written.status, SealStatus::sealed);
    return written.block;
  }

  EchoCipher cipher{kPassword};
  std::shared_ptr<testing::QuickCrypto> crypto = std::make_shared<testing::QuickCrypto>();
  const SecretKey alice = testing::secret_key_from_hex(testing::vectors::kKeyPeople[0].secret_hex);
  const SecretKey bob = testing::secret_key_from_hex(testing::vectors::kKeyPeople[1].secret_hex);
  ScriptedFrontEnd front_end;
  ScriptedRunner runner;
};

TEST_F(DecryptRunTest, AsksOnceOpensEveryBlockAndJoinsTheirTexts) {
  const std::u16string text = u"Mail\r\n" + compatible_block("hello") + u"\r\n" + strong_block("秘密") + u"\r\n" +
                              strong_block("other", "another password") + u"\r\nbye";
  const RunResult result = run(text);

  EXPECT_EQ(result.end, RunEnd::done);
  EXPECT_EQ(front_end.asked, 1);
  EXPECT_EQ(front_end.blocks_seen, 3u);
  const std::u16string expected =
      u"hello" + joint() + utf16_from_utf8("秘密").value() + joint() + std::u16string(kStrongNotOpenedText);
  EXPECT_EQ(result.text, std::u16string_view(expected));
  EXPECT_EQ(result.texts, 3u);
  EXPECT_EQ(result.not_opened, 1u);

  // Each block is announced as it starts, and reported with its kind.
  EXPECT_EQ(front_end.starting, (std::vector<std::size_t>{3, 103, 203}));
  ASSERT_EQ(front_end.reports.size(), 3u);
  const BlockKind kinds[] = {BlockKind::compatible, BlockKind::strong, BlockKind::strong};
  const Outcome outcomes[] = {Outcome::opened, Outcome::opened, Outcome::wrong_password};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(front_end.reports[i].index, i);
    EXPECT_EQ(front_end.reports[i].kind, kinds[i]);
    EXPECT_EQ(front_end.reports[i].outcome, outcomes[i]);
  }
  EXPECT_EQ(front_end.joined.front(), u"hello") << "the first text as soon as it is there";
  EXPECT_EQ(front_end.joined.back(), expected);
  EXPECT_EQ(runner.jobs, 2) << "a strong block's key work goes to the runner; a compatible block's does not";
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
  later[16] = u'Z';  // the mode letter of a later version
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

// Where only strong blocks are read, a compatible block is refused before
// anything is asked for it: the cipher never sees it, and a text of nothing
// else asks for no password. The strong blocks around it open as ever.
TEST_F(DecryptRunTest, RefusedCompatibleBlocksAskNothingAndCostNothing) {
  const std::u16string two_compatible = compatible_block("hello") + u"\r\n" + compatible_block("world");
  const std::u16string mixed = compatible_block("hello") + u"\r\n" + strong_block("秘密") + u"\r\n" +
                               compatible_block("world");
  const struct {
    const char* name;
    std::u16string text;
    int asked;
    std::u16string kept;
    std::vector<std::size_t> starting;
  } cases[] = {
      {"compatible blocks only", two_compatible, 0, u"", {}},
      {"a strong block between them", mixed, 1, utf16_from_utf8("秘密").value(), {103, 203}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    front_end = ScriptedFrontEnd{};
    cipher.calls.clear();
    const RunResult result = run(c.text, CompatibleBlocks::refuse);
    EXPECT_EQ(result.end, RunEnd::done);
    EXPECT_EQ(front_end.asked, c.asked);
    EXPECT_TRUE(cipher.calls.empty());
    EXPECT_EQ(result.text, std::u16string_view(c.kept));
    EXPECT_EQ(front_end.starting, c.starting);
    EXPECT_EQ(blocks_with(result, Outcome::compatible_refused), 2u);
    EXPECT_EQ(texts_of_kind(result, BlockKind::compatible), 0u);
    ASSERT_FALSE(front_end.reports.empty());
    EXPECT_EQ(front_end.reports.front().outcome, Outcome::compatible_refused) << "reported as it is passed over";
  }
}

TEST_F(DecryptRunTest, NoPasswordOpensNothing) {
  front_end.answer.reset();
  const RunResult result = run(compatible_block("hello"));
  EXPECT_EQ(result.end, RunEnd::no_password);
  EXPECT_TRUE(front_end.starting.empty());
  EXPECT_TRUE(cipher.calls.empty());
}

// The rounds of key derivation the strong blocks ask for are added up before
// the password: past the budget the front end decides, and a refusal costs
// no password and no derivation.
TEST_F(DecryptRunTest, ALongRunIsAskedAboutBeforeThePassword) {
  const std::u16string at_most = strong_with_rounds(kMaxReadIterations);
  std::u16string four = compatible_block("hello");
  for (int i = 0; i < 3; ++i) four += u"\r\n" + at_most;
  four += u"\r\n" + strong_with_rounds(kMinReadIterations);
  for (const bool accepts : {false, true}) {
    SCOPED_TRACE(accepts);
    front_end = ScriptedFrontEnd{};
    front_end.accepts_rounds = accepts;
    crypto->derivations = 0;
    const RunResult result = run(four);
    EXPECT_EQ(result.end, accepts ? RunEnd::done : RunEnd::rounds_refused);
    EXPECT_EQ(front_end.rounds_asked,
              (std::vector<std::pair<std::uint64_t, std::size_t>>{{kRoundBudget + kMinReadIterations, 4}}));
    EXPECT_EQ(front_end.asked, accepts ? 1 : 0);
    EXPECT_EQ(crypto->derivations, accepts ? 4 : 0);
  }
}

// Exit while the question or the password prompt is open cancels the run
// there: no password is asked after the question, and nothing is derived.
TEST_F(DecryptRunTest, CancelledWhileAQuestionIsOpenStartsNothing) {
  std::u16string text;
  for (int i = 0; i < 4; ++i) text += strong_with_rounds(kMaxReadIterations) + u"\r\n";
  const std::u16string short_run = strong_block("one") + u"\r\n" + strong_block("two");
  const struct {
    const char* name;
    std::u16string text;
    int asked;
  } cases[] = {{"at the question", text, 0}, {"at the password prompt", short_run, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    front_end = ScriptedFrontEnd{};
    runner = ScriptedRunner{};
    front_end.while_asking = [this] { runner.user_cancelled = true; };
    crypto->derivations = 0;
    const RunResult result = run(c.text);
    EXPECT_EQ(result.end, RunEnd::at_block);
    EXPECT_EQ(result.stopped_by(), Outcome::cancelled);
    EXPECT_EQ(result.end_block, 0u);
    EXPECT_EQ(front_end.asked, c.asked);
    EXPECT_TRUE(front_end.starting.empty());
    EXPECT_EQ(runner.jobs, 0);
    EXPECT_EQ(crypto->derivations, 0);
  }
}

// Cancelled at the third of five blocks: nothing is kept, not even the
// texts of the first two, and nothing after it is opened.
TEST_F(DecryptRunTest, ACancelledRunKeepsNothing) {
  std::u16string text;
  for (int i = 0; i < 5; ++i) text += strong_block("block " + std::to_string(i + 1)) + u"\r\n";
  runner.cancel_at_job = 2;
  crypto->derivations = 0;
  const RunResult result = run(text);
  EXPECT_EQ(result.end, RunEnd::at_block);
  EXPECT_EQ(result.stopped_by(), Outcome::cancelled);
  EXPECT_TRUE(result.text.empty());
  EXPECT_EQ(result.texts, 0u);
  EXPECT_EQ(front_end.starting, (std::vector<std::size_t>{5, 105, 205}));
  EXPECT_EQ(crypto->derivations, 2) << "two opened; the third was abandoned before it began";
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

// A strong block opens under the password's UTF-8 (its ANSI form plays no
// part), and a changed byte anywhere never yields a text.
TEST_F(DecryptRunTest, StrongBlocksOpenUnderTheUtf8PasswordAndNeverYieldAlteredText) {
  const SealResult sealed = seal_envelope(*crypto, "秘密 😀", "パス");
  ASSERT_EQ(sealed.status, SealStatus::sealed);
  front_end.answer = "パス";
  const std::u16string block = frame_strong_envelope(sealed.envelope, 60);
  EXPECT_EQ(run(block).text, std::u16string_view(u"秘密 😀"));
  std::size_t refused = 0;
  for (std::size_t i = 0; i < sealed.envelope.size(); ++i) {
    std::vector<std::uint8_t> changed = sealed.envelope;
    changed[i] ^= 0x01;
    const RunResult result = run(frame_strong_envelope(changed, 60));
    EXPECT_NE(result.text, std::u16string_view(u"秘密 😀")) << i;
    refused += result.end == RunEnd::done ? 0 : 1;
  }
  EXPECT_GT(refused, 0u) << "the header's bytes are refused before any key";
  EXPECT_TRUE(cipher.calls.empty()) << "strong blocks never reach the compatible cipher";
}

// Under the password, with every mode "B" text field expanding to `bytes`.
struct Expanding : EchoCipher {
  explicit Expanding(std::size_t bytes) : EchoCipher(kPassword), bytes_(bytes) {}
  std::optional<SecretBytes> decrypt(std::string_view body, std::string_view password,
                                     std::string_view mode) override {
    std::optional<SecretBytes> result = EchoCipher::decrypt(body, password, mode);
    if (mode == "B") return SecretBytes(std::string(bytes_, 'e'));
    return result;
  }
  std::size_t bytes_;
};

// The texts of a run add up to at most kLongestText: the block that would
// pass it ends the run, the texts before it stay. A strong block's length
// is known before its key is derived, so one that would pass the limit
// costs no derivation.
TEST_F(DecryptRunTest, TheTextsOfARunStayWithinTheLimit) {
  const std::u16string big = frame_compatible_block({widen_bytes(kPassword), u'A'}, {u"GGGGG", u'B'}, 60);
  const std::u16string small = compatible_block("hello");
  const auto strong_of = [this](std::size_t bytes) { return strong_block(std::string(bytes, 's')); };
  struct Case {
    const char* name;
    std::size_t expands_to;
    std::u16string text;
    std::size_t kept;  // texts before the run ended
    int derivations;
  };
  const Case cases[] = {
      {"two halves and one byte", kLongestText / 2 + 1, small + u"\r\n" + big + u"\r\n" + big + u"\r\n" + small, 2,
       0},
      {"a strong block one byte over", kLongestText - 10, big + u"\r\n" + strong_of(11), 1, 0},
      {"a strong block that fits", kLongestText - 10, big + u"\r\n" + strong_of(10) + u"\r\n" + big, 2, 1},
      {"a recipient block one byte over", kLongestText - 10,
       big + u"\r\n" + recipient_block(std::string(11, 'r'), alice, bob), 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Expanding expanding(c.expands_to);
    front_end = ScriptedFrontEnd{};
    front_end.key = &bob;
    crypto->derivations = 0;
    const RunResult result = run(c.text, expanding);
    EXPECT_EQ(result.end, RunEnd::at_block);
    EXPECT_EQ(result.stopped_by(), Outcome::over_limit);
    EXPECT_EQ(result.texts, c.kept);
    EXPECT_EQ(crypto->derivations, c.derivations);
  }
}

// A recipient block opens with the front end's secret key alone: the key is
// asked once, only when the text holds one; the password only when the
// text also holds password blocks. Its report names the sender and the
// time written. A key block is read and holds no text.
TEST_F(DecryptRunTest, KeysInsteadOfPasswords) {
  const std::u16string for_bob = recipient_block("ボブへ", alice, bob);
  const std::u16string key_block(testing::vectors::kKeyBlocks[0].block);
  const std::u16string strong = strong_block("strong");

  front_end.key = &bob;
  crypto->derivations = 0;  // sealing `strong` derived one
  RunResult result = run(key_block + u"\r\n" + for_bob + u"\r\n" + key_block);
  EXPECT_EQ(result.end, RunEnd::done);
  EXPECT_EQ(front_end.keys_asked, 1);
  EXPECT_EQ(front_end.asked, 0) << "no password for a text without password blocks";
  EXPECT_EQ(result.text, u"ボブへ") << "key blocks hold no text";
  EXPECT_EQ(result.texts, 1u);
  ASSERT_EQ(result.reports.size(), 3u);
  EXPECT_EQ(result.reports[0].kind, BlockKind::key);
  EXPECT_EQ(result.reports[0].outcome, Outcome::opened);
  ASSERT_TRUE(result.reports[0].key);
  EXPECT_EQ(result.reports[0].key->name, testing::vectors::kKeyBlocks[0].holder_name);
  EXPECT_FALSE(result.reports[0].sender);
  EXPECT_EQ(result.reports[1].kind, BlockKind::recipient);
  ASSERT_TRUE(result.reports[1].sender);
  EXPECT_EQ(result.reports[1].sender->public_key, *crypto->x25519_public_key(alice));
  EXPECT_GT(result.reports[1].sender->written_at, 1'700'000'000u);
  EXPECT_EQ(crypto->derivations, 0);

  // With password blocks the password is asked, once; without the key the
  // recipient block needs one and holds its place.
  front_end = ScriptedFrontEnd{};
  result = run(strong + u"\r\n" + for_bob);
  EXPECT_EQ(front_end.keys_asked, 1);
  EXPECT_EQ(front_end.asked, 1);
  EXPECT_EQ(result.end, RunEnd::done);
  EXPECT_EQ(result.text, u"strong" + joint() + std::u16string(kNeedsKeyText));
  EXPECT_EQ(result.not_opened, 1u);
  EXPECT_EQ(result.reports[1].outcome, Outcome::needs_key);

  // Another key: not for this key, in its place.
  front_end = ScriptedFrontEnd{};
  front_end.key = &alice;
  result = run(recipient_block("for bob alone", bob, bob));
  EXPECT_EQ(result.text, kNotForThisKeyText);
  EXPECT_EQ(result.reports[0].outcome, Outcome::not_for_this_key);
  EXPECT_FALSE(result.reports[0].sender);

  // No recipient block, no key asked; a damaged first block, nothing asked.
  front_end = ScriptedFrontEnd{};
  run(strong);
  EXPECT_EQ(front_end.keys_asked, 0);
  front_end = ScriptedFrontEnd{};
  std::u16string damaged = for_bob;
  damaged[20] = u'*';
  result = run(damaged + u"\r\n" + for_bob);
  EXPECT_EQ(result.stopped_by(), Outcome::damaged);
  EXPECT_EQ(front_end.keys_asked + front_end.asked, 0);
}

}  // namespace
}  // namespace quiren::block
