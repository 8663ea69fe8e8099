#include "tray/shell/settings_form.h"

#include <gtest/gtest.h>

#include "tests/shell/shell_fakes.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/setting_values_printer.h"
#include "tray/shell/clipboard_watch.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

using testing::FakeChain;
using testing::FakeDesktop;
using testing::FakeFlows;

struct SettingsFormTest : ::testing::Test {
  FakeDesktop desktop;
  ProgramState state;
  FakeChain chain;
  FakeFlows flows{state};
  ClipboardWatch watch{state.busy, chain, flows};
  SettingsForm dialog{state, desktop, watch};
};

// One OK press from a given state of the controls.
struct OkCase {
  const char* name;
  void (*set)(SettingsControls&);
  std::u16string_view message;  // empty: accepted
  Icon icon;
  std::int16_t orikaesi_after;  // the wrap width in force afterwards
};

const std::u16string k30(30, u'p');
const std::u16string k31(31, u'p');

const OkCase kOkCases[] = {
    {"fixed password of 30 accepted",
     [](SettingsControls& c) { c.option1 = AngoChoice::fixed; c.txtpass1 = k30; }, u"", Icon::none, 60},
    {"fixed password of 31 refused",
     [](SettingsControls& c) { c.option1 = AngoChoice::fixed; c.txtpass1 = k31; },
     shell::texts::kPasswordTooLong, Icon::critical, 60},
    {"31 in an unused encryption box accepted",
     [](SettingsControls& c) { c.option1 = AngoChoice::ask; c.txtpass1 = k31; }, u"", Icon::none, 60},
    {"fixed decryption password of 31 refused",
     [](SettingsControls& c) { c.option2 = HukugoChoice::fixed; c.txtpass2 = k31; },
     shell::texts::kPasswordTooLong, Icon::critical, 60},
    {"31 in an unused decryption box accepted",
     [](SettingsControls& c) { c.option2 = HukugoChoice::list; c.txtpass2 = k31; }, u"", Icon::none, 60},
    {"long password checked before the width",
     [](SettingsControls& c) { c.option1 = AngoChoice::fixed; c.txtpass1 = k31; c.txtorikaesi = u"abc"; },
     shell::texts::kPasswordTooLong, Icon::critical, 60},
    {"width 10", [](SettingsControls& c) { c.txtorikaesi = u"10"; }, u"", Icon::none, 10},
    {"width 100", [](SettingsControls& c) { c.txtorikaesi = u"100"; }, u"", Icon::none, 100},
    {"width 10.5 used as 10", [](SettingsControls& c) { c.txtorikaesi = u"10.5"; }, u"", Icon::none, 10},
    {"width 9", [](SettingsControls& c) { c.txtorikaesi = u"9"; }, shell::texts::kBadOrikaesi, Icon::exclamation, 60},
    {"width 9.9", [](SettingsControls& c) { c.txtorikaesi = u"9.9"; }, shell::texts::kBadOrikaesi, Icon::exclamation, 60},
    {"width 100.5", [](SettingsControls& c) { c.txtorikaesi = u"100.5"; }, shell::texts::kBadOrikaesi, Icon::exclamation, 60},
    {"width 101", [](SettingsControls& c) { c.txtorikaesi = u"101"; }, shell::texts::kBadOrikaesi, Icon::exclamation, 60},
    {"empty width", [](SettingsControls& c) { c.txtorikaesi = u""; }, shell::texts::kBadOrikaesi, Icon::exclamation, 60},
    {"width abc", [](SettingsControls& c) { c.txtorikaesi = u"abc"; }, shell::texts::kBadOrikaesi, Icon::exclamation, 60},
    {"fixed encryption without password; width already taken",
     [](SettingsControls& c) { c.option1 = AngoChoice::fixed; c.txtorikaesi = u"42"; },
     shell::texts::kFixedPasswordMissing, Icon::exclamation, 42},
    {"equalpass with ask-each-time encryption",
     [](SettingsControls& c) { c.option2 = HukugoChoice::equalpass; c.txtorikaesi = u"33"; },
     shell::texts::kEqualpassNeedsAngo, Icon::exclamation, 33},
    {"equalpass with the list for encryption",
     [](SettingsControls& c) { c.option2 = HukugoChoice::equalpass; c.option1 = AngoChoice::list; },
     shell::texts::kEqualpassNeedsAngo, Icon::exclamation, 60},
    {"equalpass with a fixed encryption password",
     [](SettingsControls& c) {
       c.option2 = HukugoChoice::equalpass; c.option1 = AngoChoice::fixed; c.txtpass1 = u"pw";
     }, u"", Icon::none, 60},
    {"fixed decryption with an empty password accepted",
     [](SettingsControls& c) { c.option2 = HukugoChoice::fixed; c.txtpass2 = u""; }, u"", Icon::none, 60},
};

