#include "tray/shell/settings_form.h"

#include <gtest/gtest.h>

#include "tests/shell/shell_fakes.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/scripted_random.h"
#include "tests/support/setting_values.h"
#include "tray/shell/clipboard_watch.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

using testing::FakeChain;
using testing::FakeDesktop;
using testing::FakeFlows;
using namespace std::string_view_literals;

struct SettingsFormTest : ::testing::Test {
  FakeDesktop desktop;
  ProgramState state;
  FakeChain chain;
  FakeFlows flows;
  ClipboardWatch watch{state.busy, chain, flows};
  testing::ScriptedRandom random;
  testing::FakeListFile list_file;
  SettingsForm dialog{state, desktop, random, watch, list_file};
};

// One OK press from a given state of the controls.
struct OkCase {
  const char* name;
  void (*set)(SettingsControls&);
  std::u16string_view message;  // empty: accepted
  Icon icon;
  std::int16_t wrap_width_after;  // the wrap width in force afterwards
};

const std::u16string k30(30, u'p');
const std::u16string k31(31, u'p');
const std::u16string k128(128, u'p');
const std::u16string k129(129, u'p');

// The limit a box keeps: 30 where its always-use option is selected while
// compatible blocks are written, 128 in every other case.
const OkCase kOkCases[] = {
    {"compatible: fixed password of 30 accepted",
     [](SettingsControls& c) { c.strong = false; c.encrypt_source = EncryptPasswordSource::fixed; c.encrypt_password = block::SecretText(k30); },
     u"", Icon::none, 60},
    {"compatible: fixed password of 31 refused",
     [](SettingsControls& c) { c.strong = false; c.encrypt_source = EncryptPasswordSource::fixed; c.encrypt_password = block::SecretText(k31); },
     shell::texts::kPasswordTooLong, Icon::critical, 60},
    {"strong: fixed password of 128 accepted",
     [](SettingsControls& c) { c.strong = true; c.encrypt_source = EncryptPasswordSource::fixed; c.encrypt_password = block::SecretText(k128); },
     u"", Icon::none, 60},
    {"strong: fixed password of 129 refused",
     [](SettingsControls& c) { c.strong = true; c.encrypt_source = EncryptPasswordSource::fixed; c.encrypt_password = block::SecretText(k129); },
     shell::texts::kStrongPasswordTooLong, Icon::critical, 60},
    {"compatible: 128 in an unused encryption box accepted",
     [](SettingsControls& c) { c.strong = false; c.encrypt_source = EncryptPasswordSource::ask; c.encrypt_password = block::SecretText(k128); },
     u"", Icon::none, 60},
    {"compatible: 129 in an unused encryption box refused",
     [](SettingsControls& c) { c.strong = false; c.encrypt_source = EncryptPasswordSource::list; c.encrypt_password = block::SecretText(k129); },
     shell::texts::kStrongPasswordTooLong, Icon::critical, 60},
    {"compatible: fixed decryption password of 31 refused",
     [](SettingsControls& c) { c.strong = false; c.decrypt_source = DecryptPasswordSource::fixed; c.decrypt_password = block::SecretText(k31); },
     shell::texts::kPasswordTooLong, Icon::critical, 60},
    {"strong: fixed decryption password of 128 accepted",
     [](SettingsControls& c) { c.strong = true; c.decrypt_source = DecryptPasswordSource::fixed; c.decrypt_password = block::SecretText(k128); },
     u"", Icon::none, 60},
    {"compatible: 31 in an unused decryption box accepted",
     [](SettingsControls& c) { c.strong = false; c.decrypt_source = DecryptPasswordSource::list; c.decrypt_password = block::SecretText(k31); },
     u"", Icon::none, 60},
    {"strong: 129 in an unused decryption box refused",
     [](SettingsControls& c) { c.strong = true; c.decrypt_source = DecryptPasswordSource::ask; c.decrypt_password = block::SecretText(k129); },
     shell::texts::kStrongPasswordTooLong, Icon::critical, 60},
    {"long password checked before the width",
     [](SettingsControls& c) {
       c.strong = false; c.encrypt_source = EncryptPasswordSource::fixed; c.encrypt_password = block::SecretText(k31); c.wrap_width = u"abc";
     }, shell::texts::kPasswordTooLong, Icon::critical, 60},
    {"width 10", [](SettingsControls& c) { c.wrap_width = u"10"; }, u"", Icon::none, 10},
    {"width 100", [](SettingsControls& c) { c.wrap_width = u"100"; }, u"", Icon::none, 100},
    {"width 10.5 used as 10", [](SettingsControls& c) { c.wrap_width = u"10.5"; }, u"", Icon::none, 10},
    {"width 9", [](SettingsControls& c) { c.wrap_width = u"9"; }, shell::texts::kBadWrapWidth, Icon::exclamation, 60},
    {"width 9.9", [](SettingsControls& c) { c.wrap_width = u"9.9"; }, shell::texts::kBadWrapWidth, Icon::exclamation, 60},
    {"width 100.5", [](SettingsControls& c) { c.wrap_width = u"100.5"; }, shell::texts::kBadWrapWidth, Icon::exclamation, 60},
    {"width 101", [](SettingsControls& c) { c.wrap_width = u"101"; }, shell::texts::kBadWrapWidth, Icon::exclamation, 60},
    {"empty width", [](SettingsControls& c) { c.wrap_width = u""; }, shell::texts::kBadWrapWidth, Icon::exclamation, 60},
    {"width abc", [](SettingsControls& c) { c.wrap_width = u"abc"; }, shell::texts::kBadWrapWidth, Icon::exclamation, 60},
    {"fixed encryption without password; width already taken",
     [](SettingsControls& c) { c.encrypt_source = EncryptPasswordSource::fixed; c.wrap_width = u"42"; },
     shell::texts::kFixedPasswordMissing, Icon::exclamation, 42},
    {"same as encryption with ask-each-time encryption",
     [](SettingsControls& c) { c.decrypt_source = DecryptPasswordSource::same_as_encrypt; c.wrap_width = u"33"; },
     shell::texts::kSameAsEncryptNeedsFixed, Icon::exclamation, 33},
    {"same as encryption with the list for encryption",
     [](SettingsControls& c) { c.decrypt_source = DecryptPasswordSource::same_as_encrypt; c.encrypt_source = EncryptPasswordSource::list; },
     shell::texts::kSameAsEncryptNeedsFixed, Icon::exclamation, 60},
    {"same as encryption with a fixed encryption password",
     [](SettingsControls& c) {
       c.decrypt_source = DecryptPasswordSource::same_as_encrypt; c.encrypt_source = EncryptPasswordSource::fixed; c.encrypt_password = block::SecretText(u"pw"sv);
     }, u"", Icon::none, 60},
    {"fixed decryption with an empty password accepted",
     [](SettingsControls& c) { c.decrypt_source = DecryptPasswordSource::fixed; c.decrypt_password = block::SecretText(u""sv); }, u"", Icon::none, 60},
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

    const bool saved = dialog.ok();

    EXPECT_EQ(state.settings.wrap_width, tc.wrap_width_after);
    if (tc.message.empty()) {
      EXPECT_TRUE(saved);
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_EQ(desktop.settings_writes.size(), 16u);
      // Passwords and width are stored exactly as typed.
      EXPECT_EQ(desktop.settings[u"orikaesi"], dialog.controls.wrap_width);
      EXPECT_EQ(desktop.settings[u"angopass"], dialog.controls.encrypt_password.view());
      EXPECT_EQ(desktop.settings[u"hukugopass"], dialog.controls.decrypt_password.view());
    } else {
      EXPECT_FALSE(saved);
      ASSERT_EQ(desktop.boxes.size(), 1u);
      EXPECT_EQ(desktop.boxes[0].text, tc.message);
      EXPECT_EQ(desktop.boxes[0].icon, tc.icon);
      EXPECT_EQ(desktop.boxes[0].buttons, Buttons::ok);
      EXPECT_EQ(desktop.boxes[0].title, kAppTitle);
      EXPECT_TRUE(desktop.settings_writes.empty());
      EXPECT_FALSE(state.settings.encrypt_with_fixed_password);
    }
  }
}

