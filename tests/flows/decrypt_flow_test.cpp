#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "tests/flows/flow_fixture.h"
#include "tray/core/fixed_passwords.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

namespace text = flows::texts;
using testing::FlowTest;
using testing::u16;

const std::u16string kJoint = u"\r\n\r\n*--*--*--*--*--*--*--*--*--*--*--*--*--*--*\r\n\r\n";
const std::u16string kWrong(text::kWrongPassword);

// The character after the start marker's line break: the check mode letter.
std::u16string with_check_mode(std::u16string block, char16_t letter) {
  block[16] = letter;
  return block;
}

std::u16string ascii(const std::string& bytes) { return std::u16string(bytes.begin(), bytes.end()); }

std::u16string without_separator(std::u16string block) {
  std::erase(block, u'>');
  return block;
}

// Every line behind "> ", LF line breaks.
std::u16string quoted_lf(std::u16string_view block) {
  std::u16string out = u"> ";
  for (char16_t c : block) {
    if (c == u'\r') continue;
    out += c;
    if (c == u'\n') out += u"> ";
  }
  return out;
}

class DecryptFlowTest : public FlowTest {
 protected:
  // Runs the decrypt flow on `clip` the way the watch does.
  void watch(std::u16string clip) {
    desktop.clipboard = std::move(clip);
    flows.on_clipboard_change();
  }
};

TEST_F(DecryptFlowTest, BlockDecryptsIntoTheViewer) {
  struct Case {
    std::u16string plain;
    std::u16string shown;
  };
  const Case cases[] = {
      {u"hello", u"hello"},
      {u16("秘密の文章です"), u16("秘密の文章です")},
      {u"one\r\ntwo", u"one\r\ntwo"},
      {u"bare\nline\rbreaks", u"bare\r\nline\r\nbreaks"},
  };
  for (const Case& c : cases) {
    std::u16string block = block_for(c.plain, u"pw");
    desktop.prompt_answers = {u"pw"};
    watch(u"Mail text before\r\n" + block + u"\r\nand after.");
    SCOPED_TRACE(testing::utf8(c.plain));
    EXPECT_TRUE(viewer.is_open());
    EXPECT_EQ(viewer.text(), c.shown);
    EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(text::kAskDecrypt)});
    ASSERT_EQ(desktop.prompts.size(), 1u);
    EXPECT_EQ(desktop.prompts[0].prompt, text::kPromptDecryptPassword);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again although the viewer stays open";
    EXPECT_EQ(desktop.clipboard_writes, 1) << "only the block_for write; decrypting never writes";
    desktop.clipboard_writes = 0;
  }
}

