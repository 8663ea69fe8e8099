#include "tray/shell/main_form.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/shell/shell_fakes.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/scripted_random.h"
#include "tray/passlist/password_list_form.h"
#include "tray/shell/about_form.h"

namespace quiren {
namespace {

using namespace quiren::testing;

// The password list editor as the tray menu opens it: the real window
// logic behind the menu's interface.
struct ListEditor : ModelessWindow {
  ListEditor(Busy& b, Desktop& d) : busy(b), desktop(d) {}
  Busy& busy;
  Desktop& desktop;
  std::optional<PasswordListForm> form;
  void show() override {
    if (is_open()) return;
    form.emplace(PasswordListMode::editor, busy, desktop);
    form->load();
  }
  void close() override {
    if (is_open()) form->unload();
  }
  bool is_open() const override { return form && !form->closed(); }
};

struct MainFormTest : ::testing::Test {
  FakeDesktop desktop;
  ProgramState state;
  FakeChain chain;
  FakeFlows flows;
  FakeView view;
  ListEditor editor{state.busy, desktop};
  FakeWindow about;
  FakeViewer viewer;
  AboutForm about_form{state};
  testing::ScriptedRandom random;
  testing::FakeListFile list_file;
  MainForm window{state, desktop, random, chain, MainFormParts{view, flows, editor, about, viewer, list_file}};

  MainFormTest() {
    view.on_unload = [this] { window.unload(); };
    about.on_show = [this] { about_form.open(); };
    about.on_close = [this] { about_form.close(); };
  }