TEST_F(SettingsFormTest, OkChecksInOrder) {
  for (const OkCase& tc : kOkCases) {
    SCOPED_TRACE(tc.name);
    desktop.boxes.clear();
    desktop.settings.clear();
    desktop.settings_writes.clear();
    state.settings = SettingValues{};
    dialog.controls = SettingsControls{};
    tc.set(dialog.controls);

    const bool saved = dialog.Command1_Click();

    EXPECT_EQ(state.settings.orikaesi, tc.orikaesi_after);
    if (tc.message.empty()) {
      EXPECT_TRUE(saved);
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_EQ(desktop.settings_writes.size(), 12u);
      // Passwords and width are stored exactly as typed.
      EXPECT_EQ(desktop.settings[u"orikaesi"], dialog.controls.txtorikaesi);
      EXPECT_EQ(desktop.settings[u"angopass"], dialog.controls.txtpass1);
      EXPECT_EQ(desktop.settings[u"hukugopass"], dialog.controls.txtpass2);
    } else {
      EXPECT_FALSE(saved);
      ASSERT_EQ(desktop.boxes.size(), 1u);
      EXPECT_EQ(desktop.boxes[0].text, tc.message);
      EXPECT_EQ(desktop.boxes[0].icon, tc.icon);
      EXPECT_EQ(desktop.boxes[0].buttons, Buttons::ok);
      EXPECT_EQ(desktop.boxes[0].title, kAppTitle);
      EXPECT_TRUE(desktop.settings_writes.empty());
      EXPECT_EQ(state.settings.ango, kFalse);
    }
  }
}

TEST_F(SettingsFormTest, OkWritesElevenKeysInOrderThenStrongAndUpdatesMemory) {
  dialog.controls.txtorikaesi = u"61.5";
  dialog.controls.txtpass1 = u"enc pass";
  dialog.controls.txtpass2 = u"復号";
  dialog.controls.option1 = AngoChoice::fixed;
  dialog.controls.option2 = HukugoChoice::equalpass;
  dialog.controls.check1 = false;
  dialog.controls.chkquestango = false;
  dialog.controls.chkquesthukugo = true;
  dialog.controls.chkstrong = false;

  ASSERT_TRUE(dialog.Command1_Click());

  const std::vector<std::pair<std::u16string, std::u16string>> expected = {
      {u"orikaesi", u"61.5"}, {u"ango", u"True"},      {u"hukugo", u"False"},
      {u"angopass", u"enc pass"}, {u"hukugopass", u"復号"}, {u"hock", u"0"},
      {u"equalpass", u"True"}, {u"quest1", u"0"},     {u"quest2", u"1"},
      {u"usepasslist1", u"False"}, {u"usepasslist2", u"False"}, {u"strong", u"False"},
  };
  ASSERT_EQ(desktop.settings_writes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(desktop.settings_writes[i], expected[i].first) << i;
    EXPECT_EQ(desktop.settings[expected[i].first], expected[i].second) << i;
  }
  EXPECT_EQ(state.settings, (SettingValues{.orikaesi = 62, .ango = kTrue, .hukugo = kFalse, .equalpass = kTrue,
                                           .quest1 = 0, .quest2 = 1, .usepasslist1 = kFalse, .usepasslist2 = kFalse,
                                           .strong = kFalse}));
}

TEST_F(SettingsFormTest, ListChoicesAreStoredOneHot) {
  dialog.controls.option1 = AngoChoice::list;
  dialog.controls.option2 = HukugoChoice::list;
  ASSERT_TRUE(dialog.Command1_Click());
  EXPECT_EQ(desktop.settings[u"ango"], u"False");
  EXPECT_EQ(desktop.settings[u"hukugo"], u"False");
  EXPECT_EQ(desktop.settings[u"equalpass"], u"False");
  EXPECT_EQ(desktop.settings[u"usepasslist1"], u"True");
  EXPECT_EQ(desktop.settings[u"usepasslist2"], u"True");
  EXPECT_EQ(state.settings, (SettingValues{.orikaesi = 60, .ango = kFalse, .hukugo = kFalse, .equalpass = kFalse,
                                           .quest1 = 1, .quest2 = 1, .usepasslist1 = kTrue, .usepasslist2 = kTrue,
                                           .strong = kTrue}));
}

