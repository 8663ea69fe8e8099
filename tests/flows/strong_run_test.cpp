// Runs the user can see and stop: strong blocks' keys derived in the
// background under a progress window, Cancel, Exit, the question before a
// long run, the viewer's status line, and the shared table of runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "block/derivation_rate.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_block.h"
#include "tests/flows/flow_fixture.h"
#include "tests/support/hex.h"
#include "tools/quiren/linked_cipher.h"
#include "tray/core/progress_form.h"
#include "tray/core/shared_texts.h"
#include "tray/flows/flow_texts.h"
#include "vectors/runs.h"

namespace quiren {
namespace {

namespace text = flows::texts;
using testing::FlowTest;

const std::u16string kJoint(block::kResultJoint);

class StrongRunTest : public FlowTest {
 protected:
  StrongRunTest() { state.settings.strong = true; }

  // Five strong blocks under "pw", their texts "block 1" to "block 5".
  std::u16string five_blocks() {
    std::u16string clip = u"Mail\r\n";
    for (int i = 1; i <= 5; ++i) clip += block_for(u"block " + std::u16string(1, char16_t(u'0' + i)), u"pw") + u"\r\n";
    return clip;
  }

  // Decrypts `clip` the way the watch does, answering the question and the
  // password prompt.
  void decrypt(std::u16string clip) {
    forget();
    desktop.clipboard_writes = 0;
    desktop.background_jobs = 0;
    desktop.clipboard = std::move(clip);
    desktop.box_answers = {Answer::yes};
    desktop.prompt_answers = {u"pw"};
    flows.on_clipboard_change();
  }

  // A block under "pw" whose envelope asks for `iterations`: the test
  // crypto derives cheaply whatever it is asked.
  std::u16string block_with_rounds(std::uint32_t iterations) {
    block::SealParameters p;
    p.iterations = iterations;
    p.salt[0] = p.nonce[0] = 7;
    return block::frame_strong_envelope(block::seal_envelope_with(*crypto, "long", "pw", p).envelope, 60);
  }
};

TEST_F(StrongRunTest, FiveBlocksShowTheProgressWindowThenTheViewerWithItsStatusLine) {
  const std::u16string clip = five_blocks();
  std::vector<std::u16string> seen;
  desktop.while_waiting = [&](ProgressForm& progress) {
    seen.push_back(progress.text() + (progress.shown() ? u" shown" : u""));
    if (seen.size() == 2) desktop.fire_progress_timer();  // half a second has passed
  };
  decrypt(clip);
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"復号しています… (1/5)", u"復号しています… (2/5)",
                                               u"復号しています… (3/5) shown", u"復号しています… (4/5) shown",
                                               u"復号しています… (5/5) shown"}));
  ASSERT_TRUE(viewer.is_open());
  EXPECT_EQ(viewer.text(), u"block 1" + kJoint + u"block 2" + kJoint + u"block 3" + kJoint + u"block 4" + kJoint +
                               u"block 5");
  EXPECT_EQ(viewer.status_line(), u"強力な暗号化 5 件、互換形式 0 件");
}

// Cancel while the third key is derived: no viewer, no message, the
// clipboard as it was, and the watch live again at once. A viewer an
// earlier run left open keeps what it showed.
TEST_F(StrongRunTest, CancelAtTheThirdBlockShowsNothingAndChangesNothing) {
  const std::u16string clip = five_blocks();
  for (const bool viewer_open_before : {false, true}) {
    SCOPED_TRACE(viewer_open_before);
    viewer.close();
    if (viewer_open_before) {
      viewer.show();
      viewer.set_text(u"earlier");
    }
    int waits = 0;
    desktop.while_waiting = [&](ProgressForm& progress) {
      if (++waits == 3) progress.cancel();
    };
    crypto->derivations = 0;
    decrypt(clip);
    EXPECT_EQ(waits, 3) << "nothing after the cancelled block";
    EXPECT_EQ(crypto->derivations, 2) << "the third job was abandoned before it derived";
    EXPECT_EQ(viewer.is_open(), viewer_open_before);
    EXPECT_EQ(viewer.text(), viewer_open_before ? u"earlier" : u"");
    EXPECT_EQ(desktop.clipboard, clip);
    EXPECT_EQ(desktop.clipboard_writes, 0);
    EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(text::kAskDecrypt)});
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the run ends";
  }
}

