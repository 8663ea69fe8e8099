#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/flows/flow_fixture.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

namespace text = flows::texts;
using testing::FlowTest;
using testing::u16;
using testing::utf8;

std::vector<std::u16string> lines_of(const std::u16string& block) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = block.find(u"\r\n", start)) != std::u16string::npos; start = at + 2) {
    lines.push_back(block.substr(start, at - start));
  }
  lines.push_back(block.substr(start));
  return lines;
}

// These tests write compatible blocks: the closing message says so, and
// what such a block cannot protect.
const std::u16string kEncrypted = text::encrypted_message(false);

bool is_block(const std::optional<std::u16string>& clip) {
  return clip && clip->starts_with(u"(quiren_start)\r\n") && clip->ends_with(u"\r\n(quiren_end)");
}

// Where the password comes from, and what the user and the store give.
struct PasswordCase {
  const char* name;
  bool encrypt_password_from_list;
  bool encrypt_with_fixed_password;
  std::u16string pick;                    // the chooser's pick
  std::optional<std::u16string> fixed_password; // stored fixed password
  std::vector<std::u16string> typed;      // prompt answers
  std::optional<std::u16string> used;     // the password encrypted under; nullopt: refused
  std::u16string_view refusal;            // the box shown instead of success
  int chooser_calls;
  int prompts;
};

class EncryptPasswordTest : public FlowTest, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(EncryptPasswordTest, PasswordSourceAndRefusals) {
  const PasswordCase& c = GetParam();
  state.settings.encrypt_password_from_list = c.encrypt_password_from_list;
  state.settings.encrypt_with_fixed_password = c.encrypt_with_fixed_password;
  chooser.pick = c.pick;
  if (c.fixed_password) desktop.settings[u"angopass"] = *c.fixed_password;
  desktop.prompt_answers.assign(c.typed.begin(), c.typed.end());
  desktop.clipboard = u"secret text";

  flows.on_clipboard_change();

  EXPECT_EQ(chooser.calls, c.chooser_calls);
  EXPECT_EQ(static_cast<int>(desktop.prompts.size()), c.prompts);
  for (const auto& prompt : desktop.prompts) {
    EXPECT_EQ(prompt.prompt, text::kPromptEncryptPassword);
    EXPECT_EQ(prompt.title, u"む～くいれん");
  }
  EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  ASSERT_FALSE(desktop.boxes.empty());
  EXPECT_EQ(desktop.boxes.front().text, text::kAskEncrypt);
  if (c.used) {
    ASSERT_EQ(cipher.encrypts.size(), 2u);
    EXPECT_EQ(cipher.encrypts[0].text, "secret text");
    EXPECT_EQ(cipher.encrypts[0].password, utf8(*c.used));
    EXPECT_EQ(cipher.encrypts[1].text, utf8(*c.used)) << "check field: the password under itself";
    EXPECT_EQ(cipher.encrypts[1].password, utf8(*c.used));
    EXPECT_TRUE(is_block(desktop.clipboard));
    EXPECT_EQ(desktop.box_texts().back(), kEncrypted);
  } else {
    EXPECT_TRUE(cipher.encrypts.empty());
    EXPECT_EQ(desktop.clipboard, u"secret text");
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[1].text, c.refusal);
    const bool too_long = c.refusal == text::kPasswordTooLong;
    EXPECT_EQ(desktop.boxes[1].icon, too_long ? Icon::critical : Icon::exclamation);
    EXPECT_EQ(desktop.boxes[1].buttons, Buttons::ok);
  }
}

const std::u16string k30(30, u'p');
const std::u16string k31(31, u'p');