TEST_F(SettingsFormTest, OkWritesTheEarlierVersionsKeysInItsOrderThenTheNewerOnesAndUpdatesMemory) {
  dialog.controls.wrap_width = u"61.5";
  dialog.controls.encrypt_password = block::SecretText(u"enc pass"sv);
  dialog.controls.decrypt_password = block::SecretText(u"復号"sv);
  dialog.controls.encrypt_source = EncryptPasswordSource::fixed;
  dialog.controls.decrypt_source = DecryptPasswordSource::same_as_encrypt;
  dialog.controls.watch_clipboard = false;
  dialog.controls.ask_before_encrypt = false;
  dialog.controls.ask_before_decrypt = true;
  dialog.controls.strong = false;
  dialog.controls.strong_only = true;

  ASSERT_TRUE(dialog.ok());

  // Each fixed password's sealed value beside it (empty: kept plain).
  const std::vector<std::pair<std::u16string, std::u16string>> expected = {
      {u"orikaesi", u"61.5"}, {u"ango", u"True"},      {u"hukugo", u"False"},
      {u"angopass", u"enc pass"}, {u"protectedangopass", u""}, {u"hukugopass", u"復号"},
      {u"protectedhukugopass", u""}, {u"hock", u"0"},
      {u"equalpass", u"True"}, {u"quest1", u"0"},     {u"quest2", u"1"},
      {u"usepasslist1", u"False"}, {u"usepasslist2", u"False"}, {u"strong", u"False"},
      {u"strongonly", u"True"}, {u"protectpasswords", u"False"},
  };
  ASSERT_EQ(desktop.settings_writes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(desktop.settings_writes[i], expected[i].first) << i;
    EXPECT_EQ(desktop.settings[expected[i].first], expected[i].second) << i;
  }
  EXPECT_EQ(state.settings, defaults_with([](SettingValues& v) {
    v.wrap_width = 62;
    v.encrypt_with_fixed_password = true;
    v.decrypt_with_encrypt_password = true;
    v.ask_before_encrypt = 0;
    v.strong = false;
    v.strong_only = true;
  }));
  EXPECT_TRUE(list_file.rewrites.empty()) << "the protection box did not change";
}