// While a run waits for its worker the window thread goes on: a clipboard
// change and the menu's commands start nothing.
TEST_F(StrongRunTest, NothingStartsWhileARunWaits) {
  std::vector<bool> watch_live;
  desktop.while_waiting = [&](ProgressForm&) {
    watch_live.push_back(watch_starts_a_flow());
    const std::size_t boxes = desktop.boxes.size();
    flows.encrypt_clipboard();
    flows.decrypt_clipboard();
    EXPECT_EQ(desktop.boxes.size(), boxes) << "no other flow asked anything";
  };
  desktop.clipboard = u"text";
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"pw"};
  flows.encrypt_clipboard();
  const std::u16string block = desktop.clipboard.value_or(u"");
  decrypt(block + u"\r\n" + block);
  EXPECT_EQ(watch_live, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(viewer.is_open());
}

// The program ends (exit from the tray menu) while a key is derived: the
// run stops as if cancelled, and shows nothing after the windows closed.
TEST_F(StrongRunTest, TheProgramEndingStopsARun) {
  const std::u16string clip = five_blocks();
  desktop.while_waiting = [&](ProgressForm&) { flows.cancel_run(); };
  decrypt(clip);
  EXPECT_EQ(desktop.background_jobs, 1);
  EXPECT_FALSE(viewer.is_open());
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(text::kAskDecrypt)});
  flows.cancel_run();  // with no run going on, nothing to stop
}