INSTANTIATE_TEST_SUITE_P(
    Sources, EncryptPasswordTest,
    ::testing::Values(
        PasswordCase{"typed", false, false, u"", std::nullopt, {u"pw"}, u"pw", {}, 0, 1},
        PasswordCase{"typed_empty", false, false, u"", std::nullopt, {}, std::nullopt,
                     text::kNoPasswordTyped, 0, 1},
        PasswordCase{"typed_30", false, false, u"", std::nullopt, {k30}, k30, {}, 0, 1},
        PasswordCase{"typed_31", false, false, u"", std::nullopt, {k31}, std::nullopt,
                     text::kPasswordTooLong, 0, 1},
        PasswordCase{"chooser_pick", true, false, u"listed", std::nullopt, {}, u"listed", {}, 1, 0},
        PasswordCase{"chooser_wins_over_fixed", true, true, u"listed", u"fixed", {}, u"listed", {}, 1, 0},
        PasswordCase{"chooser_no_pick_typed", true, false, u"", std::nullopt, {u"typed"}, u"typed", {}, 1, 1},
        PasswordCase{"chooser_no_pick_empty", true, false, u"", std::nullopt, {}, std::nullopt,
                     text::kNoPasswordAfterChooser, 1, 1},
        PasswordCase{"chooser_30", true, false, k30, std::nullopt, {}, k30, {}, 1, 0},
        PasswordCase{"chooser_31", true, false, k31, std::nullopt, {}, std::nullopt,
                     text::kPasswordTooLong, 1, 0},
        PasswordCase{"fixed", false, true, u"", u"fixed", {}, u"fixed", {}, 0, 0},
        PasswordCase{"fixed_30", false, true, u"", k30, {}, k30, {}, 0, 0},
        PasswordCase{"fixed_31", false, true, u"", k31, {}, std::nullopt, text::kPasswordTooLong, 0, 0},
        // An empty password would encrypt nothing at all.
        PasswordCase{"fixed_empty", false, true, u"", u"", {}, std::nullopt, text::kNoPasswordTyped, 0, 0},
        PasswordCase{"fixed_absent", false, true, u"", std::nullopt, {}, std::nullopt,
                     text::kNoPasswordTyped, 0, 0}),
    [](const auto& test_info) { return std::string(test_info.param.name); });

class EncryptFlowTest : public FlowTest {};