TEST_F(SettingsFormTest, ListChoicesAreStoredOneHot) {
  dialog.controls.encrypt_source = EncryptPasswordSource::list;
  dialog.controls.decrypt_source = DecryptPasswordSource::list;
  ASSERT_TRUE(dialog.ok());
  EXPECT_EQ(desktop.settings[u"ango"], u"False");
  EXPECT_EQ(desktop.settings[u"hukugo"], u"False");
  EXPECT_EQ(desktop.settings[u"equalpass"], u"False");
  EXPECT_EQ(desktop.settings[u"usepasslist1"], u"True");
  EXPECT_EQ(desktop.settings[u"usepasslist2"], u"True");
  EXPECT_EQ(state.settings, defaults_with([](SettingValues& v) {
    v.encrypt_password_from_list = true;
    v.decrypt_password_from_list = true;
  }));
}

TEST_F(SettingsFormTest, OkSwitchesTheWatchOnlyWhenTheBoxChanged) {
  // Off -> on installs the watch at once, without examining the clipboard.
  dialog.controls.watch_clipboard = true;
  ASSERT_TRUE(dialog.ok());
  EXPECT_TRUE(watch.installed());
  EXPECT_EQ(chain.calls, (std::vector<std::string>{"join"}));
  EXPECT_TRUE(flows.calls.empty());

  // Unchanged: neither.
  ASSERT_TRUE(dialog.ok());
  EXPECT_EQ(chain.calls.size(), 1u);

  // On -> off removes it.
  dialog.controls.watch_clipboard = false;
  ASSERT_TRUE(dialog.ok());
  EXPECT_FALSE(watch.installed());
  EXPECT_EQ(chain.calls.back(), "leave 0");
}

