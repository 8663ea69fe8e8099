#include "tools/quiren/tool_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "block/ascii.h"
#include "block/block_rules.h"
#include "block/damage_message.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_block.h"
#include "block/utf8.h"
#include "cipher/code_table.h"
#include "tests/support/hex.h"
#include "tests/support/quick_crypto.h"
#include "tests/support/received_forms.h"
#include "vectors/runs.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/linked_cipher.h"
#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {
namespace {

// The tray program's wrong-password text, as the tool prints it.
// In place of a block that did not open: a compatible block's text as
// earlier versions write it, a strong block's own.
const std::string kWrongPiece = "パスワードが不正です。復号できません。 by む～くいれん";
const std::string kStrongPiece = "パスワードが違うか、暗号文が途中で変更されています";

class ToolCommands : public ::testing::Test {
 protected:
  std::unique_ptr<CodePage> japanese = open_code_page(932);
  std::unique_ptr<CodePage> western = open_code_page(1252);
  LinkedCipher cipher;
  std::shared_ptr<testing::QuickCrypto> crypto = std::make_shared<testing::QuickCrypto>();
  Ciphers ciphers{cipher, crypto};
  int asked = 0;

  PasswordSource given(std::string password) {
    return [this, password] {
      ++asked;
      return PasswordRead{true, SecretBytes(password), {}};
    };
  }
  CommandResult encrypt(std::string_view text, std::string password, BlockFormat format = BlockFormat::compatible,
                        CodePage* code_page = nullptr, int width = 60) {
    return encrypt_command(text, width, format, given(std::move(password)), code_page ? *code_page : *japanese,
                           ciphers);
  }
  std::string block(std::string_view text, std::string password, int width = 60,
                    BlockFormat format = BlockFormat::compatible) {
    CommandResult r = encrypt(text, std::move(password), format, nullptr, width);
    EXPECT_EQ(r.exit_code, kExitDone) << r.message;
    return std::string(r.output.view());
  }
  CommandResult decrypt(std::string_view input, std::string password, CodePage* code_page = nullptr) {
    return decrypt_command(input, given(std::move(password)), code_page ? *code_page : *japanese, ciphers);
  }
  static std::string replace_all(std::string s, std::string_view from, std::string_view to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
      s.replace(at, from.size(), to);
    return s;
  }
};

const std::string kJoint = "\r\n\r\n*--*--*--*--*--*--*--*--*--*--*--*--*--*--*\r\n\r\n";

// Texts whose ends the earlier fill stripping damaged come back whole.
TEST_F(ToolCommands, RoundTripsUnderCodePage932) {
  ASSERT_TRUE(japanese && western);
  const std::pair<const char*, const char*> cases[] = {
      {"こんにちは、む～くいれん。\r\n二行目です。", "秘密"},
      {"abcXX", "passX"},
      {"hellox", "boxx"},
      {"ｘx", "x"},
      {"", "pw"},
      {"表示①～⑩と髙橋", "パスワードX"},
  };
  for (const auto& [text, password] : cases) {
    SCOPED_TRACE(text);
    std::string b = block(text, password, 17);
    EXPECT_EQ(b.rfind("(quiren_start)\r\n", 0), 0u);
    EXPECT_EQ(b.substr(b.size() - 14), "\r\n(quiren_end)");
    CommandResult r = decrypt(b, password);
    EXPECT_EQ(r.exit_code, kExitDone) << r.message;
    EXPECT_EQ(r.output, text);
  }
}

TEST_F(ToolCommands, CharactersTheCodePageCannotHoldAreRefusedBeforeThePassword) {
  CommandResult r = encrypt("日本語", "pw", BlockFormat::compatible, western.get());
  EXPECT_EQ(r.exit_code, kExitBadInput);
  EXPECT_NE(r.message.find("U+65E5 '日'"), std::string::npos) << r.message;
  EXPECT_EQ(asked, 0);

  CommandResult e = encrypt("caf\xC3\xA9", "pw");
  EXPECT_EQ(e.exit_code, kExitBadInput);
  EXPECT_NE(e.message.find("U+00E9 '\xC3\xA9'"), std::string::npos) << e.message;

  CommandResult p = encrypt("text", "pässword");
  EXPECT_EQ(p.exit_code, kExitBadInput);
  EXPECT_NE(p.message.find("U+00E4"), std::string::npos) << p.message;

  CommandResult ok = encrypt("caf\xC3\xA9", "pw", BlockFormat::compatible, western.get());
  ASSERT_EQ(ok.exit_code, kExitDone);
  EXPECT_EQ(decrypt(ok.output.view(), "pw", western.get()).output, "caf\xC3\xA9");
}

TEST_F(ToolCommands, EncryptPasswordLimits) {
  // Counted in UTF-16 code units, as the tray program counts: an emoji
  // counts twice.
  const std::string kanji30 = std::string(10, 'a') + "秘密秘密秘密秘密秘密秘密秘密秘密秘密秘密";
  const std::string emoji = "\xF0\x9F\x98\x80";
  struct Case {
    std::string password;
    std::string_view compatible;  // the refusal; empty: a block
    std::string_view strong;
  };
  const Case cases[] = {
      {"", texts::kEmptyPassword, texts::kEmptyPassword},
      {std::string(30, 'a'), {}, {}},
      {std::string(31, 'a'), texts::kPasswordTooLong, {}},
      {kanji30, {}, {}},
      {"a" + kanji30, texts::kPasswordTooLong, {}},
      {std::string(128, 'a'), texts::kPasswordTooLong, {}},
      {std::string(129, 'a'), texts::kPasswordTooLong, texts::kStrongPasswordTooLong},
      {std::string(126, 'a') + emoji, texts::kPasswordTooLong, {}},
      {std::string(127, 'a') + emoji, texts::kPasswordTooLong, texts::kStrongPasswordTooLong},
  };
  for (const BlockFormat format : {BlockFormat::compatible, BlockFormat::strong}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.password);
      const std::string_view refusal = format == BlockFormat::strong ? c.strong : c.compatible;
      // The emoji is not in code page 932: the compatible block refuses it
      // for that once its length passes.
      if (format == BlockFormat::compatible && refusal.empty() && c.password.find(emoji) != std::string::npos) continue;
      const CommandResult r = encrypt("text", c.password, format);
      EXPECT_EQ(r.exit_code, refusal.empty() ? kExitDone : kExitBadInput);
      EXPECT_EQ(r.message, refusal);
    }
    // The library takes C strings: a NUL would cut the text short; the tray
    // program never has one to encrypt.
    EXPECT_EQ(encrypt(std::string_view("a\0b", 3), "pw", format).exit_code, kExitBadInput);
  }
}

