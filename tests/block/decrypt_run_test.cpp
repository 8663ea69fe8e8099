#include "block/decrypt_run.h"

#include <gtest/gtest.h>

#include <optional>
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

  int asked = 0;
  std::size_t blocks_seen = 0;
  std::vector<BlockKind> opened;
  std::vector<BlockReport> reports;
  std::vector<std::u16string> joined;

  std::optional<BlockPassword> password(std::span<const BlockItem> blocks) override {
    ++asked;
    blocks_seen = blocks.size();
    if (!answer) return std::nullopt;
    return BlockPassword{SecretBytes(*answer), SecretBytes(*answer)};
  }
  BlockOutcome open(const BlockItem& item, BlockOpener& opener) override {
    opened.push_back(item.kind);
    return opener.open(item);
  }
  std::optional<SecretText> shown_text(const BlockOutcome& plain) override {
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
    const StrongBlock written = write_strong_block(crypto, text, password, 60);
    EXPECT_EQ(written.status, SealStatus::sealed);
    return written.block;
  }

  EchoCipher cipher{kPassword};
  testing::QuickCrypto crypto;
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
  const BlockOutcomeKind outcomes[] = {BlockOutcomeKind::plain_text, BlockOutcomeKind::plain_text,
                                       BlockOutcomeKind::wrong_password};
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
    int asked;
    std::u16string kept;
  };
  const Case cases[] = {
      {"no block", u"plain text", false, false, RunEnd::no_block, 0, u""},
      {"first block of a later version", later + u"\r\n" + good, false, false, RunEnd::version_cannot_read, 0, u""},
      {"first block damaged", no_separator, false, false, RunEnd::unreadable, 0, u""},
      {"later version after a good block", good + u"\r\n" + later, false, false, RunEnd::version_cannot_read, 1,
       u"hello"},
      {"damaged block after a good one", good + u"\r\n" + no_separator, false, false, RunEnd::unreadable, 1, u""},
      {"library missing", good, true, false, RunEnd::library_failed, 1, u""},
      {"a text the front end cannot show", good + u"\r\n" + good, false, true, RunEnd::not_shown, 1, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    front_end = ScriptedFrontEnd{};
    front_end.refuse_to_show = c.refuse_to_show;
    cipher.missing = c.library_missing;
    const RunResult result = run(c.text);
    EXPECT_EQ(result.end, c.end);
    EXPECT_EQ(front_end.asked, c.asked);
    EXPECT_EQ(result.text, std::u16string_view(c.kept));
    EXPECT_EQ(result.texts, c.kept.empty() ? 0u : 1u);
  }
}

TEST_F(DecryptRunTest, NoPasswordOpensNothing) {
  front_end.answer.reset();
  const RunResult result = run(compatible_block("hello"));
  EXPECT_EQ(result.end, RunEnd::no_password);
  EXPECT_TRUE(front_end.opened.empty());
  EXPECT_TRUE(cipher.calls.empty());
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
  EXPECT_EQ(result.end, RunEnd::over_budget);
  EXPECT_EQ(result.text, std::u16string_view(u"hello"));
  EXPECT_EQ(front_end.reports.back().outcome, BlockOutcomeKind::over_budget);
}

}  // namespace
}  // namespace quiren::block
