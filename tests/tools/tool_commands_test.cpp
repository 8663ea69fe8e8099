#include "tools/quiren/tool_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/support/received_forms.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/linked_cipher.h"
#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {
namespace {

// The tray program's wrong-password text, as the tool prints it.
const std::string kWrongPiece = "パスワードが不正です。復号できません。 by む～くいれん";

class ToolCommands : public ::testing::Test {
 protected:
  std::unique_ptr<CodePage> japanese = open_code_page(932);
  std::unique_ptr<CodePage> western = open_code_page(1252);
  LinkedCipher cipher;
  int asked = 0;

  PasswordSource given(std::string password) {
    return [this, password] {
      ++asked;
      return PasswordRead{true, password, {}};
    };
  }
  std::string block(std::string_view text, std::string password, int width = 60) {
    CommandResult r = encrypt_command(text, width, given(std::move(password)), *japanese, cipher);
    EXPECT_EQ(r.exit_code, kExitDone) << r.message;
    return r.output;
  }
  CommandResult decrypt(std::string_view input, std::string password) {
    return decrypt_command(input, given(std::move(password)), *japanese, cipher);
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
  CommandResult r = encrypt_command("日本語", 60, given("pw"), *western, cipher);
  EXPECT_EQ(r.exit_code, kExitBadInput);
  EXPECT_NE(r.message.find("U+65E5 '日'"), std::string::npos) << r.message;
  EXPECT_EQ(asked, 0);

  CommandResult e = encrypt_command("caf\xC3\xA9", 60, given("pw"), *japanese, cipher);
  EXPECT_EQ(e.exit_code, kExitBadInput);
  EXPECT_NE(e.message.find("U+00E9 '\xC3\xA9'"), std::string::npos) << e.message;

  CommandResult p = encrypt_command("text", 60, given("pässword"), *japanese, cipher);
  EXPECT_EQ(p.exit_code, kExitBadInput);
  EXPECT_NE(p.message.find("U+00E4"), std::string::npos) << p.message;

  CommandResult ok = encrypt_command("caf\xC3\xA9", 60, given("pw"), *western, cipher);
  ASSERT_EQ(ok.exit_code, kExitDone);
  EXPECT_EQ(decrypt_command(ok.output, given("pw"), *western, cipher).output, "caf\xC3\xA9");
}

TEST_F(ToolCommands, EncryptPasswordLimits) {
  const std::pair<std::string, int> cases[] = {
      {"", kExitBadInput},
      {std::string(30, 'a'), kExitDone},
      {std::string(31, 'a'), kExitBadInput},
      {std::string(10, 'a') + "秘密秘密秘密秘密秘密秘密秘密秘密秘密秘密", kExitDone},  // 30 characters
      {std::string(11, 'a') + "秘密秘密秘密秘密秘密秘密秘密秘密秘密秘密", kExitBadInput},
  };
  for (const auto& [password, code] : cases) {
    SCOPED_TRACE(password);
    EXPECT_EQ(encrypt_command("text", 60, given(password), *japanese, cipher).exit_code, code);
  }
  // The library takes C strings: a NUL would cut the text short.
  EXPECT_EQ(encrypt_command(std::string_view("a\0b", 3), 60, given("pw"), *japanese, cipher).exit_code, kExitBadInput);
}

TEST_F(ToolCommands, SeveralBlocks) {
  std::string one = block("first", "same");
  std::string two = block("二番目", "same");
  std::string other = block("third", "other");
  std::string text = "Hello\r\n" + one + "\r\n-- \r\n" + two + "\r\nthanks\r\n" + other + "\r\n";

  asked = 0;
  CommandResult same = decrypt(text, "same");
  EXPECT_EQ(same.exit_code, kExitDone);
  EXPECT_EQ(same.output, "first" + kJoint + "二番目" + kJoint + kWrongPiece);
  EXPECT_EQ(asked, 1);

  CommandResult others = decrypt(text, "other");
  EXPECT_EQ(others.exit_code, kExitDone);
  EXPECT_EQ(others.output, kWrongPiece + kJoint + kWrongPiece +
                               kJoint + "third");

  CommandResult none = decrypt(text, "Same");
  EXPECT_EQ(none.exit_code, kExitWrongPassword);
}

// Every form a block comes back in from mail and chat, as UTF-8 input.
TEST_F(ToolCommands, ReadsEveryReceivedForm) {
  const std::string text =
      "メールで届いた文です。返信に引用されても、改行が変わっても、行が折り返されても、"
      "空白が入っても、そのまま読めます。明日の会議は北門の前で正午から始めます。";
  const std::string b = block(text, "pw");
  const std::string second = block("二つ目", "pw", 20);
  ASSERT_GE(std::count(b.begin(), b.end(), '\n'), 3) << "a body of two lines or more";
  auto utf16 = [](const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); };
  for (const testing::ReceivedForm& form : testing::received_forms(utf16(b))) {
    SCOPED_TRACE(form.name);
    CommandResult r = decrypt(utf8_from_utf16(form.text), "pw");
    EXPECT_EQ(r.exit_code, kExitDone) << r.message;
    EXPECT_EQ(r.output, text);
  }
  for (const testing::ReceivedForm& form : testing::received_pairs(utf16(b), utf16(second))) {
    SCOPED_TRACE(form.name);
    CommandResult r = decrypt(utf8_from_utf16(form.text), "pw");
    EXPECT_EQ(r.exit_code, kExitDone) << r.message;
    EXPECT_EQ(r.output, text + kJoint + "二つ目");
  }
  // Input that is not UTF-8 (Shift_JIS around the block) is read byte for byte.
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
  };
  const Case cases[] = {
      {"no block", "just text", "", 0},
      {"lower-case markers", replace_all(replace_all(good, "quiren_start", "QUIREN_START"), "quiren_end", "QUIREN_END"),
       "", 0},
      {"unknown first mode letter", "(quiren_start)\r\nCGGGGG>AGGGGG\r\n(quiren_end)", "", 0},
      {"payload without separator", "(quiren_start)\r\nAGGGGGAGGGGG\r\n(quiren_end)", "", 0},
      {"second block's mode letter unknown", good + "\r\n(quiren_start)\r\nZGGGGG>AGGGGG\r\n(quiren_end)", "kept", 1},
      {"second block damaged", good + "\r\n(quiren_start)\r\nAGGGGG\r\n(quiren_end)", "", 1},
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
  }
}

}  // namespace
}  // namespace quiren::tool