// The exit status says whether every block, none or only some opened; a
// line on standard error names each block that did not open and each
// compatible one that did, since nothing shows whether that one was changed.
TEST_F(ToolCommands, ExitStatusAndNotesSayWhichBlocksOpened) {
  const std::string compatible = block("first", "same");
  const std::string strong = block("二番目", "same", 60, BlockFormat::strong);
  const std::string other = block("third", "other", 60, BlockFormat::strong);
  const std::string three = "Hello\r\n" + compatible + "\r\n-- \r\n" + strong + "\r\nthanks\r\n" + other + "\r\n";
  const std::string compatible_note = "compatible block: cannot detect changes";
  const std::string not_opened = "wrong password or changed";
  const std::string strong_not_opened = "wrong password, or the block was changed on the way";
  struct Case {
    const char* name;
    std::string input;
    std::string password;
    int exit_code;
    std::string output;
    std::vector<std::string> notes;
    std::string_view message;
  };
  const Case cases[] = {
      {"every block opens", compatible + "\r\n" + strong, "same", kExitDone, "first" + kJoint + "二番目",
       {"block 1 of 2: " + compatible_note}, ""},
      {"the last does not", three, "same", kExitSomeNotOpened, "first" + kJoint + "二番目" + kJoint + kStrongPiece,
       {"block 1 of 3: " + compatible_note, "block 3 of 3: " + strong_not_opened}, ""},
      {"only the last opens", three, "other", kExitSomeNotOpened, kWrongPiece + kJoint + kStrongPiece + kJoint + "third",
       {"block 1 of 3: " + not_opened, "block 2 of 3: " + strong_not_opened}, ""},
      {"none opens", three, "Same", kExitWrongPassword, kWrongPiece + kJoint + kStrongPiece + kJoint + kStrongPiece, {},
       texts::kStrongNotOpened},
      {"a compatible block alone does not open", compatible, "other", kExitWrongPassword, kWrongPiece, {},
       texts::kWrongPassword},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    asked = 0;
    const CommandResult r = decrypt(c.input, c.password);
    EXPECT_EQ(r.exit_code, c.exit_code);
    EXPECT_EQ(r.output, c.output);
    EXPECT_EQ(r.notes, c.notes);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(asked, 1);
  }
}