// Exit while the rounds question or the password prompt is open ends the
// run there, whatever the box or the prompt gives back as it closes: no key
// is derived after the tray icon is gone, and nothing more is shown.
TEST_F(StrongRunTest, ExitWhileTheQuestionOrThePromptIsOpenDerivesNothing) {
  std::u16string long_run;
  for (int i = 0; i < 4; ++i) long_run += block_with_rounds(block::kMaxReadIterations) + u"\r\n";
  const struct {
    const char* name;
    std::u16string clip;
    std::size_t exit_at_modal;  // the modal open when Exit comes: 1 the question or the prompt after the decrypt question
    std::vector<Answer> boxes;  // what the boxes give back as they close
    std::vector<std::u16string> typed;
  } cases[] = {
      {"the rounds question, which closes with Yes", long_run, 1, {Answer::yes, Answer::yes}, {u"pw"}},
      {"the password prompt, which closes empty", five_blocks(), 1, {Answer::yes}, {}},
      {"the password prompt, which closes with the password", five_blocks(), 1, {Answer::yes}, {u"pw"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    forget();
    viewer.close();
    crypto->derived_iterations.clear();
    desktop.background_jobs = 0;
    std::size_t modals = 0;
    desktop.on_modal = [&] {
      if (modals++ == c.exit_at_modal) flows.cancel_run();
    };
    desktop.clipboard = c.clip;
    desktop.box_answers.assign(c.boxes.begin(), c.boxes.end());
    desktop.prompt_answers.assign(c.typed.begin(), c.typed.end());
    flows.on_clipboard_change();
    desktop.on_modal = nullptr;

    const auto block_derivations = std::count_if(crypto->derived_iterations.begin(), crypto->derived_iterations.end(),
                                                  [](std::uint32_t n) { return n != block::kRateProbeRounds; });
    EXPECT_EQ(block_derivations, 0);
    EXPECT_EQ(desktop.background_jobs, 0);
    EXPECT_EQ(modals, 2u) << "nothing asked or said after Exit";
    EXPECT_FALSE(viewer.is_open());
  }
}

// The shared table of runs (tests/vectors/runs.json), as the tray makes
// them with the real compatible cipher: the question before a long run
// answered by the table's user, Cancel pressed once the block it names is
// done; the key derivations counted (the estimate's own short derivation
// aside), the questions asked, the viewer showing exactly the texts the
// run keeps, and the refusal of compatible blocks where the case reads
// strong blocks only.
TEST_F(StrongRunTest, TheRunsOfTheSharedTable) {
  tool::LinkedCipher linked;
  ClipboardFlows table_flows{state, desktop, linked, crypto, chooser, viewer, keys};
  for (const testing::vectors::RunCase& run : testing::vectors::kRunCases) {
    SCOPED_TRACE(run.name);
    forget();
    // The runs with a secret key: the user's, held by the key ring.
    keys.mine.reset();
    if (!run.secret_key_hex.empty()) {
      block::SecretKey secret = testing::secret_key_from_hex(run.secret_key_hex);
      const block::X25519PublicKey public_key = crypto->x25519_public_key(secret).value();
      keys.mine = block::X25519KeyPair{std::move(secret), public_key};
    }
    viewer.close();
    crypto->derived_iterations.clear();
    desktop.clipboard = std::u16string(run.received);
    state.settings.strong_only = run.strong_only;
    desktop.box_answers = {Answer::yes};  // the decrypt question
    for (const bool goes_on : run.answers) desktop.box_answers.push_back(goes_on ? Answer::yes : Answer::no);
    desktop.prompt_answers = {std::u16string(run.password)};
    desktop.while_waiting = [&run](ProgressForm& progress) {
      if (run.cancel_after >= 0 && progress.bar_position() > static_cast<std::size_t>(run.cancel_after)) {
        progress.cancel();
      }
    };
    table_flows.decrypt_clipboard();
    desktop.while_waiting = nullptr;

    const auto block_derivations = std::count_if(crypto->derived_iterations.begin(), crypto->derived_iterations.end(),
                                                  [](std::uint32_t n) { return n != block::kRateProbeRounds; });
    EXPECT_EQ(block_derivations, run.derivations);
    const auto questions = std::count_if(desktop.boxes.begin(), desktop.boxes.end(), [](const MessageBoxSpec& box) {
      return box.text.starts_with(text::kAskLongRun.substr(0, text::kAskLongRun.find(u'{')));
    });
    EXPECT_EQ(static_cast<std::size_t>(questions), run.rounds_asked.size());
    EXPECT_EQ(desktop.prompts.size(), run.password_asked ? 1u : 0u);
    std::u16string shown;
    std::size_t pieces = 0;
    for (const testing::vectors::RunBlock& block : run.blocks) {
      const bool strong = block.kind == testing::vectors::BlockFormat::strong;
      std::u16string_view piece = block.text;
      if (block.outcome == "wrong_password") piece = strong ? text::kStrongNotOpened : text::kWrongPassword;
      else if (block.outcome == "needs_key") piece = text::kNeedsKey;
      else if (block.outcome == "not_for_this_key") piece = text::kNotForThisKey;
      else if (block.outcome != "opened") continue;
      if (pieces++ > 0) shown += kJoint;
      shown += piece;
    }
    if (!run.texts_kept) shown.clear();
    EXPECT_EQ(viewer.is_open(), !shown.empty());
    EXPECT_EQ(viewer.text(), viewer.is_open() ? shown : u"");
    // Refused blocks are said once, when the run kept its texts.
    const auto refused = std::count_if(run.blocks.begin(), run.blocks.end(), [](const auto& block) {
      return block.outcome == "compatible_refused";
    });
    const auto refusals = std::count_if(desktop.boxes.begin(), desktop.boxes.end(), [](const MessageBoxSpec& box) {
      return box.text.starts_with(u"互換形式の暗号文 ");
    });
    EXPECT_EQ(refusals, refused > 0 && run.texts_kept ? 1 : 0);
  }
  state.settings.strong_only = false;
}

TEST_F(StrongRunTest, CancellingAnEncryptionLeavesTheClipboardAlone) {
  desktop.while_waiting = [&](ProgressForm& progress) {
    EXPECT_EQ(progress.text(), core::texts::kProgressEncrypting);
    desktop.fire_progress_timer();
    EXPECT_TRUE(progress.shown());
    progress.cancel();
  };
  desktop.clipboard = u"the text";
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"pw"};
  flows.on_clipboard_change();
  EXPECT_EQ(desktop.clipboard, u"the text");
  EXPECT_EQ(desktop.clipboard_writes, 0);
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(text::kAskEncrypt)});
  EXPECT_TRUE(watch_starts_a_flow());
}