  // Something new is copied: the count moves on and the notice comes.
  void copy() {
    ++chain.sequence;
    window.watch().on_clipboard_changed();
  }
};

TEST_F(MainFormTest, HookIgnoresTheNoticeSentOnJoining) {
  desktop.clipboard = u"already there";
  chain.next_on_join = 77;
  chain.during_join = [&] {
    ++chain.sequence;
    window.watch().on_clipboard_changed();
  };
  window.watch().install();
  EXPECT_TRUE(flows.calls.empty()) << "new contents, yet the notice on joining starts nothing";
  EXPECT_TRUE(chain.draws.empty());  // no next viewer known yet
  EXPECT_TRUE(window.watch().installed());
  EXPECT_EQ(window.watch().next_viewer(), 77u);
  copy();
  EXPECT_EQ(flows.calls, (std::vector<std::string>{"on_clipboard_change"})) << "the next change does";
}

TEST_F(MainFormTest, ClipboardChangeStartsAFlowOnlyWhenNothingIsBusy) {
  chain.next_on_join = 5;
  window.watch().install();

  copy();
  EXPECT_EQ(flows.calls, (std::vector<std::string>{"on_clipboard_change"}));

  Busy::Token held = state.busy.hold();
  copy();
  EXPECT_EQ(flows.calls.size(), 1u);
  // Forwarded both times.
  EXPECT_EQ(chain.draws, (std::vector<WindowHandle>{5, 5}));

  held.release();
  window.watch().remove();
  copy();
  EXPECT_EQ(flows.calls.size(), 1u);
  EXPECT_EQ(chain.draws.size(), 2u);
}

TEST_F(MainFormTest, ANoticeForContentsAlreadySeenStartsNothing) {
  chain.next_on_join = 5;
  chain.during_join = [&] { window.watch().on_clipboard_changed(); };
  window.watch().install();
  auto notice_again = [&] { window.watch().on_clipboard_changed(); };

  // The contents at joining count as seen.
  notice_again();
  EXPECT_TRUE(flows.calls.empty());

  copy();
  notice_again();
  EXPECT_EQ(flows.calls, (std::vector<std::string>{"on_clipboard_change"}));

  // Contents met while busy are seen too: a late notice for them after the
  // flow ended starts nothing.
  {
    const Busy::Token flow = state.busy.start_flow();
    copy();
  }
  notice_again();
  EXPECT_EQ(flows.calls.size(), 1u);

  // The same text copied again is a new change.
  copy();
  EXPECT_EQ(flows.calls.size(), 2u);

  // The clipboard moved on while the flow read it: the notice for what the
  // flow already examined, arriving after it ended, starts nothing.
  flows.during_clipboard_change = [&] { ++chain.sequence; };
  copy();
  flows.during_clipboard_change = nullptr;
  notice_again();
  EXPECT_EQ(flows.calls.size(), 3u);

  // A platform that cannot count changes: every notice is examined.
  chain.sequence = 0;
  notice_again();
  notice_again();
  EXPECT_EQ(flows.calls.size(), 5u);

  // Every notice is passed on, examined or not.
  EXPECT_EQ(chain.draws, std::vector<WindowHandle>(10, 5));
}

TEST_F(MainFormTest, ChainChangeNotices) {
  chain.next_on_join = 10;
  window.watch().install();

  // Another viewer leaves: passed on with its own arguments.
  window.watch().on_chain_changed(20, 30);
  ASSERT_EQ(chain.changes.size(), 1u);
  EXPECT_EQ(chain.changes[0].to, 10u);
  EXPECT_EQ(chain.changes[0].leaving, 20u);
  EXPECT_EQ(chain.changes[0].following, 30u);

  // Our next viewer leaves: the one after it becomes next, nothing passed on.
  window.watch().on_chain_changed(10, 40);
  EXPECT_EQ(chain.changes.size(), 1u);
  EXPECT_EQ(window.watch().next_viewer(), 40u);

  // The last viewer after ours leaves: no next viewer, nothing to pass on.
  window.watch().on_chain_changed(40, 0);
  window.watch().on_chain_changed(50, 60);
  copy();
  EXPECT_EQ(chain.changes.size(), 1u);
  EXPECT_TRUE(chain.draws.empty());

  window.watch().remove();
  EXPECT_EQ(chain.calls.back(), "leave 0");
}

TEST_F(MainFormTest, UnhookWhenOffLeavesNoChainAndRehookForgetsTheOldNext) {
  window.watch().remove();
  EXPECT_TRUE(chain.calls.empty());

  chain.next_on_join = 9;
  window.watch().install();
  window.watch().remove();
  EXPECT_EQ(chain.calls, (std::vector<std::string>{"join", "leave 9"}));

  chain.during_join = [&] { window.watch().on_clipboard_changed(); };
  window.watch().install();
  EXPECT_TRUE(chain.draws.empty());
}

TEST_F(MainFormTest, LoadStepFollowsTheStoredWatchSetting) {
  struct Case { const char* stored; bool installed; };
  const Case cases[] = {{nullptr, true}, {"1", true}, {"0", false}, {"2", false}, {"junk", true}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.stored ? tc.stored : "absent");
    FakeDesktop d;
    ProgramState s;
    FakeChain ch;
    FakeFlows f;
    FakeView v;
    if (tc.stored) d.settings[u"hock"] = testing::u16(tc.stored);
    d.settings[u"orikaesi"] = u"45";
    MainForm w{s, d, random, ch, MainFormParts{v, f, editor, about, viewer, list_file}};
    w.load();
    EXPECT_EQ(w.watch().installed(), tc.installed);
    EXPECT_EQ(v.calls, (std::vector<std::string>{"add icon", "hide", "refresh"}));
    EXPECT_FALSE(w.settings_visible());
    EXPECT_EQ(w.settings().controls.wrap_width, u"45");
    EXPECT_TRUE(f.calls.empty());
    // Loaded, the watch starts a flow on the next change, if it is on.
    ++ch.sequence;
    w.watch().on_clipboard_changed();
    EXPECT_EQ(f.calls.size(), tc.installed ? 1u : 0u);
  }
}

TEST_F(MainFormTest, OnlyARightButtonPressOpensTheMenu) {
  for (std::uint32_t code : {0x200u, 0x201u, 0x202u, 0x203u, 0x205u, 0x206u, 0x207u, 0u}) {
    window.on_tray_icon(code);
  }
  EXPECT_TRUE(view.calls.empty());
  window.on_tray_icon(kRightButtonDown);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"menu"}));
}

TEST_F(MainFormTest, MenuCommands) {
  window.load();
  view.calls.clear();

  window.run(MenuCommand::encrypt);
  window.run(MenuCommand::decrypt);
  EXPECT_EQ(flows.calls, (std::vector<std::string>{"encrypt", "decrypt"}));

  // Settings: shown and refilled from the store; clipboard changes still
  // start flows meanwhile.
  desktop.settings[u"orikaesi"] = u"70";
  window.settings().controls.wrap_width = u"99";
  window.run(MenuCommand::settings);
  EXPECT_TRUE(window.settings_visible());
  EXPECT_EQ(view.calls, (std::vector<std::string>{"show", "refresh"}));
  EXPECT_EQ(window.settings().controls.wrap_width, u"70");
  copy();
  EXPECT_EQ(flows.calls.back(), "on_clipboard_change");

  window.settings_cancel();
  EXPECT_FALSE(window.settings_visible());
  EXPECT_TRUE(desktop.settings_writes.empty());

  // A clipboard change while the password list is open starts no flow;
  // the menu's commands still work.
  flows.calls.clear();
  window.run(MenuCommand::password_list);
  EXPECT_TRUE(editor.is_open());
  copy();
  EXPECT_TRUE(flows.calls.empty());
  window.run(MenuCommand::encrypt);
  EXPECT_EQ(flows.calls, std::vector<std::string>{"encrypt"});
  editor.close();
  copy();
  EXPECT_EQ(flows.calls, (std::vector<std::string>{"encrypt", "on_clipboard_change"}));

  // Nor while the about window is open, its title the running version.
  state.version_text = u"む～くいれん Ver1.1";
  flows.calls.clear();
  window.run(MenuCommand::about);
  EXPECT_TRUE(about.open);
  EXPECT_EQ(about_form.title, u"む～くいれん Ver1.1");
  copy();
  EXPECT_TRUE(flows.calls.empty());
  about.close();
  copy();
  EXPECT_EQ(flows.calls, (std::vector<std::string>{"on_clipboard_change"}));
}