// Strong blocks that ask for more rounds together than the budget are
// refused before the password, unless the limit is lifted.
TEST_F(ToolCommands, ALongRunIsRefusedUnlessTheLimitIsLifted) {
  block::SealParameters p;
  p.iterations = block::kMaxReadIterations;
  p.salt[0] = p.nonce[0] = 3;
  const std::string slow =
      block::narrow_ascii(block::frame_strong_envelope(block::seal_envelope_with(*crypto, "slow", "pw", p).envelope, 60));
  std::string four;
  for (int i = 0; i < 4; ++i) four += slow + "\r\n";
  asked = 0;
  const CommandResult refused = decrypt(four, "pw");
  EXPECT_EQ(refused.exit_code, kExitBadInput);
  EXPECT_EQ(refused.message,
            "the strong blocks ask for 40000000 rounds of key derivation together, more than 30000000 (about fifty "
            "blocks), which can take minutes; nothing was decrypted (--no-limit decrypts them anyway)");
  EXPECT_EQ(refused.output, "");
  EXPECT_EQ(asked, 0);

  const CommandResult lifted = decrypt_command(four, given("pw"), *japanese, ciphers, RoundLimit::none);
  EXPECT_EQ(lifted.exit_code, kExitDone) << lifted.message;
  EXPECT_EQ(lifted.output, "slow" + kJoint + "slow" + kJoint + "slow" + kJoint + "slow");
  EXPECT_EQ(decrypt(slow + "\r\n" + slow + "\r\n" + slow, "pw").exit_code, kExitDone) << "the budget itself is allowed";
}

// The shared table of runs (tests/vectors/runs.json), as the tool makes
// them: it never asks, so a run that would pass the budget is refused (exit
// 2, the budget's message, no output) unless --no-limit goes on, where the
// table's user answers the question; the case's secret key is --key's; a
// refused compatible block is bad input (exit 2) that keeps the other texts.
// Runs the user cancels are the tray's and the page's.
TEST_F(ToolCommands, TheRunsOfTheSharedTable) {
  const std::map<std::string_view, std::string> in_place_of = {
      {"wrong_password", kWrongPiece},
      {"not_for_this_key", block::utf8_from_utf16(block::kNotForThisKeyText)},
      {"needs_key", block::utf8_from_utf16(block::kNeedsKeyText)}};
  for (const testing::vectors::RunCase& run : testing::vectors::kRunCases) {
    if (run.cancel_after >= 0) continue;
    SCOPED_TRACE(run.name);
    const bool goes_on = !run.answers.empty() && run.answers.back();
    crypto->derivations = 0;
    asked = 0;
    KeySource key;
    if (!run.secret_key_hex.empty()) {
      key = [&run] { return KeyRead{true, testing::secret_key_from_hex(run.secret_key_hex), {}}; };
    }
    const CommandResult r =
        decrypt_command(block::utf8_from_utf16(run.received), given(block::utf8_from_utf16(run.password)), *japanese,
                        ciphers, goes_on ? RoundLimit::none : RoundLimit::budget, key,
                        run.strong_only ? block::CompatibleBlocks::refuse : block::CompatibleBlocks::read);
    EXPECT_EQ(crypto->derivations, run.derivations);
    EXPECT_EQ(asked, run.password_asked ? 1 : 0);
    std::string output;
    std::size_t opened = 0, wrong = 0;
    for (const testing::vectors::RunBlock& block : run.blocks) {
      const bool is_opened = block.outcome == "opened";
      if (!is_opened && !in_place_of.contains(block.outcome)) continue;
      if (opened + wrong > 0) output += kJoint;
      const bool strong = block.kind == testing::vectors::BlockFormat::strong;
      if (is_opened) output += block::utf8_from_utf16(block.text);
      else output += strong && block.outcome == "wrong_password" ? kStrongPiece : in_place_of.at(block.outcome);
      (is_opened ? opened : wrong) += 1;
    }
    const bool refused = std::any_of(run.blocks.begin(), run.blocks.end(), [](const auto& block) {
      return block.outcome == "compatible_refused";
    });
    if (run.end == "done" && !refused) {
      EXPECT_EQ(r.exit_code, opened == 0 ? kExitWrongPassword : wrong > 0 ? kExitSomeNotOpened : kExitDone);
    } else {
      EXPECT_EQ(r.exit_code, kExitBadInput);
    }
    if (run.end == "rounds_refused") {
      EXPECT_TRUE(r.message.starts_with("the strong blocks ask for ")) << r.message;
    }
    EXPECT_EQ(r.output, run.texts_kept ? output : "");
  }
}

