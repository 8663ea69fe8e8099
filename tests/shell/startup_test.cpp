#include "tray/shell/startup.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tests/support/setting_values.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

using testing::FakeDesktop;
using testing::u16;

struct FakeSplash : SplashView {
  std::vector<std::string> calls;
  std::u16string version;
  void shape_as_ellipse(TwipsPerPixel) override { calls.push_back("shape"); }
  void raise_to_top() override { calls.push_back("topmost"); }
  void show_version(std::u16string_view text) override {
    calls.push_back("version");
    version = std::u16string(text);
  }
};

TEST(StartupTest, EmptyStoreStartsWithDefaultsAndWritesNothing) {
  FakeDesktop desktop;
  ProgramState state;
  FakeSplash splash;
  EXPECT_EQ(SplashForm(state, desktop, splash).load(), StartupOutcome::splash);
  EXPECT_EQ(splash.calls, (std::vector<std::string>{"shape", "topmost", "version"}));
  EXPECT_EQ(splash.version, u"む～くいれん Ver1.1");
  EXPECT_EQ(state.version_text, u"む～くいれん Ver1.1");
  EXPECT_EQ(state.settings, defaults_with());
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(desktop.settings_writes.empty());
}

TEST(StartupTest, StoredTextsAreConverted) {
  FakeDesktop desktop;
  desktop.settings = {{u"orikaesi", u"61.5"}, {u"ango", u"TRUE"}, {u"hukugo", u"0"},
                      {u"equalpass", u"-1"}, {u"quest1", u"0"}, {u"quest2", u"255"},
                      {u"usepasslist1", u"false"}, {u"usepasslist2", u"True"}};
  ProgramState state;
  FakeSplash splash;
  ASSERT_EQ(SplashForm(state, desktop, splash).load(), StartupOutcome::splash);
  EXPECT_EQ(state.settings, defaults_with([](SettingValues& v) {
    v.wrap_width = 62;
    v.encrypt_with_fixed_password = true;
    v.decrypt_with_encrypt_password = true;
    v.ask_before_encrypt = 0;
    v.ask_before_decrypt = 255;
    v.decrypt_password_from_list = true;
  }));
}

TEST(StartupTest, UnconvertibleSettingEndsStartUp) {
  const std::pair<const char16_t*, const char16_t*> bad[] = {
      {u"quest1", u"300"}, {u"orikaesi", u"abc"}, {u"ango", u"maybe"}, {u"orikaesi", u"40000"}};
  for (const auto& [key, value] : bad) {
    FakeDesktop desktop;
    desktop.settings[key] = value;
    ProgramState state;
    FakeSplash splash;
    EXPECT_EQ(SplashForm(state, desktop, splash).load(), StartupOutcome::failed);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, shell::texts::kStartupError);
    EXPECT_EQ(desktop.boxes[0].icon, Icon::critical);
    EXPECT_EQ(desktop.boxes[0].buttons, Buttons::ok);
  }
}

TEST(StartupTest, SecondCopyIsRefusedBeforeAnythingElse) {
  FakeDesktop desktop;
  desktop.other_copy_running = true;
  desktop.settings[u"orikaesi"] = u"33";
  ProgramState state;
  FakeSplash splash;
  EXPECT_EQ(SplashForm(state, desktop, splash).load(), StartupOutcome::refused);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, u"2重起動は禁止されています");
  EXPECT_EQ(desktop.boxes[0].icon, Icon::exclamation);
  EXPECT_EQ(desktop.boxes[0].title, u"む～くいれん");
  EXPECT_TRUE(splash.calls.empty());
  EXPECT_EQ(state.settings.wrap_width, 60);
}

// A program moved after "Windows の起動時に実行する" was ticked: the entry
// still names the old path. Start-up says so and offers to update it; No
// leaves it (it may start a copy kept elsewhere) and asks again next time.
TEST(StartupTest, AnEntryForAnotherPathIsOfferedForUpdate) {
  const std::u16string old_entry = u"\"D:\\Tools\\mu_quiren11e.exe\"";
  struct Case {
    const char* name;
    std::optional<std::u16string> entry;
    std::vector<Answer> answers;
    bool locked;
    std::size_t boxes;
    std::optional<std::u16string> after;
  };
  const std::u16string here = u"\"C:\\Program Files\\mu-quiren\\mu_quiren11e.exe\"";
  const Case cases[] = {
      {"no entry: nothing asked", std::nullopt, {}, false, 0, std::nullopt},
      {"this program: nothing asked", here, {}, false, 0, here},
      {"another path, Yes: updated", old_entry, {Answer::yes}, false, 1, here},
      {"another path, No: left as it was", old_entry, {Answer::no}, false, 1, old_entry},
      {"another path, Yes, refused: told", old_entry, {Answer::yes}, true, 2, old_entry},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    FakeDesktop desktop;
    desktop.logon_entry = tc.entry;
    desktop.logon_entry_locked = tc.locked;
    desktop.box_answers.assign(tc.answers.begin(), tc.answers.end());
    ProgramState state;
    FakeSplash splash;
    EXPECT_EQ(SplashForm(state, desktop, splash).load(), StartupOutcome::splash);
    ASSERT_EQ(desktop.boxes.size(), tc.boxes);
    EXPECT_EQ(desktop.logon_entry, tc.after);
    if (tc.boxes == 0) continue;
    const MessageBoxSpec& question = desktop.boxes[0];
    EXPECT_EQ(question.buttons, Buttons::yes_no);
    EXPECT_EQ(question.icon, Icon::question);
    EXPECT_NE(question.text.find(u"D:\\Tools\\mu_quiren11e.exe\r\n"), std::u16string::npos);
    EXPECT_NE(question.text.find(u"C:\\Program Files\\mu-quiren\\mu_quiren11e.exe\r\n"), std::u16string::npos);
    if (tc.boxes == 2) {
      EXPECT_EQ(desktop.boxes[1].text, shell::texts::kLogonEntryNotWritten);
    }
  }
}

}  // namespace
}  // namespace quiren