TEST_F(EncryptFlowTest, WatchPathLimitsTheTextButTheMenuPathDoesNot) {
  struct Case {
    bool menu;
    std::size_t length;
    bool encrypted;
  };
  for (const Case& c : {Case{false, 20'480, true}, Case{false, 20'481, false}, Case{true, 20'481, true}}) {
    forget();
    desktop.clipboard = std::u16string(c.length, u'a');
    desktop.box_answers = {Answer::yes};
    desktop.prompt_answers = {u"pw"};
    c.menu ? flows.encrypt_clipboard() : flows.on_clipboard_change();
    SCOPED_TRACE(::testing::Message() << (c.menu ? "menu " : "watch ") << c.length);
    EXPECT_EQ(is_block(desktop.clipboard), c.encrypted);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
    if (!c.encrypted) {
      EXPECT_EQ(desktop.box_texts(), (std::vector<std::u16string>{std::u16string(text::kAskEncrypt),
                                                                  std::u16string(text::kTextTooLong)}));
      EXPECT_EQ(desktop.boxes[1].icon, Icon::critical);
      EXPECT_TRUE(desktop.prompts.empty());
    }
  }
}

TEST_F(EncryptFlowTest, QuestionAndSuccessBoxes) {
  desktop.clipboard = u"hello";
  desktop.prompt_answers = {u"pw"};
  flows.on_clipboard_change();
  ASSERT_EQ(desktop.boxes.size(), 2u);
  const MessageBoxSpec& question = desktop.boxes[0];
  EXPECT_EQ(question.buttons, Buttons::yes_no);
  EXPECT_EQ(question.icon, Icon::question);
  EXPECT_TRUE(question.to_front);
  EXPECT_EQ(question.title, u"む～くいれん");
  const MessageBoxSpec& done = desktop.boxes[1];
  EXPECT_EQ(done.text, kEncrypted);
  EXPECT_EQ(done.icon, Icon::information);
  EXPECT_TRUE(done.to_front);
  // The write happens while the flow runs: the change it causes starts
  // nothing.
  EXPECT_EQ(desktop.watch_live_at_writes, std::vector<bool>{false});
}

TEST_F(EncryptFlowTest, QuestionSettingOnlyGovernsTheWatchPath) {
  struct Case {
    std::uint8_t ask_before_encrypt;
    bool menu;
    Answer answer;
    bool asked;
    bool encrypted;
  };
  const Case cases[] = {
      {1, false, Answer::no, true, false}, {0, false, Answer::no, false, true},
      {7, false, Answer::yes, true, true}, {0, true, Answer::yes, true, true},
      {0, true, Answer::no, true, false},
  };
  for (const Case& c : cases) {
    forget();
    state.settings.ask_before_encrypt = c.ask_before_encrypt;
    desktop.clipboard = u"hello";
    desktop.box_answers = {c.answer};
    desktop.prompt_answers = {u"pw"};
    c.menu ? flows.encrypt_clipboard() : flows.on_clipboard_change();
    SCOPED_TRACE(::testing::Message() << "ask before encrypting: " << int(c.ask_before_encrypt) << (c.menu ? " menu" : " watch"));
    EXPECT_EQ(!desktop.boxes.empty() && desktop.boxes[0].text == text::kAskEncrypt, c.asked);
    EXPECT_EQ(is_block(desktop.clipboard), c.encrypted);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

TEST_F(EncryptFlowTest, ClipboardWithoutTextStartsNothing) {
  desktop.clipboard.reset();
  flows.on_clipboard_change();
  flows.encrypt_clipboard();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
}

TEST_F(EncryptFlowTest, TextHoldingTheStartMarkerGoesToTheDecryptFlow) {
  desktop.clipboard = u"see (quiren_start) but no end";
  flows.on_clipboard_change();
  EXPECT_TRUE(desktop.boxes.empty()) << "neither the encrypt question nor the decrypt one";
  EXPECT_TRUE(cipher.encrypts.empty());
  EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
}

// Behind the mask a typo would lock the text away: the encrypt prompt asks
// for the password twice, the decrypt prompt once.
TEST_F(EncryptFlowTest, TheTypedPasswordMustBeTypedTwiceAlike) {
  desktop.clipboard = u"secret text";
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"合言葉"};
  desktop.confirmation_answers = {u"合言葉!"};
  flows.on_clipboard_change();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].kind, testing::PromptKind::confirmed_password);
  EXPECT_EQ(desktop.box_texts(),
            (std::vector<std::u16string>{std::u16string(text::kAskEncrypt), std::u16string(core::texts::kPasswordsDiffer),
                                         std::u16string(text::kNoPasswordTyped)}))
      << "differing, then cancelled";
  EXPECT_TRUE(cipher.encrypts.empty());
  EXPECT_EQ(desktop.clipboard, u"secret text");
  EXPECT_EQ(desktop.clipboard_writes, 0);

  // Differing twice, then alike: the block is made under the password typed
  // alike, and once.
  forget();
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"one", u"two", u"合言葉"};
  desktop.confirmation_answers = {u"uno", u"dos", u"合言葉"};
  flows.on_clipboard_change();
  EXPECT_EQ(desktop.prompts.size(), 1u);
  ASSERT_EQ(cipher.encrypts.size(), 2u);
  EXPECT_EQ(cipher.encrypts[0].password, desktop.to_ansi(u"合言葉").bytes);
  EXPECT_EQ(desktop.box_texts().back(), kEncrypted);

  // Decrypting asks once.
  forget();
  desktop.prompt_answers = {u"合言葉"};
  desktop.box_answers = {Answer::yes};
  flows.on_clipboard_change();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(desktop.prompts[0].kind, testing::PromptKind::password);
  EXPECT_EQ(desktop.prompts[0].prompt, text::kPromptDecryptPassword);
}

// What a password manager copies, or this program's viewer, is marked for
// clipboard monitors to leave alone: the watch starts nothing for it, the
// menu's commands still take it.
TEST_F(EncryptFlowTest, ContentsKeptFromMonitorsStartNoFlowFromTheWatch) {
  // Without the question, the watch would otherwise replace a copied
  // password by a block at once.
  state.settings.ask_before_encrypt = 0;
  state.settings.ask_before_decrypt = 0;
  const std::u16string block = block_for(u"text", u"pw");
  for (const std::u16string& copied : {std::u16string(u"hunter2"), block}) {
    SCOPED_TRACE(utf8(copied));
    forget();
    desktop.clipboard = copied;
    desktop.clipboard_private = true;
    desktop.prompt_answers = {u"pw"};
    flows.on_clipboard_change();
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_TRUE(desktop.prompts.empty());
    EXPECT_TRUE(cipher.encrypts.empty());
    EXPECT_TRUE(cipher.decrypts.empty());
    EXPECT_EQ(desktop.clipboard, copied);
    EXPECT_FALSE(viewer.is_open());
    EXPECT_TRUE(watch_starts_a_flow()) << "nothing is left busy";
  }

  // The user asked: the menu's commands take such contents.
  forget();
  desktop.clipboard = u"hunter2";
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"pw"};
  flows.encrypt_clipboard();
  EXPECT_EQ(desktop.box_texts().back(), kEncrypted);
  forget();
  desktop.clipboard = block;
  desktop.prompt_answers = {u"pw"};
  flows.decrypt_clipboard();
  EXPECT_EQ(viewer.text(), u"text");
}