TEST_F(SettingsFormTest, EmptyStoreFillsDefaults) {
  dialog.controls.wrap_width = u"77";
  dialog.controls.encrypt_source = EncryptPasswordSource::fixed;
  dialog.controls.decrypt_source = DecryptPasswordSource::list;
  dialog.controls.encrypt_password = block::SecretText(u"x"sv);
  dialog.controls.ask_before_encrypt = false;
  dialog.load();
  const SettingsControls& c = dialog.controls;
  EXPECT_EQ(c.wrap_width, u"60");
  EXPECT_EQ(c.encrypt_password, u"");
  EXPECT_EQ(c.decrypt_password, u"");
  EXPECT_EQ(c.encrypt_source, EncryptPasswordSource::ask);
  EXPECT_EQ(c.decrypt_source, DecryptPasswordSource::ask);
  EXPECT_TRUE(c.watch_clipboard);
  EXPECT_TRUE(c.ask_before_encrypt);
  EXPECT_TRUE(c.ask_before_decrypt);
  EXPECT_TRUE(c == SettingsControls{}) << "the designed state before the first filling is the empty store's";
  EXPECT_TRUE(desktop.settings_writes.empty());
}

TEST_F(SettingsFormTest, LoadFillsFromStoredValues) {
  struct Case {
    std::map<std::u16string, std::u16string, std::less<>> store;
    EncryptPasswordSource encrypt_source;
    DecryptPasswordSource decrypt_source;
  };
  const Case cases[] = {
      {{{u"ango", u"True"}}, EncryptPasswordSource::fixed, DecryptPasswordSource::ask},
      {{{u"hukugo", u"true"}}, EncryptPasswordSource::ask, DecryptPasswordSource::fixed},
      {{{u"hukugo", u"True"}, {u"equalpass", u"True"}}, EncryptPasswordSource::ask, DecryptPasswordSource::same_as_encrypt},
      {{{u"ango", u"True"}, {u"usepasslist1", u"True"}}, EncryptPasswordSource::list, DecryptPasswordSource::ask},
      {{{u"equalpass", u"-1"}, {u"usepasslist2", u"True"}}, EncryptPasswordSource::ask, DecryptPasswordSource::list},
      // Unreadable texts count as absent.
      {{{u"ango", u"maybe"}, {u"hukugo", u""}}, EncryptPasswordSource::ask, DecryptPasswordSource::ask},
  };
  for (const Case& tc : cases) {
    desktop.settings = tc.store;
    dialog.load();
    EXPECT_EQ(dialog.controls.encrypt_source, tc.encrypt_source);
    EXPECT_EQ(dialog.controls.decrypt_source, tc.decrypt_source);
  }

  desktop.settings = {{u"orikaesi", u"10.5"}, {u"angopass", u"a"}, {u"hukugopass", u"b"},
                      {u"hock", u"0"}, {u"quest1", u"0"}, {u"quest2", u"1"}};
  dialog.load();
  EXPECT_EQ(dialog.controls.wrap_width, u"10.5");
  EXPECT_EQ(dialog.controls.encrypt_password, u"a");
  EXPECT_EQ(dialog.controls.decrypt_password, u"b");
  EXPECT_FALSE(dialog.controls.watch_clipboard);
  EXPECT_FALSE(dialog.controls.ask_before_encrypt);
  EXPECT_TRUE(dialog.controls.ask_before_decrypt);

  // An absent watch key leaves the box as it is.
  desktop.settings.erase(u"hock");
  dialog.load();
  EXPECT_FALSE(dialog.controls.watch_clipboard);

  // "strong": absent or unreadable is on, as it is at start-up.
  for (const auto& [stored, ticked] : {std::pair{u"False", false}, std::pair{u"True", true}, std::pair{u"x", true}}) {
    desktop.settings[u"strong"] = stored;
    dialog.load();
    EXPECT_EQ(dialog.controls.strong, ticked) << quiren::testing::utf8(stored);
  }
  desktop.settings.erase(u"strong");
  dialog.controls.strong = false;
  dialog.load();
  EXPECT_TRUE(dialog.controls.strong);

  // The newer boxes: off unless stored as on.
  for (const auto& [stored, ticked] : {std::pair{u"True", true}, std::pair{u"x", false}, std::pair{u"False", false}}) {
    desktop.settings[u"strongonly"] = stored;
    desktop.settings[u"protectpasswords"] = stored;
    dialog.load();
    EXPECT_EQ(dialog.controls.strong_only, ticked) << quiren::testing::utf8(stored);
    EXPECT_EQ(dialog.controls.protect_passwords, ticked) << quiren::testing::utf8(stored);
  }
}