// --strong-only: a line for each compatible block, which is refused before
// the password is asked for it (a text of nothing else asks none, and a
// password the code page cannot hold is no longer a problem), no text for
// it, exit 2; the strong block's text is written.
TEST_F(ToolCommands, StrongOnlyRefusesEachCompatibleBlockWithALine) {
  const std::string compatible = block("old", "pw");
  const std::string strong = block("新しい", "pässword", 60, BlockFormat::strong);
  const std::string refused_line = "compatible block refused: it cannot show whether it was changed, and "
                                   "--strong-only reads strong blocks only; not decrypted";
  const struct {
    const char* name;
    std::string input;
    std::string password;
    int asked;
    std::string output;
    std::vector<std::string> notes;
  } cases[] = {
      {"compatible blocks only", compatible + "\r\n" + compatible, "pw", 0, "",
       {"block 1 of 2: " + refused_line, "block 2 of 2: " + refused_line}},
      {"a strong block between them", compatible + "\r\n" + strong + "\r\n" + compatible, "pässword", 1, "新しい",
       {"block 1 of 3: " + refused_line, "block 3 of 3: " + refused_line}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    asked = 0;
    const CommandResult r =
        decrypt_command(c.input, given(c.password), *japanese, ciphers, RoundLimit::budget, {},
                        block::CompatibleBlocks::refuse);
    EXPECT_EQ(r.exit_code, kExitBadInput);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(r.output, c.output);
    EXPECT_EQ(r.notes, c.notes);
    EXPECT_EQ(r.message, "");
  }
}

// A block with settings readers refuse gets its own words, not "use the
// latest version"; the texts before it stay.
TEST_F(ToolCommands, ABlockWithRefusedSettingsSaysSo) {
  block::SealParameters p;
  p.iterations = block::kMinReadIterations - 1;
  p.salt[0] = p.nonce[0] = 3;
  const std::string weak =
      block::narrow_ascii(block::frame_strong_envelope(block::seal_envelope_with(*crypto, "weak", "pw", p).envelope, 60));
  const CommandResult r = decrypt(block("kept", "pw") + "\r\n" + weak, "pw");
  EXPECT_EQ(r.exit_code, kExitBadInput);
  EXPECT_EQ(r.message, texts::kRefusedSettings);
  EXPECT_EQ(r.output, "kept");
}

// Writing a compatible block says what it cannot protect; a strong one
// needs no note. A strong text's bytes come back as they were, a NUL too.
TEST_F(ToolCommands, NotesWhenWritingAndBytesAsTheyAre) {
  EXPECT_EQ(encrypt("text", "pw", BlockFormat::compatible).notes,
            std::vector<std::string>{"compatible block: cannot detect changes"});
  EXPECT_TRUE(encrypt("text", "pw", BlockFormat::strong).notes.empty());

  const std::string with_nul("before\0after", 12);
  const std::string strong =
      block::narrow_ascii(block::write_strong_block(*crypto, with_nul, "pw", 60).block);
  const CommandResult r = decrypt(strong, "pw");
  EXPECT_EQ(r.exit_code, kExitDone);
  EXPECT_EQ(r.output, with_nul);
}

// Every form of the shared table, as UTF-8 input: the forms that read give
// their blocks' texts, the damaged ones say where they are damaged, counted
// in the input as it came.
TEST_F(ToolCommands, ReadsEveryReceivedForm) {
  namespace vectors = testing::vectors;
  const Ciphers real{cipher, block::platform_crypto()};  // the table's strong blocks use the real derivation
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    SCOPED_TRACE(form.name);
    const std::string password = utf8_from_utf16(testing::source_of(form).password);
    CommandResult r = decrypt_command(utf8_from_utf16(form.received), given(password), *japanese, real);
    if (form.expect == vectors::Expect::source) {
      EXPECT_EQ(r.exit_code, kExitDone) << r.message;
      EXPECT_EQ(r.output, utf8_from_utf16(testing::shown_text(form)));
      continue;
    }
    EXPECT_EQ(r.exit_code, kExitBadInput);
    EXPECT_EQ(r.message, texts::kDamaged);
    const block::DamageTexts<char> where{texts::kDamageForeignCharacter, texts::kDamageInvisibleCharacter,
                                         texts::kDamageShortLine, texts::kDamageUnevenLength};
    EXPECT_EQ(r.detail, block::describe_damage(testing::expected_damage(form), where));
  }
}