// "強力な暗号文だけを読む": a compatible block is refused with its message
// and no text. A text of nothing else asks for no password and opens no
// viewer; beside a strong block, the strong block opens first and the
// message follows.
TEST_F(DecryptFlowTest, StrongOnlyRefusesCompatibleBlocksWithAMessage) {
  const std::u16string compatible = block_for(u"old", u"pw");
  state.settings.strong = true;
  const std::u16string strong = block_for(u"new", u"pw");
  state.settings.strong_only = true;
  const std::u16string refused_one =
      u"互換形式の暗号文 1 件は、途中で変更されたかどうかを確かめられないため、復号せずに拒否しました"
      u"（設定「強力な暗号文だけを読む」）。";
  const struct {
    const char* name;
    std::u16string clip;
    std::size_t prompts;
    std::u16string shown;  // empty: no viewer
  } cases[] = {
      {"a compatible block alone", compatible, 0, u""},
      {"beside a strong block", compatible + u"\r\n" + strong, 1, u"new"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    forget();
    viewer.close();
    desktop.box_answers = {Answer::yes};
    desktop.prompt_answers = {u"pw"};
    watch(c.clip);
    EXPECT_EQ(desktop.prompts.size(), c.prompts);
    EXPECT_EQ(viewer.is_open(), !c.shown.empty());
    EXPECT_EQ(viewer.text(), c.shown);
    EXPECT_EQ(desktop.box_texts(), (std::vector<std::u16string>{std::u16string(text::kAskDecrypt), refused_one}));
    EXPECT_EQ(desktop.boxes.back().icon, Icon::exclamation);
    EXPECT_TRUE(cipher.decrypts.empty()) << "the compatible cipher never sees a refused block";
  }
}

TEST_F(DecryptFlowTest, PasswordSourcesInTheirOrder) {
  struct Case {
    const char* name;
    bool decrypt_password_from_list, decrypt_with_fixed_password, decrypt_with_encrypt_password;
    std::u16string fixed_encrypt_password;  // the stored encryption password
    std::u16string pick;
    std::vector<std::u16string> typed;
    bool shown;  // the viewer shows the plain text
    int prompts;
    bool no_password_box;
  };
  const Case cases[] = {
      {"typed", false, false, false, u"wrong", u"", {u"right"}, true, 1, false},
      {"typed_empty", false, false, false, u"wrong", u"", {}, false, 1, true},
      {"chooser_pick", true, true, true, u"wrong", u"right", {}, true, 0, false},
      {"chooser_no_pick_typed", true, false, false, u"wrong", u"", {u"right"}, true, 1, false},
      {"chooser_no_pick_empty", true, false, false, u"wrong", u"", {}, false, 1, true},
      {"fixed_before_equal", false, true, true, u"wrong", u"", {}, true, 0, false},
      {"equal", false, false, true, u"right", u"", {}, true, 0, false},
  };
  desktop.settings[u"hukugopass"] = u"right";
  std::u16string block = block_for(u"plain", u"right");
  for (const Case& c : cases) {
    forget();
    viewer.close();
    state.settings.decrypt_password_from_list = c.decrypt_password_from_list;
    state.settings.decrypt_with_fixed_password = c.decrypt_with_fixed_password;
    state.settings.decrypt_with_encrypt_password = c.decrypt_with_encrypt_password;
    desktop.settings[u"angopass"] = c.fixed_encrypt_password;
    chooser.pick = c.pick;
    desktop.prompt_answers.assign(c.typed.begin(), c.typed.end());
    watch(block);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(static_cast<int>(desktop.prompts.size()), c.prompts);
    EXPECT_EQ(viewer.is_open(), c.shown);
    if (c.shown) {
      EXPECT_EQ(viewer.text(), u"plain");
    }
    if (c.no_password_box) {
      EXPECT_EQ(desktop.box_texts().back(), text::kNoPasswordAfterChooser);
      EXPECT_EQ(desktop.boxes.back().icon, Icon::exclamation);
      EXPECT_TRUE(cipher.decrypts.empty());
    }
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

// Fixed passwords kept sealed for the Windows user: both flows use them as
// typed. Sealed for another user they are used by neither: a message, no
// block written, nothing decrypted (an unreadable password is not an empty
// one).
TEST_F(DecryptFlowTest, SealedFixedPasswordsServeOnlyTheirUser) {
  for (const FixedPassword which : {FixedPassword::encrypt, FixedPassword::decrypt}) {
    write_fixed_password(desktop, which, *fixed_password_values(desktop, u"right", true));
  }
  state.settings.encrypt_with_fixed_password = true;
  state.settings.decrypt_with_fixed_password = true;
  state.settings.ask_before_encrypt = 0;
  for (const std::u16string_view user : {u"taro", u"hanako"}) {
    SCOPED_TRACE(testing::utf8(user));
    const bool own = user == u"taro";
    desktop.windows_user = user;
    forget();
    viewer.close();
    desktop.clipboard = u"plain";
    flows.on_clipboard_change();
    const std::u16string written = desktop.clipboard.value_or(u"");
    EXPECT_EQ(written != u"plain", own) << "a block only under the readable password";
    if (!own) {
      EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(text::kFixedPasswordUnreadable)});
    }

    desktop.windows_user = u"taro";
    const std::u16string block = block_for(u"plain", u"right");
    desktop.windows_user = user;
    watch(block);
    EXPECT_EQ(viewer.is_open(), own);
    EXPECT_EQ(viewer.text(), own ? u"plain" : u"");
    if (!own) {
      EXPECT_EQ(desktop.box_texts().back(), text::kFixedPasswordUnreadable);
      EXPECT_TRUE(cipher.decrypts.empty());
    }
    EXPECT_TRUE(desktop.prompts.empty());
  }
}

TEST_F(DecryptFlowTest, PasswordLengthIsNotLimitedAndCaseMatters) {
  // A 31-character password, as another program might have used.
  const std::string long_password(31, 'k');
  std::u16string long_block =
      block::frame_compatible_block(block::split_result(ascii(*cipher.encrypt(long_password, long_password))),
                                    block::split_result(ascii(*cipher.encrypt("long", long_password))), 60);
  std::u16string mixed_case = block_for(u"case", u"Secret");
  struct Case {
    std::u16string clip;
    std::u16string password;
    std::u16string shown;
  };
  const Case cases[] = {
      {long_block, std::u16string(31, u'k'), u"long"},
      {mixed_case, u"secret", kWrong},
      {mixed_case, u"Secret", u"case"},
  };
  for (const Case& c : cases) {
    forget();
    desktop.prompt_answers = {c.password};
    watch(c.clip);
    EXPECT_EQ(viewer.text(), c.shown) << testing::utf8(c.password);
  }
}

TEST_F(DecryptFlowTest, SeveralBlocks) {
  std::u16string first = block_for(u"first", u"pw");
  std::u16string second = block_for(u"second", u"pw");
  std::u16string other = block_for(u"other", u"zz");
  struct Case {
    const char* name;
    std::u16string clip;
    std::u16string shown;
    std::vector<std::u16string> boxes_after_question;
  };
  const Case cases[] = {
      {"same password", first + u"\r\n" + second, u"first" + kJoint + u"second", {}},
      {"different passwords", other + u"\r\n\r\n" + second, kWrong + kJoint + u"second", {}},
      {"bad second mode letter", first + u"\r\n" + with_check_mode(second, u'Z'), u"first",
       {std::u16string(text::kLaterFormat)}},
      {"stray end marker after the last block", first + u"\r\n(quiren_end)", u"first", {}},
  };
  for (const Case& c : cases) {
    forget();
    desktop.prompt_answers = {u"pw"};
    watch(c.clip);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(viewer.text(), c.shown);
    std::vector<std::u16string> boxes = desktop.box_texts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(std::vector<std::u16string>(boxes.begin() + 1, boxes.end()), c.boxes_after_question);
    EXPECT_EQ(desktop.prompts.size(), 1u) << "the password is asked once";
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

TEST_F(DecryptFlowTest, FailuresOfTheFirstBlock) {
  std::u16string block = block_for(u"text", u"pw");
  struct Case {
    const char* name;
    std::u16string clip;
    std::u16string box;  // after the question; empty: none at all
    bool asked;
  };
  // The catch-all message, and under it where the block is damaged.
  const auto invalid = [](std::u16string_view where) {
    return std::u16string(text::kInvalidCiphertext) + u"\r\n" + std::u16string(where);
  };
  const std::u16string uneven = invalid(u"暗号文の文字数が合いません。2 行目（最後の行）までのどこかで文字が欠けているか、増えています。");
  const Case cases[] = {
      {"no end marker", u"(quiren_start)\r\nAabc>Adef\r\n", {}, false},
      {"end marker only before the start", u"(quiren_end)\r\n(quiren_start)\r\nAab>Acd\r\n", {}, false},
      {"space inside the start marker", u"x (quiren_ start)" + block.substr(14), {}, false},
      {"unknown mode letter", with_check_mode(block, u'Z'), std::u16string(text::kLaterFormat), true},
      {"no separator", without_separator(block), uneven, true},
      // Damaged armour never reaches the library, whose notices would show a
      // box for every stray character before the password is checked.
      {"a comma in the check field", std::u16string(block).replace(17, 1, u","),
       invalid(u"2 行目の 2 文字目「,」(U+002C) は暗号文に使われない文字です。"), true},
      {"a check field cut short", std::u16string(block).erase(17, 1), uneven, true},
      {"an invisible character the repair does not drop", std::u16string(block).insert(20, u"\u200E"),
       invalid(u"2 行目の 5 文字目にある見えない文字 (U+200E) は暗号文に使われない文字です。"), true},
      {"no separator, whole armour groups", u"(quiren_start)\r\nAGGGGG\r\n(quiren_end)",
       std::u16string(text::kInvalidCiphertext), true},
      {"quoted, unknown mode letter", quoted_lf(with_check_mode(block, u'Z')), std::u16string(text::kLaterFormat),
       true},
  };
  for (const Case& c : cases) {
    forget();
    viewer.show();  // left open by an earlier run
    viewer.set_text(u"earlier");
    desktop.clipboard = c.clip;
    flows.decrypt_clipboard();
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(desktop.prompts.empty()) << "no password asked";
    EXPECT_TRUE(cipher.decrypts.empty());
    std::vector<std::u16string> boxes = desktop.box_texts();
    if (!c.asked) {
      EXPECT_TRUE(boxes.empty());
    } else {
      std::vector<std::u16string> expected{std::u16string(text::kAskDecrypt), std::u16string(c.box)};
      EXPECT_EQ(boxes, expected);
      EXPECT_EQ(desktop.boxes.back().icon, Icon::critical);
      EXPECT_TRUE(desktop.boxes.back().to_front);
    }
    // The catch-all closes the viewer; the other endings leave it alone.
    const bool closed = c.box.starts_with(text::kInvalidCiphertext);
    EXPECT_EQ(viewer.is_open(), !closed);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

TEST_F(DecryptFlowTest, CatchAllOnALaterBlockOrAMissingLibraryClosesTheViewer) {
  std::u16string first = block_for(u"first", u"pw");
  std::u16string second = block_for(u"second", u"pw");
  struct Case {
    const char* name;
    std::u16string clip;
    bool library_missing;
    std::u16string box;
  };
  const Case cases[] = {
      // The second block's body is the fifth line of the text.
      {"second block with a character lost", first + u"\r\n" + std::u16string(second).erase(20, 1), false,
       std::u16string(text::kInvalidCiphertext) +
           u"\r\n暗号文の文字数が合いません。5 行目（最後の行）までのどこかで文字が欠けているか、増えています。"},
      {"library missing", first, true, std::u16string(text::kInvalidCiphertext)},
  };
  for (const Case& c : cases) {
    forget();
    cipher.missing = c.library_missing;
    desktop.prompt_answers = {u"pw"};
    viewer.show();  // left open by an earlier run
    watch(c.clip);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(desktop.box_texts().back(), c.box);
    EXPECT_FALSE(viewer.is_open());
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
  EXPECT_EQ(desktop.settings[u"width"], u"8910") << "closing stored the size";
}

TEST_F(DecryptFlowTest, QuestionOnlyWhenTheSettingIsOne) {
  std::u16string block = block_for(u"text", u"pw");
  struct Case {
    std::uint8_t ask_before_decrypt;
    Answer answer;
    bool asked;
    bool shown;
  };
  for (const Case& c : {Case{1, Answer::no, true, false}, Case{1, Answer::yes, true, true},
                        Case{0, Answer::no, false, true}, Case{2, Answer::no, false, true}}) {
    forget();
    viewer.close();
    state.settings.ask_before_decrypt = c.ask_before_decrypt;
    desktop.box_answers = {c.answer};
    desktop.prompt_answers = {u"pw"};
    watch(block);
    SCOPED_TRACE(int(c.ask_before_decrypt));
    EXPECT_EQ(!desktop.boxes.empty() && desktop.boxes[0].text == text::kAskDecrypt, c.asked);
    if (c.asked) {
      EXPECT_EQ(desktop.boxes[0].buttons, Buttons::yes_no);
      EXPECT_EQ(desktop.boxes[0].icon, Icon::question);
      EXPECT_TRUE(desktop.boxes[0].to_front);
    }
    EXPECT_EQ(viewer.is_open(), c.shown);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

// Started from the menu as from the watch: while it waits for the
// password and while the library works, something copied starts nothing.
TEST_F(DecryptFlowTest, AMenuStartedRunKeepsTheWatchQuietUntilItEnds) {
  std::u16string block = block_for(u"text", u"pw");
  state.settings.ask_before_decrypt = 0;
  desktop.clipboard = block;
  std::vector<bool> live_in_prompt;
  desktop.on_modal = [&] { live_in_prompt.push_back(watch_starts_a_flow()); };
  desktop.prompt_answers = {u"pw"};
  flows.decrypt_clipboard();
  EXPECT_EQ(live_in_prompt, std::vector<bool>{false});
  ASSERT_FALSE(cipher.decrypts.empty());
  for (const auto& call : cipher.decrypts) EXPECT_FALSE(call.watch_live);
  EXPECT_EQ(viewer.text(), u"text");
  EXPECT_TRUE(watch_starts_a_flow());
}

TEST_F(DecryptFlowTest, RunWhileTheViewerIsOpenReplacesTheTextAndKeepsTheSize) {
  std::u16string block = block_for(u"second run", u"pw");
  viewer.show();
  viewer.resize({7000, 5000});
  viewer.set_text(u"first run");
  desktop.prompt_answers = {u"pw"};
  watch(block);
  EXPECT_EQ(viewer.text(), u"second run");
  EXPECT_EQ(viewer.outer_size(), (TwipsSize{7000, 5000}));
}

TEST_F(DecryptFlowTest, MenuWithoutAnyBlockEndsSilently) {
  desktop.clipboard = u"nothing here";
  flows.decrypt_clipboard();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(viewer.is_open());
  EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
}

// What a run cannot give back ends it with a message; the viewer keeps the
// texts so far.
TEST_F(DecryptFlowTest, ABlockThatNeedsASharedTableOrPassesTheLimitEndsTheRun) {
  const std::u16string first = block_for(u"first", u"pw");
  cipher.text_mode_letter = 'B';
  const std::u16string compressed = block_for(u"compressed", u"pw");
  struct Case {
    const char* name;
    std::string mode_b_result;
    std::u16string_view message;
  };
  const Case cases[] = {
      {"shared table missing", "", text::kNeedsSharedTable},
      {"more than a run gives back", std::string(block::kLongestText, 'e'), text::kOverLimit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    forget();
    viewer.close();
    cipher.mode_b_result = c.mode_b_result;
    desktop.prompt_answers = {u"pw"};
    watch(first + u"\r\n" + compressed + u"\r\n" + first);
    EXPECT_EQ(desktop.box_texts().back(), c.message);
    EXPECT_EQ(desktop.boxes.back().icon, Icon::critical);
    EXPECT_TRUE(viewer.is_open());
    EXPECT_EQ(viewer.text(), u"first");
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

}  // namespace
}  // namespace quiren