TEST_F(SettingsFormTest, OkSwitchesTheWatchOnlyWhenTheBoxChanged) {
  // Off -> on installs the watch at once, without examining the clipboard.
  dialog.controls.check1 = true;
  ASSERT_TRUE(dialog.Command1_Click());
  EXPECT_TRUE(watch.installed());
  EXPECT_EQ(chain.calls, (std::vector<std::string>{"join"}));
  EXPECT_TRUE(flows.calls.empty());

  // Unchanged: neither.
  ASSERT_TRUE(dialog.Command1_Click());
  EXPECT_EQ(chain.calls.size(), 1u);

  // On -> off removes it.
  dialog.controls.check1 = false;
  ASSERT_TRUE(dialog.Command1_Click());
  EXPECT_FALSE(watch.installed());
  EXPECT_EQ(chain.calls.back(), "leave 0");
}

TEST_F(SettingsFormTest, EmptyStoreFillsDefaults) {
  dialog.controls.txtorikaesi = u"77";
  dialog.controls.option1 = AngoChoice::fixed;
  dialog.controls.option2 = HukugoChoice::list;
  dialog.controls.txtpass1 = u"x";
  dialog.controls.chkquestango = false;
  dialog.loadsettei();
  const SettingsControls& c = dialog.controls;
  EXPECT_EQ(c.txtorikaesi, u"60");
  EXPECT_EQ(c.txtpass1, u"");
  EXPECT_EQ(c.txtpass2, u"");
  EXPECT_EQ(c.option1, AngoChoice::ask);
  EXPECT_EQ(c.option2, HukugoChoice::ask);
  EXPECT_TRUE(c.check1);
  EXPECT_TRUE(c.chkquestango);
  EXPECT_TRUE(c.chkquesthukugo);
  EXPECT_TRUE(c == SettingsControls{}) << "the designed state before the first filling is the empty store's";
  EXPECT_TRUE(desktop.settings_writes.empty());
}

TEST_F(SettingsFormTest, LoadFillsFromStoredValues) {
  struct Case {
    std::map<std::u16string, std::u16string, std::less<>> store;
    AngoChoice option1;
    HukugoChoice option2;
  };
  const Case cases[] = {
      {{{u"ango", u"True"}}, AngoChoice::fixed, HukugoChoice::ask},
      {{{u"hukugo", u"true"}}, AngoChoice::ask, HukugoChoice::fixed},
      {{{u"hukugo", u"True"}, {u"equalpass", u"True"}}, AngoChoice::ask, HukugoChoice::equalpass},
      {{{u"ango", u"True"}, {u"usepasslist1", u"True"}}, AngoChoice::list, HukugoChoice::ask},
      {{{u"equalpass", u"-1"}, {u"usepasslist2", u"True"}}, AngoChoice::ask, HukugoChoice::list},
      // Unreadable texts count as absent.
      {{{u"ango", u"maybe"}, {u"hukugo", u""}}, AngoChoice::ask, HukugoChoice::ask},
  };
  for (const Case& tc : cases) {
    desktop.settings = tc.store;
    dialog.loadsettei();
    EXPECT_EQ(dialog.controls.option1, tc.option1);
    EXPECT_EQ(dialog.controls.option2, tc.option2);
  }

  desktop.settings = {{u"orikaesi", u"10.5"}, {u"angopass", u"a"}, {u"hukugopass", u"b"},
                      {u"hock", u"0"}, {u"quest1", u"0"}, {u"quest2", u"1"}};
  dialog.loadsettei();
  EXPECT_EQ(dialog.controls.txtorikaesi, u"10.5");
  EXPECT_EQ(dialog.controls.txtpass1, u"a");
  EXPECT_EQ(dialog.controls.txtpass2, u"b");
  EXPECT_FALSE(dialog.controls.check1);
  EXPECT_FALSE(dialog.controls.chkquestango);
  EXPECT_TRUE(dialog.controls.chkquesthukugo);

  // An absent "hock" leaves the box as it is.
  desktop.settings.erase(u"hock");
  dialog.loadsettei();
  EXPECT_FALSE(dialog.controls.check1);

  // "strong": absent or unreadable is on, as it is at start-up.
  for (const auto& [stored, ticked] : {std::pair{u"False", false}, std::pair{u"True", true}, std::pair{u"x", true}}) {
    desktop.settings[u"strong"] = stored;
    dialog.loadsettei();
    EXPECT_EQ(dialog.controls.chkstrong, ticked) << quiren::testing::utf8(stored);
  }
  desktop.settings.erase(u"strong");
  dialog.controls.chkstrong = false;
  dialog.loadsettei();
  EXPECT_TRUE(dialog.controls.chkstrong);
}

}  // namespace
}  // namespace quiren
