// The flows with "strong" on: what they write and read, and what only a
// strong block may carry.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "block/strong/strong_envelope.h"
#include "block/strong_block.h"
#include "tests/flows/flow_fixture.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

namespace text = flows::texts;
using testing::FlowTest;
using testing::u16;

class StrongFlowTest : public FlowTest {
 protected:
  explicit StrongFlowTest(int code_page = 932) : FlowTest(code_page) { state.settings.strong = true; }

  // Decrypts `clip` the way the watch does, answering the prompt.
  void decrypt(std::u16string clip, std::u16string password) {
    forget();
    viewer.close();
    desktop.clipboard = std::move(clip);
    desktop.box_answers = {Answer::yes};
    desktop.prompt_answers = {std::move(password)};
    flows.on_clipboard_change();
  }
};

class WesternStrongFlowTest : public StrongFlowTest {
 protected:
  WesternStrongFlowTest() : StrongFlowTest(1252) {}
};

TEST_F(StrongFlowTest, WritesAStrongBlockThatOpensInTheViewer) {
  const std::u16string plain = u16("秘密の会議は正午に。\r\n二行目");
  const std::u16string block = block_for(plain, u"pw");
  EXPECT_TRUE(block.starts_with(u"(quiren_start)\r\nC")) << testing::utf8(block);
  EXPECT_TRUE(block.ends_with(u"\r\n(quiren_end)"));
  EXPECT_NE(block_for(plain, u"pw"), block) << "a fresh salt and nonce every time";
  EXPECT_TRUE(cipher.encrypts.empty()) << "the compatible cipher is not used";

  decrypt(u"Mail text\r\n" + block + u"\r\nbye", u"pw");
  EXPECT_TRUE(viewer.is_open());
  EXPECT_EQ(viewer.text(), plain);
  EXPECT_TRUE(cipher.decrypts.empty());
  EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
}

TEST_F(StrongFlowTest, KeysAreDerivedInTheBackgroundAndTheClosingMessageNamesTheFormat) {
  desktop.clipboard = u"text";
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"pw"};
  flows.encrypt_clipboard();
  EXPECT_EQ(desktop.background_jobs, 1);
  EXPECT_EQ(desktop.box_texts().back(), text::kEncryptedStrong);
  const std::u16string block = *desktop.clipboard;
  decrypt(block + u"\r\n" + block, u"pw");
  EXPECT_EQ(desktop.background_jobs, 3) << "one job per strong block";
}

TEST_F(StrongFlowTest, AWrongPasswordOrAChangedBlockShowsTheTextThatNamesBoth) {
  const std::u16string block = block_for(u"the text", u"pw");
  // One character of the last body line (the tag) changed.
  std::u16string changed = block;
  const std::size_t at = block.size() - 20;
  changed[at] = changed[at] == u'G' ? u'g' : u'G';
  decrypt(block + u"\r\n" + changed, u"pw");
  EXPECT_EQ(viewer.text(), u"the text" + std::u16string(block::kResultJoint) + std::u16string(text::kStrongNotOpened));
  decrypt(block, u"PW");
  EXPECT_EQ(viewer.text(), text::kStrongNotOpened);
}

TEST_F(StrongFlowTest, BothKindsInOneTextTakeOnePassword) {
  state.settings.strong = false;
  const std::u16string compatible = block_for(u"old", u"pw");
  state.settings.strong = true;
  const std::u16string strong = block_for(u"new", u"pw");
  decrypt(compatible + u"\r\n" + strong, u"pw");
  EXPECT_EQ(desktop.prompts.size(), 1u);
  EXPECT_EQ(viewer.text(), u"old" + std::u16string(block::kResultJoint) + u"new");
}