// Blocks that ask for more rounds together than fifty of the writers' do:
// asked before the password, No the default, and No derives nothing of
// theirs (the estimate's own short derivation aside).
TEST_F(StrongRunTest, ALongRunIsAskedAboutAndNoIsTheDefault) {
  std::u16string clip;
  for (int i = 0; i < 4; ++i) clip += block_with_rounds(block::kMaxReadIterations) + u"\r\n";
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    forget();
    crypto->derived_iterations.clear();
    desktop.clipboard = clip;
    desktop.box_answers = {Answer::yes};  // the decrypt question; the next box gets its default
    if (yes) desktop.box_answers.push_back(Answer::yes);
    desktop.prompt_answers = {u"pw"};
    flows.on_clipboard_change();

    ASSERT_GE(desktop.boxes.size(), 2u);
    const MessageBoxSpec& question = desktop.boxes[1];
    EXPECT_TRUE(question.text.starts_with(u"この文章の暗号文 4 件の復号には時間がかかります（約 "))
        << testing::utf8(question.text);
    EXPECT_TRUE(question.text.ends_with(u"）。続けますか？")) << testing::utf8(question.text);
    EXPECT_EQ(question.buttons, Buttons::yes_no);
    EXPECT_EQ(question.icon, Icon::question);
    EXPECT_TRUE(question.second_is_default);
    const int block_derivations = static_cast<int>(std::count(
        crypto->derived_iterations.begin(), crypto->derived_iterations.end(), block::kMaxReadIterations));
    if (!yes) {
      EXPECT_TRUE(desktop.prompts.empty()) << "asked before the password";
      EXPECT_EQ(block_derivations, 0);
      EXPECT_FALSE(viewer.is_open());
    } else {
      EXPECT_EQ(desktop.prompts.size(), 1u);
      EXPECT_EQ(block_derivations, 4);
      EXPECT_EQ(viewer.status_line(), u"強力な暗号化 4 件、互換形式 0 件");
    }
  }
}

// The viewer says which formats the text came in, outside its text: a
// compatible block can be changed without the password, unnoticed.
TEST_F(StrongRunTest, TheStatusLineCountsBothFormatsAndWarnsOfCompatibleOnes) {
  const std::u16string strong = block_for(u"new", u"pw");
  state.settings.strong = false;
  const std::u16string compatible = block_for(u"old", u"pw");
  const std::u16string unprotected =
      std::u16string(text::kViewerFormatsJoint) + std::u16string(text::kCompatibleUnprotected);
  const struct {
    const char* name;
    std::u16string clip;
    std::u16string shown;
    std::u16string status;
  } cases[] = {
      {"strong", strong, u"new", u"強力な暗号化 1 件、互換形式 0 件"},
      {"compatible", compatible, u"old", u"強力な暗号化 0 件、互換形式 1 件" + unprotected},
      {"both", strong + u"\r\n" + compatible, u"new" + kJoint + u"old", u"強力な暗号化 1 件、互換形式 1 件" + unprotected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    decrypt(c.clip);
    EXPECT_EQ(viewer.text(), c.shown) << "the text itself is unchanged";
    EXPECT_EQ(viewer.status_line(), c.status);
  }
  viewer.close();
  EXPECT_EQ(viewer.status_line(), u"") << "the line goes with the window";
}

}  // namespace
}  // namespace quiren