TEST_F(EncryptFlowTest, AfterTheChooserClosesTheFlowGoesOnAndTheWatchIsQuietUntilItEnds) {
  state.settings.encrypt_password_from_list = true;
  chooser.pick = u"listed";
  std::vector<bool> live_while_choosing;
  chooser.while_open = [&] { live_while_choosing.push_back(watch_starts_a_flow()); };
  std::vector<bool> live_in_boxes;
  desktop.on_modal = [&] { live_in_boxes.push_back(watch_starts_a_flow()); };
  desktop.clipboard = u"hello";
  flows.on_clipboard_change();
  EXPECT_EQ(live_while_choosing, std::vector<bool>{false});
  ASSERT_EQ(cipher.encrypts.size(), 2u);
  EXPECT_FALSE(cipher.encrypts[0].watch_live);
  EXPECT_FALSE(cipher.encrypts[1].watch_live);
  EXPECT_EQ(desktop.box_texts().back(), kEncrypted);
  EXPECT_EQ(live_in_boxes, (std::vector<bool>{false, false})) << "the question and the success box";
  EXPECT_TRUE(watch_starts_a_flow());
}

// The flows' boxes and prompts go on dispatching messages, so the tray menu
// stays usable while a flow waits in one; what it starts meanwhile does
// nothing.
TEST_F(EncryptFlowTest, NoFlowStartsInsideAnother) {
  desktop.clipboard = u"hello";
  desktop.prompt_answers = {u"pw"};
  int nested = 0;
  desktop.on_modal = [&] {
    if (nested++ > 0) return;
    flows.encrypt_clipboard();
    flows.decrypt_clipboard();
    flows.on_clipboard_change();
  };
  flows.on_clipboard_change();
  EXPECT_EQ(desktop.box_texts(), (std::vector<std::u16string>{std::u16string(text::kAskEncrypt),
                                                              std::u16string(kEncrypted)}));
  EXPECT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(cipher.encrypts.size(), 2u);

  // Once it has ended, the menu's commands work again.
  forget();
  desktop.on_modal = nullptr;
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"pw"};
  flows.encrypt_clipboard();
  EXPECT_EQ(cipher.encrypts.size(), 2u);
}