// The encrypt prompt of a strong block offers a generated passphrase; the
// block written under it opens with it. Decrypt prompts and compatible
// blocks offer none.
TEST_F(StrongFlowTest, AGeneratedPassphraseIsOfferedForStrongBlocksOnly) {
  desktop.press_generate = true;
  desktop.clipboard = u"generated";
  desktop.box_answers = {Answer::yes};
  flows.encrypt_clipboard();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_TRUE(desktop.prompts[0].offers_passphrase);
  ASSERT_EQ(desktop.generated_passphrases.size(), 1u);
  const std::u16string passphrase = desktop.generated_passphrases[0];
  // Six words joined by "-" (a word such as "t-shirt" adds one).
  EXPECT_GE(std::count(passphrase.begin(), passphrase.end(), u'-'), 5) << testing::utf8(passphrase);
  EXPECT_TRUE(std::all_of(passphrase.begin(), passphrase.end(), [](char16_t c) { return c == u'-' || (c >= u'a' && c <= u'z'); }));
  const std::u16string block = *desktop.clipboard;
  ASSERT_TRUE(block.starts_with(u"(quiren_start)\r\nC"));

  decrypt(block, passphrase);
  EXPECT_FALSE(desktop.prompts[0].offers_passphrase) << "decrypting";
  EXPECT_EQ(viewer.text(), u"generated");

  state.settings.strong = false;
  forget();
  desktop.clipboard = u"compatible";
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"pw"};
  flows.encrypt_clipboard();
  ASSERT_EQ(desktop.prompts.size(), 1u);
  EXPECT_FALSE(desktop.prompts[0].offers_passphrase);
  EXPECT_TRUE(desktop.clipboard->starts_with(u"(quiren_start)\r\nA") ||
              desktop.clipboard->starts_with(u"(quiren_start)\r\nB"));
}

// A strong block knows no code page: text and password in any script.
TEST_F(WesternStrongFlowTest, CarriesTextAndPasswordsTheCodePageCannotHold) {
  const std::u16string plain = u16("日本語と絵文字😀 on a western system");
  const std::u16string block = block_for(plain, u16("パス😀"));
  ASSERT_TRUE(block.starts_with(u"(quiren_start)\r\nC"));
  decrypt(block, u16("パス😀"));
  EXPECT_EQ(viewer.text(), plain);
}

// A strong block takes a passphrase: up to 128 UTF-16 code units, typed,
// fixed or from the list; an empty one stays refused.
TEST_F(StrongFlowTest, PasswordLimitIsTheStrongOne) {
  enum class Source { typed, fixed, list };
  struct Case {
    Source source;
    std::u16string password;
    std::u16string_view refusal;  // empty: a block
  };
  const std::u16string k128 = std::u16string(126, u'a') + u16("😀");
  const Case cases[] = {
      {Source::typed, std::u16string(31, u'a'), {}},
      {Source::typed, k128, {}},
      {Source::typed, k128 + u"a", text::kStrongPasswordTooLong},
      {Source::typed, u"", text::kNoPasswordTyped},
      {Source::fixed, k128, {}},
      {Source::fixed, std::u16string(129, u'a'), text::kStrongPasswordTooLong},
      {Source::list, k128, {}},
      {Source::list, std::u16string(129, u'a'), text::kStrongPasswordTooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::utf8(c.password));
    forget();
    desktop.clipboard = u"text";
    state.settings.encrypt_with_fixed_password = c.source == Source::fixed;
    state.settings.encrypt_password_from_list = c.source == Source::list;
    desktop.settings[u"angopass"] = c.password;
    chooser.pick = c.password;
    desktop.box_answers = {Answer::yes};
    desktop.prompt_answers = {c.password};
    flows.on_clipboard_change();
    if (c.refusal.empty()) {
      EXPECT_EQ(desktop.box_texts().back(), text::kEncryptedStrong);
      EXPECT_TRUE(desktop.clipboard->starts_with(u"(quiren_start)\r\nC"));
    } else {
      EXPECT_EQ(desktop.box_texts().back(), c.refusal);
      EXPECT_EQ(desktop.clipboard, u"text");
    }
    EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
  }
}

// One password on every system: the precomposed and the decomposed forms of
// the same characters open each other's blocks; a block sealed before keys
// came from NFC still opens under the form it was sealed under.
TEST_F(StrongFlowTest, APasswordIsTheSameInEitherUnicodeForm) {
  const std::u16string composed = u16("がぎぐパ");
  const std::u16string decomposed = u16("\u304B\u3099\u304D\u3099\u304F\u3099\u30CF\u309A");
  ASSERT_NE(composed, decomposed);
  for (const auto& [sealed_under, opened_with] :
       {std::pair{composed, decomposed}, std::pair{decomposed, composed}, std::pair{decomposed, decomposed}}) {
    decrypt(block_for(u"同じ合言葉", sealed_under), opened_with);
    EXPECT_EQ(viewer.text(), u16("同じ合言葉"));
  }

  // Sealed under the decomposed password's own UTF-8, as before.
  const std::string raw = testing::utf8(decomposed);
  const block::SealResult earlier = block::seal_envelope(*crypto, "before", raw);
  ASSERT_EQ(earlier.status, block::SealStatus::sealed);
  const std::u16string earlier_block = block::frame_strong_envelope(earlier.envelope, 60);
  crypto->derivations = 0;
  decrypt(earlier_block, decomposed);
  EXPECT_EQ(viewer.text(), u"before");
  EXPECT_EQ(crypto->derivations, 2) << "the NFC key first, then the password as typed";
  decrypt(earlier_block, composed);
  EXPECT_EQ(viewer.text(), text::kStrongNotOpened) << "its key was never the NFC form's";

  // A password already in NFC has one form: a wrong one costs one key.
  crypto->derivations = 0;
  decrypt(block_for(u"x", u"pw"), u"PW");
  EXPECT_EQ(viewer.text(), text::kStrongNotOpened);
  EXPECT_EQ(crypto->derivations, 2) << "one to seal, one to try";
}