// "パスワードをこのユーザーだけが読める形で保存する": ticked, the fixed
// passwords are stored sealed (the earlier version's plain values empty)
// and the password list is rewritten sealed; unticked, both go back plain.
// The list is rewritten only when the box changes.
TEST_F(SettingsFormTest, ProtectingThePasswordsSealsThemAndTheList) {
  dialog.load();
  dialog.controls.encrypt_password = block::SecretText(u"暗号化の合言葉"sv);
  dialog.controls.decrypt_password = block::SecretText(u"復号の合言葉"sv);
  for (const bool protect : {true, true, false}) {
    SCOPED_TRACE(protect);
    dialog.controls.protect_passwords = protect;
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(desktop.settings[u"protectpasswords"], protect ? u"True" : u"False");
    EXPECT_EQ(desktop.settings[u"angopass"], protect ? u"" : u"暗号化の合言葉");
    EXPECT_EQ(desktop.settings[u"hukugopass"], protect ? u"" : u"復号の合言葉");
    EXPECT_EQ(desktop.settings[u"protectedangopass"].empty(), !protect);
    dialog.load();
    EXPECT_EQ(dialog.controls.encrypt_password, u"暗号化の合言葉");
    EXPECT_EQ(dialog.controls.decrypt_password, u"復号の合言葉");
    EXPECT_EQ(dialog.controls.protect_passwords, protect);
  }
  EXPECT_EQ(list_file.rewrites, (std::vector<bool>{true, false}));
  EXPECT_TRUE(desktop.boxes.empty());
}

// A list file that could not be rewritten is said, with the direction, and
// the settings stay saved: the list is left as it was.
TEST_F(SettingsFormTest, AListLeftAsItWasIsSaid) {
  const struct {
    ListRewrite result;
    bool protect;
    std::u16string_view message;
  } cases[] = {
      {ListRewrite::unreadable, false, shell::texts::kListSealedUnreadable},
      {ListRewrite::not_written, true, shell::texts::kListNotSealed},
      {ListRewrite::not_written, false, shell::texts::kListNotUnsealed},
  };
  for (const auto& c : cases) {
    desktop.settings[u"protectpasswords"] = c.protect ? u"False" : u"True";
    desktop.boxes.clear();
    list_file.result = c.result;
    dialog.load();
    dialog.controls.protect_passwords = c.protect;
    EXPECT_TRUE(dialog.ok());
    EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(c.message)});
    EXPECT_EQ(desktop.settings[u"protectpasswords"], c.protect ? u"True" : u"False");
  }
}

// The system refusing to seal: OK saves nothing, says so, and the dialog
// stays open.
TEST_F(SettingsFormTest, ARefusedSealSavesNothing) {
  dialog.load();
  dialog.controls.protect_passwords = true;
  dialog.controls.decrypt_password = block::SecretText(u"to seal"sv);
  dialog.controls.ask_before_encrypt = false;
  desktop.protection_fails = true;
  EXPECT_FALSE(dialog.ok());
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(shell::texts::kPasswordsNotSealed)});
  EXPECT_TRUE(desktop.settings_writes.empty());
  EXPECT_TRUE(list_file.rewrites.empty());
  EXPECT_EQ(state.settings.ask_before_encrypt, 1);
}