// The line that says where: the example, an emoji in the strong
// block's third line, and a line that lost a character.
TEST_F(ToolCommands, SaysWhereABlockIsDamaged) {
  namespace vectors = testing::vectors;
  const Ciphers real{cipher, block::platform_crypto()};
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"strong: an emoji in place of a character",
       "line 3, character 17: \"\xF0\x9F\x98\x80\" (U+1F600) is not a character blocks are written in"},
      {"compatible: quoted '> ', an emoji in place of a character",
       "line 4, character 19: \"\xF0\x9F\x98\x80\" (U+1F600) is not a character blocks are written in"},
      {"strong: a left-to-right mark put in",
       "line 3, character 17: an invisible character (U+200E) is not a character blocks are written in"},
      {"compatible: a character lost", "line 3 is shorter than the other lines of the block: characters are missing there"},
  };
  for (const auto& [name, detail] : cases) {
    SCOPED_TRACE(name);
    const vectors::ReceivedForm* form = nullptr;
    for (const vectors::ReceivedForm& f : vectors::kReceivedForms)
      if (f.name == name) form = &f;
    ASSERT_NE(form, nullptr);
    CommandResult r = decrypt_command(utf8_from_utf16(form->received), given("pw"), *japanese, real);
    EXPECT_EQ(r.detail, detail);
    EXPECT_EQ(asked, 0) << "no password asked";
  }
}

// Input that is not UTF-8 (Shift_JIS around the block) is read byte for byte.
TEST_F(ToolCommands, ReadsABlockInShiftJisMail) {
  const std::string text = "メールで届いた文です。";
  const std::string b = block(text, "pw");
  CommandResult sjis = decrypt("\x82\xa0\r\n> " + replace_all(b, "\r\n", "\n> ") + "\n\x82\xa0", "pw");
  EXPECT_EQ(sjis.exit_code, kExitDone) << sjis.message;
  EXPECT_EQ(sjis.output, text);
}