TEST_F(StrongFlowTest, NothingIsEncryptedWhenTheRandomSourceFails) {
  struct NoRandom : testing::QuickCrypto {
    bool random_bytes(std::span<std::uint8_t>) override { return false; }
  };
  ClipboardFlows failing{state, desktop, cipher, std::make_shared<NoRandom>(), chooser, viewer, keys};
  desktop.clipboard = u"cut text";
  desktop.box_answers = {Answer::yes};
  desktop.prompt_answers = {u"pw"};
  failing.on_clipboard_change();
  EXPECT_EQ(desktop.box_texts().back(), text::kRandomUnavailable);
  EXPECT_EQ(desktop.clipboard, u"cut text");
  EXPECT_EQ(desktop.clipboard_writes, 0);
  EXPECT_TRUE(watch_starts_a_flow()) << "the watch is live again once the flow ends";
}

TEST_F(StrongFlowTest, ABrokenTextIsRefusedRatherThanChanged) {
  desktop.clipboard = std::u16string{u'a', char16_t{0xD800}, u'b'};
  desktop.box_answers = {Answer::yes};
  flows.on_clipboard_change();
  EXPECT_EQ(desktop.box_texts().back(), text::kTextNotEncodable);
  EXPECT_TRUE(desktop.prompts.empty()) << "refused before the password is asked";
}

TEST_F(StrongFlowTest, ABlockOfALaterVersionSaysSoBeforeAnyPassword) {
  const std::u16string block = block_for(u"text", u"pw");
  // Version 2 of the envelope: its first armour group starts another way.
  std::u16string later = block;
  later[17] = later[17] == u'G' ? u'g' : u'G';
  decrypt(later, u"pw");
  EXPECT_TRUE(desktop.prompts.empty());
  EXPECT_EQ(desktop.box_texts().back(), text::kLaterFormat);
  EXPECT_FALSE(viewer.is_open());
}

// A strong block made with too few rounds (a weakened key) or a key
// derivation this version does not know says so, before any password:
// a newer version would refuse it too.
TEST_F(StrongFlowTest, ABlockWithRefusedSettingsSaysSoBeforeAnyPassword) {
  const struct {
    const char* name;
    std::uint32_t iterations;
    std::uint8_t key_derivation;
  } cases[] = {
      {"99,999 rounds", block::kMinReadIterations - 1, block::kKdfPbkdf2HmacSha256},
      {"an unknown key derivation", block::kWriteIterations, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    block::SealParameters p;
    p.iterations = c.iterations;
    p.salt[0] = p.nonce[0] = 1;
    std::vector<std::uint8_t> envelope = block::seal_envelope_with(*crypto, "text", "pw", p).envelope;
    envelope[block::kKdfOffset] = c.key_derivation;
    decrypt(block::frame_strong_envelope(envelope, 60), u"pw");
    EXPECT_TRUE(desktop.prompts.empty());
    EXPECT_EQ(desktop.box_texts().back(), text::kRefusedSettings);
    EXPECT_FALSE(viewer.is_open());
  }
}

// Writers refuse a NUL, but a block made elsewhere may hold one: the viewer
// shows U+FFFD there rather than cut the text, and what follows, short.
TEST_F(StrongFlowTest, ANulInAStrongTextShowsAsAReplacementCharacter) {
  const std::u16string with_nul =
      block::write_strong_block(*crypto, std::string_view("before\0after", 12), "pw", 60).block;
  decrypt(with_nul + u"\r\n" + block_for(u"next", u"pw"), u"pw");
  EXPECT_EQ(viewer.text(), u"before\uFFFDafter" + std::u16string(block::kResultJoint) + u"next");
}

}  // namespace
}  // namespace quiren