TEST_F(MainFormTest, OneWindowClosingLeavesTheWatchQuietWhileAnotherIsOpen) {
  window.load();
  window.run(MenuCommand::password_list);
  window.run(MenuCommand::about);
  about.close();
  copy();
  EXPECT_TRUE(flows.calls.empty()) << "the password list is still open";
  editor.close();
  copy();
  EXPECT_EQ(flows.calls, std::vector<std::string>{"on_clipboard_change"});
}

TEST_F(MainFormTest, SettingsOkHidesOnlyWhenSaved) {
  window.load();
  window.run(MenuCommand::settings);
  window.settings().controls.wrap_width = u"9";
  window.settings_ok();
  EXPECT_TRUE(window.settings_visible());
  window.settings().controls.wrap_width = u"20";
  window.settings_ok();
  EXPECT_FALSE(window.settings_visible());
  EXPECT_EQ(std::vector<std::string>(view.calls.end() - 2, view.calls.end()),
            (std::vector<std::string>{"hide", "refresh"}));
  EXPECT_EQ(desktop.settings[u"orikaesi"], u"20");
}

TEST_F(MainFormTest, TheHiddenDialogHoldsNoPassword) {
  desktop.settings[u"angopass"] = u"暗号の合言葉";
  desktop.settings[u"hukugopass"] = u"復号の合言葉";
  window.load();
  EXPECT_EQ(window.settings().controls.encrypt_password, u"") << "hidden from the start";
  for (void (MainForm::*close)() : {&MainForm::settings_ok, &MainForm::settings_cancel}) {
    window.run(MenuCommand::settings);
    EXPECT_EQ(window.settings().controls.encrypt_password, u"暗号の合言葉");
    EXPECT_EQ(window.settings().controls.decrypt_password, u"復号の合言葉");
    EXPECT_FALSE(window.settings().controls.show_passwords) << "every opening starts masked";
    window.settings().controls.show_passwords = true;
    (window.*close)();
    EXPECT_FALSE(window.settings_visible());
    EXPECT_EQ(view.calls.back(), "refresh") << "the boxes are emptied";
    EXPECT_EQ(window.settings().controls.encrypt_password, u"");
    EXPECT_EQ(window.settings().controls.decrypt_password, u"");
    EXPECT_EQ(desktop.settings[u"angopass"], u"暗号の合言葉") << "the store keeps them as they were";
    EXPECT_EQ(desktop.settings[u"hukugopass"], u"復号の合言葉");
  }
}

TEST_F(MainFormTest, ExitUnloadsAndClosesTheOtherWindows) {
  chain.next_on_join = 3;
  window.load();
  viewer.open = true;
  window.run(MenuCommand::about);
  view.calls.clear();

  window.run(MenuCommand::exit);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"unload", "remove icon"}));
  EXPECT_EQ(chain.calls.back(), "leave 3");
  EXPECT_FALSE(window.watch().installed());
  EXPECT_EQ(flows.calls.back(), "cancel run") << "a run waiting for its key stops";
  EXPECT_FALSE(viewer.open);
  EXPECT_FALSE(about.open);
  EXPECT_TRUE(state.busy.idle()) << "the about window's hold went with it";
  EXPECT_TRUE(window.program_may_end());
  EXPECT_TRUE(desktop.quit_requested) << "a box or prompt a flow still waits in closes";
}

TEST_F(MainFormTest, AnOpenPasswordEditorKeepsTheProgramRunning) {
  window.load();
  window.run(MenuCommand::password_list);
  window.unload();  // the dialog's close box
  EXPECT_FALSE(window.program_may_end());
  EXPECT_FALSE(desktop.quit_requested);
  editor.close();
  EXPECT_TRUE(window.program_may_end());
}

}  // namespace
}  // namespace quiren