// A fixed password sealed for another Windows user: said once as the
// dialog opens, shown empty, and kept as it is by OK unless a new one is
// typed in its box.
TEST_F(SettingsFormTest, AnotherUsersSealedPasswordIsKeptUnlessReplaced) {
  dialog.load();
  dialog.controls.encrypt_password = block::SecretText(u"taro's"sv);
  dialog.controls.decrypt_password = block::SecretText(u"taro's too"sv);
  dialog.controls.protect_passwords = true;
  ASSERT_TRUE(dialog.ok());
  const std::u16string sealed = desktop.settings[u"protectedangopass"];

  desktop.windows_user = u"hanako";
  dialog.load();
  EXPECT_EQ(dialog.controls.encrypt_password, u"");
  EXPECT_EQ(dialog.controls.decrypt_password, u"");
  EXPECT_TRUE(desktop.boxes.empty()) << "said once the dialog shows, not while it loads";
  dialog.tell_unreadable_passwords();
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(shell::texts::kFixedPasswordsUnreadable)});

  dialog.controls.decrypt_password = block::SecretText(u"hanako's"sv);
  desktop.settings_writes.clear();
  ASSERT_TRUE(dialog.ok());
  EXPECT_EQ(desktop.settings[u"protectedangopass"], sealed) << "kept: nothing typed in its box";
  EXPECT_EQ(std::count(desktop.settings_writes.begin(), desktop.settings_writes.end(), u"protectedangopass"), 0);
  dialog.load();
  EXPECT_EQ(dialog.controls.decrypt_password, u"hanako's") << "replaced: a new one typed";
  desktop.windows_user = u"taro";
  dialog.load();
  EXPECT_EQ(dialog.controls.encrypt_password, u"taro's");
}