TEST_F(EncryptFlowTest, FailuresAreReportedAndLeaveTheClipboardAlone) {
  struct Case {
    const char* name;
    bool library_missing;
    bool write_fails;
    std::u16string_view message;
  };
  const Case cases[] = {
      {"library missing", true, false, text::kLibraryMissing},
      {"clipboard write fails", false, true, text::kClipboardNotWritten},
  };
  for (const Case& c : cases) {
    forget();
    cipher.missing = c.library_missing;
    desktop.clipboard_write_fails = c.write_fails;
    desktop.clipboard = u"hello";
    desktop.prompt_answers = {u"pw"};
    flows.on_clipboard_change();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(desktop.clipboard, u"hello");
    EXPECT_EQ(desktop.box_texts().back(), c.message);
    EXPECT_EQ(desktop.boxes.back().icon, Icon::critical);
    for (const auto& box : desktop.boxes) EXPECT_NE(box.text, kEncrypted);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

// A failing library may answer with nothing or a cut-off result (under
// memory pressure, say): the user's text stays on the clipboard.
TEST_F(EncryptFlowTest, AnImplausibleLibraryResultLeavesTheClipboardAlone) {
  struct Case {
    const char* name;
    std::optional<std::string> text_result;
    char text_mode_letter;
  };
  const Case cases[] = {
      {"unexpected mode letter", std::nullopt, 'C'},
      {"empty result", std::string(), 'A'},
      {"no mode letter", std::string("GGGGG"), 'A'},
      {"field not whole armour groups", std::string("GGGGGGA"), 'A'},
      {"field outside the armour", std::string("GG,GGA"), 'A'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    forget();
    cipher.text_mode_letter = c.text_mode_letter;
    cipher.text_result = c.text_result;
    desktop.clipboard = u"cut text";
    desktop.prompt_answers = {u"pw"};
    flows.on_clipboard_change();
    EXPECT_EQ(desktop.box_texts(), (std::vector<std::u16string>{std::u16string(text::kAskEncrypt),
                                                                std::u16string(text::kEncryptMayHaveFailed)}));
    EXPECT_EQ(desktop.boxes[1].icon, Icon::critical);
    EXPECT_EQ(desktop.clipboard, u"cut text");
    EXPECT_EQ(desktop.clipboard_writes, 0);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

TEST_F(EncryptFlowTest, WrapWidthOutsideTheDialogsRangeIsClamped) {
  struct Case {
    std::int16_t wrap_width;
    std::size_t longest;
  };
  for (const Case& c : {Case{0, 10}, Case{-5, 10}, Case{10, 10}, Case{100, 100}, Case{500, 100}}) {
    state.settings.wrap_width = c.wrap_width;
    std::u16string block = block_for(std::u16string(300, u'a'), u"pw");
    SCOPED_TRACE(c.wrap_width);
    std::vector<std::u16string> lines = lines_of(block);
    ASSERT_GE(lines.size(), 3u);
    std::size_t longest = 0;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) longest = std::max(longest, lines[i].size());
    EXPECT_EQ(longest, c.longest);
  }
}

class WesternEncryptTest : public FlowTest {
 protected:
  WesternEncryptTest() : FlowTest(1252) {}
};

TEST_F(WesternEncryptTest, CharactersTheCodePageCannotHoldAreRefusedBeforeTheLibrary) {
  struct Case {
    std::u16string clip;
    std::u16string password;
    std::u16string_view message;
    int prompts;
  };
  const Case cases[] = {
      {u16("秘密の文章"), u"pw", text::kTextNotInCodePage, 0},
      {u"plain", u16("合言葉"), text::kPasswordNotInCodePage, 1},
  };
  for (const Case& c : cases) {
    forget();
    desktop.clipboard = c.clip;
    desktop.prompt_answers = {c.password};
    flows.on_clipboard_change();
    EXPECT_TRUE(cipher.encrypts.empty());
    EXPECT_EQ(desktop.clipboard, c.clip);
    EXPECT_EQ(static_cast<int>(desktop.prompts.size()), c.prompts);
    EXPECT_EQ(desktop.box_texts().back(), c.message);
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
  // Western accented text is fine there.
  std::u16string block = block_for(u16("café"), u"pw");
  EXPECT_TRUE(is_block(block));
}

TEST_F(EncryptFlowTest, JapaneseIsPassedToTheLibraryInTheCodePage) {
  desktop.clipboard = u16("秘密");
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u16("合言葉")};
  flows.encrypt_clipboard();
  ASSERT_EQ(cipher.encrypts.size(), 2u);
  EXPECT_EQ(cipher.encrypts[0].text, "\x94\xe9\x96\xa7");  // CP932
  EXPECT_EQ(cipher.encrypts[0].password, "\x8d\x87\x8c\xbe\x97\x74");
}

// The menu path has no length limit of its own, but no text is encrypted
// that no block could give back whole.
TEST_F(EncryptFlowTest, ATextLongerThanABlockCarriesIsRefusedBeforeThePassword) {
  for (const bool strong : {false, true}) {
    SCOPED_TRACE(strong);
    forget();
    state.settings.strong = strong;
    desktop.clipboard = std::u16string(block::kLongestText + 1, u'a');
    desktop.box_answers = {Answer::yes};
    flows.encrypt_clipboard();
    EXPECT_EQ(desktop.box_texts().back(), text::kTextTooLongToEncrypt);
    EXPECT_TRUE(desktop.prompts.empty());
    EXPECT_EQ(desktop.clipboard_writes, 0);
  }
}

}  // namespace
}  // namespace quiren