TEST_F(ToolCommands, UnreadableInput) {
  std::string good = block("kept", "pw");
  struct Case {
    const char* name;
    std::string input;
    std::string output;
    int asked;
    std::string_view detail;  // the second line: where the block is damaged
  };
  const std::string_view uneven =
      "the block's length does not come out even: characters are missing or extra up to line 2, its last";
  const Case cases[] = {
      {"no block", "just text", "", 0, ""},
      {"lower-case markers", replace_all(replace_all(good, "quiren_start", "QUIREN_START"), "quiren_end", "QUIREN_END"),
       "", 0, ""},
      {"unknown first mode letter", "(quiren_start)\r\nZGGGGG>AGGGGG\r\n(quiren_end)", "", 0, ""},
      {"field not whole armour groups", "(quiren_start)\r\nAGGGG>AGGGGG\r\n(quiren_end)", "", 0, uneven},
      {"field with a character outside the armour", "(quiren_start)\r\nAGGG,G>AGGGGG\r\n(quiren_end)", "", 0,
       "line 2, character 5: \",\" (U+002C) is not a character blocks are written in"},
      {"payload without separator", "(quiren_start)\r\nAGGGGGAGGGGG\r\n(quiren_end)", "", 0, uneven},
      {"second block's mode letter unknown", good + "\r\n(quiren_start)\r\nZGGGGG>AGGGGG\r\n(quiren_end)", "kept", 1,
       ""},
      {"second block damaged, whole groups", good + "\r\n(quiren_start)\r\nAGGGGG\r\n(quiren_end)", "", 1, ""},
      {"second block damaged, a comma", good + "\r\n(quiren_start)\r\nAGG,GG>A\r\n(quiren_end)", "", 1,
       "line 5, character 4: \",\" (U+002C) is not a character blocks are written in"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    asked = 0;
    CommandResult r = decrypt(c.input, "pw");
    EXPECT_EQ(r.exit_code, kExitBadInput);
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(r.message.find('\n'), std::string::npos);
    EXPECT_EQ(r.output, c.output);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(r.detail, c.detail);
  }
}

TEST_F(ToolCommands, StrongBlocksAreTheDefaultAndCarryAnyText) {
  const std::pair<std::string, std::string> cases[] = {
      {"こんにちは、む～くいれん。\r\n二行目です。", "秘密"},
      {"emoji 😀 and café", "pässword"},
      {"", "pw"},
  };
  for (const auto& [text, password] : cases) {
    SCOPED_TRACE(text);
    // The code page plays no part: western text under 932, Japanese under 1252.
    for (CodePage* code_page : {japanese.get(), western.get()}) {
      CommandResult e = encrypt(text, password, BlockFormat::strong, code_page, 30);
      ASSERT_EQ(e.exit_code, kExitDone) << e.message;
      EXPECT_EQ(e.output.view().rfind("(quiren_start)\r\nC", 0), 0u);
      EXPECT_EQ(e.output.view().substr(e.output.size() - 14), "\r\n(quiren_end)");
      CommandResult d = decrypt(e.output.view(), password, code_page);
      EXPECT_EQ(d.exit_code, kExitDone) << d.message;
      EXPECT_EQ(d.output, text);
    }
  }
  // A fresh salt and nonce every time.
  EXPECT_NE(block("same", "pw", 60, BlockFormat::strong), block("same", "pw", 60, BlockFormat::strong));
}

TEST_F(ToolCommands, StrongAndCompatibleBlocksInOneInputTakeOnePassword) {
  const std::string strong = block("強い", "pw", 60, BlockFormat::strong);
  const std::string compatible = block("互換", "pw");
  asked = 0;
  CommandResult both = decrypt("a\r\n" + strong + "\r\nb\r\n" + compatible + "\r\n", "pw");
  EXPECT_EQ(both.exit_code, kExitDone) << both.message;
  EXPECT_EQ(both.output, "強い" + kJoint + "互換");
  EXPECT_EQ(asked, 1);

  CommandResult wrong = decrypt(strong + "\r\n" + compatible, "PW");
  EXPECT_EQ(wrong.exit_code, kExitWrongPassword);
  EXPECT_EQ(wrong.output, kStrongPiece + kJoint + kWrongPiece);
}

TEST_F(ToolCommands, AStrongBlockOpensWithAPasswordTheCodePageCannotHold) {
  const std::string strong = block("text", "パス😀", 60, BlockFormat::strong);
  CommandResult r = decrypt(strong, "パス😀", western.get());
  EXPECT_EQ(r.exit_code, kExitDone) << r.message;
  EXPECT_EQ(r.output, "text");
  // A compatible block beside it still needs the code page.
  CommandResult mixed = decrypt(strong + "\r\n" + block("c", "pw"), "パス😀", western.get());
  EXPECT_EQ(mixed.exit_code, kExitBadInput);
}

TEST_F(ToolCommands, AChangedStrongBlockNeverYieldsText) {
  const std::string strong = block("the real text", "pw", 60, BlockFormat::strong);
  const std::size_t body = strong.find("\r\n") + 3;  // past the mode letter
  for (std::size_t i = body; i < strong.size() - 14; ++i) {
    if (strong[i] == '\r' || strong[i] == '\n') continue;
    std::string changed = strong;
    changed[i] = changed[i] == 'G' ? 'g' : 'G';
    CommandResult r = decrypt(changed, "pw");
    EXPECT_NE(r.exit_code, kExitDone) << i;
    EXPECT_EQ(r.output.view().find("the real text"), std::string::npos) << i;
  }
}

TEST_F(ToolCommands, NoTextIsEncryptedThatNoBlockCouldGiveBackWhole) {
  const std::string longest(block::kLongestText + 1, 'a');
  for (const BlockFormat format : {BlockFormat::compatible, BlockFormat::strong}) {
    asked = 0;
    CommandResult r = encrypt(longest, "pw", format);
    EXPECT_EQ(r.exit_code, kExitBadInput);
    EXPECT_EQ(r.message, texts::kTextTooLong);
    EXPECT_EQ(asked, 0);
  }
}

// The messages that name a limit take it from the rule, and read as before.
TEST(ToolTexts, LimitsReadAsBefore) {
  EXPECT_EQ(texts::kPasswordTooLong, "the password is longer than 30 characters");
  EXPECT_EQ(texts::kStrongPasswordTooLong, "the password is longer than 128 characters");
  EXPECT_EQ(texts::kTextTooLong, "the text is longer than 64 MiB, more than a block can give back whole");
  EXPECT_EQ(texts::kOverLimit, "the decrypted texts would pass 64 MiB; the blocks from here on were not decrypted");
}

// A cipher that answers with a cut-off result (under memory pressure, say)
// gives no block, as in the tray program.
TEST_F(ToolCommands, AnImplausibleCipherResultWritesNoBlock) {
  struct CutOff : LinkedCipher {
    std::optional<std::string> encrypt(std::string_view text, std::string_view password) override {
      std::optional<std::string> result = LinkedCipher::encrypt(text, password);
      if (result && text != password) result->erase(0, 1);
      return result;
    }
  } cut_off;
  const Ciphers cutting{cut_off, crypto};
  CommandResult r = encrypt_command("text", 60, BlockFormat::compatible, given("pw"), *japanese, cutting);
  EXPECT_EQ(r.exit_code, kExitBadInput);
  EXPECT_EQ(r.message, texts::kLibraryResultImplausible);
  EXPECT_TRUE(r.output.empty());
}

// A compatible block compressed under a shared code table decrypts only
// beside the same table file; elsewhere the tool says so instead of giving
// back an empty text.
TEST_F(ToolCommands, ABlockMadeWithASharedTableNeedsIt) {
  const std::filesystem::path before = std::filesystem::current_path();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("quiren-shared-table-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  {
    // One bit for every "a": far shorter than any self-contained block.
    cipher::BitString a_bits(std::vector<std::uint8_t>{'a'}, 8);
    cipher::BitString one;
    one.push_back(true);
    const std::vector<std::uint8_t> table = cipher::serialize_code_table({{a_bits, one}});
    std::ofstream(cipher::kSharedTableFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
  }
  const std::string text(200, 'a');
  const std::string with_table = block(text, "pw");
  EXPECT_EQ(decrypt(with_table, "pw").output, text);
  std::filesystem::remove(cipher::kSharedTableFileName);
  const std::string first = block("first", "pw");
  CommandResult r = decrypt(first + "\r\n" + with_table, "pw");
  EXPECT_EQ(r.exit_code, kExitBadInput);
  EXPECT_EQ(r.message, texts::kNeedsSharedTable);
  EXPECT_EQ(r.output, "first") << "the texts before it stay";
  std::filesystem::current_path(before);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quiren::tool