// "パスワードを生成" beside the fixed password boxes: offered while strong
// blocks are written (a passphrase is too long for a compatible block's
// password); it fills one box, shows both and remembers the form.
TEST_F(SettingsFormTest, GeneratedPassphrasesFillTheBoxTheyStandBeside) {
  dialog.load();
  dialog.controls.encrypt_password = block::SecretText(u"old"sv);
  dialog.controls.decrypt_password = block::SecretText(u"kept"sv);
  ASSERT_TRUE(dialog.passphrase_offered());
  EXPECT_FALSE(dialog.controls.passphrase_kana);

  random.then({0, 1, 2, 3, 4, 7775});
  ASSERT_TRUE(dialog.generate_passphrase(FixedPassword::encrypt));
  EXPECT_EQ(dialog.controls.encrypt_password, u"abacus-abdomen-abdominal-abide-abiding-zoom");
  EXPECT_EQ(dialog.controls.decrypt_password, u"kept");
  EXPECT_TRUE(dialog.controls.show_passwords);

  dialog.controls.passphrase_kana = true;
  random.then({2047, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(dialog.generate_passphrase(FixedPassword::decrypt));
  EXPECT_EQ(dialog.controls.decrypt_password,
            u"われる　あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん　あいこくしん");
  EXPECT_EQ(desktop.settings[u"kanapassphrase"], u"True") << "remembered whether or not OK follows";
  EXPECT_TRUE(desktop.boxes.empty());

  // Used with the fixed option, it passes OK's check and is stored as shown.
  dialog.controls.encrypt_source = EncryptPasswordSource::fixed;
  ASSERT_TRUE(dialog.ok());
  EXPECT_EQ(desktop.settings[u"angopass"], u"abacus-abdomen-abdominal-abide-abiding-zoom");
  dialog.load();
  EXPECT_TRUE(dialog.controls.passphrase_kana);
}

TEST_F(SettingsFormTest, NoPassphraseWhereItCouldNotBeUsedOrWhenRandomFails) {
  dialog.load();
  dialog.controls.encrypt_password = block::SecretText(u"old"sv);
  dialog.controls.strong = false;
  random.then({0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(dialog.passphrase_offered());
  EXPECT_FALSE(dialog.generate_passphrase(FixedPassword::encrypt));
  EXPECT_EQ(dialog.controls.encrypt_password, u"old");
  EXPECT_EQ(random.calls, 0);
  EXPECT_TRUE(desktop.boxes.empty());

  dialog.controls.strong = true;
  random.fails = true;
  EXPECT_FALSE(dialog.generate_passphrase(FixedPassword::encrypt));
  EXPECT_EQ(dialog.controls.encrypt_password, u"old");
  EXPECT_FALSE(dialog.controls.show_passwords);
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(shell::texts::kPassphraseFailed)});
  EXPECT_TRUE(desktop.settings_writes.empty());
}

// "Windows の起動時に実行する": the box shows whether Windows starts this
// program at log-on; OK makes the entry agree with it.
TEST_F(SettingsFormTest, StartWithWindowsShowsAndSetsTheLogonEntry) {
  const std::u16string program = desktop.program_path();
  const std::u16string command = u"\"" + program + u"\"";
  EXPECT_EQ(command, u"\"C:\\Program Files\\mu-quiren\\mu_quiren11e.exe\"");
  struct Case {
    const char* name;
    std::optional<std::u16string> entry;  // before the dialog opens
    bool shown;                           // the box as it opens
    bool ticked;                          // the box at OK
    std::optional<std::u16string> after;
    std::vector<std::u16string> changes;
  };
  const std::u16string elsewhere = u"\"D:\\old\\mu_quiren11e.exe\"";
  const Case cases[] = {
      {"none, left unticked", std::nullopt, false, false, std::nullopt, {}},
      {"none, ticked", std::nullopt, false, true, command, {u"write " + command}},
      {"this program, kept", command, true, true, command, {}},
      {"this program, unticked", command, true, false, std::nullopt, {u"remove"}},
      {"this program unquoted in other letter case: shown ticked, written as this program writes it",
       u"  c:\\PROGRAM FILES\\mu-quiren\\MU_QUIREN11E.EXE ", true, true, command, {u"write " + command}},
      {"another path, left unticked: left alone", elsewhere, false, false, elsewhere, {}},
      {"another path, ticked: this program", elsewhere, false, true, command, {u"write " + command}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    desktop.logon_entry = tc.entry;
    desktop.logon_entry_changes.clear();
    dialog.load();
    EXPECT_EQ(dialog.controls.start_with_windows, tc.shown);
    dialog.controls.start_with_windows = tc.ticked;
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(desktop.logon_entry, tc.after);
    EXPECT_EQ(desktop.logon_entry_changes, tc.changes);
    dialog.load();
    EXPECT_EQ(dialog.controls.start_with_windows, tc.ticked);
  }

  // Removed elsewhere while the program ran: the next opening shows it.
  desktop.logon_entry.reset();
  dialog.load();
  EXPECT_FALSE(dialog.controls.start_with_windows);
}

TEST_F(SettingsFormTest, ARefusedLogonEntryKeepsTheDialogOpenAndSavesNothing) {
  dialog.load();
  desktop.logon_entry_locked = true;
  dialog.controls.start_with_windows = true;
  dialog.controls.ask_before_encrypt = false;
  EXPECT_FALSE(dialog.ok());
  EXPECT_EQ(desktop.box_texts(), std::vector<std::u16string>{std::u16string(shell::texts::kLogonEntryNotWritten)});
  EXPECT_EQ(desktop.boxes[0].icon, Icon::critical);
  EXPECT_TRUE(desktop.settings_writes.empty());
  EXPECT_EQ(state.settings.ask_before_encrypt, 1);
  EXPECT_FALSE(desktop.logon_entry);
}

}  // namespace
}  // namespace quiren
