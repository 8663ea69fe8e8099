// Runs the user can see and stop, in the tray program under Wine: a text of
// one strong and one compatible block shows the viewer's status line; a
// block of 10,000,000 rounds shows the progress window after half a second,
// the tray menu opens and the watch starts nothing while its key is
// derived, and Cancel returns the tray to idle within a second, with no
// viewer and the clipboard as it was; exit from the tray menu stops a run,
// and exit while the password prompt is open derives nothing.
// Screenshots: the viewer with its
// status line, the progress window, the menu over it.
#include <windows.h>

#include <chrono>
#include <string>

#include "block/strong/envelope_layout.h"
#include "tests/e2e/driver/driver.h"
#include "tests/support/received_forms.h"
#include "tray/core/shared_texts.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/core/win32/progress_ids.h"
#include "tray/flows/flow_texts.h"
#include "tray/shell/main_form.h"
#include "tray/shell/win32/settings_layout.h"
#include "tray/shell/win32/splash_frame.h"

using namespace quiren::e2e;
namespace text = quiren::flows::texts;

namespace {

bool start(Process& program) {
  program = Process(driver_directory() + L"\\mu_quiren11e.exe", {});
  if (!check(program.started(), "program started")) return false;
  HWND splash = wait_for_window(quiren::win32::kSplashClass, L"", program.pid(), 20s);
  if (!check(splash != nullptr, "splash shown")) return false;
  check(wait_until_gone(splash, 20s), "splash closes by itself");
  return check(wait_until([] { return main_window() != nullptr; }), "main window made");
}

// Copies `clip`, answers the decrypt question and the password prompt.
void start_decrypting(DWORD pid, std::wstring_view clip, std::wstring_view password) {
  set_clipboard_text(clip);
  answer(expect_box(pid, text::kAskDecrypt, "decrypt question"), IDYES);
  HWND prompt = wait_for_prompt(kAppTitle, pid);
  if (check(prompt != nullptr, "password prompt")) answer_prompt(prompt, password);
}

void status_line(DWORD pid) {
  step("one strong and one compatible block: the viewer's status line names both and warns of the compatible one");
  namespace vectors = quiren::testing::vectors;
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    if (form.name != "strong + compatible: first quoted, second as sent") continue;
    start_decrypting(pid, wide(form.received), L"pw");
    HWND viewer = wait_for_window(kViewerClass, kViewerCaption, pid, 20s);
    if (!check(viewer != nullptr, "viewer shown")) return;
    check(wait_until([&] { return control_text(viewer, kViewerTextId) == wide(quiren::testing::shown_text(form)); }),
          "the viewer's text is the two blocks' texts alone");
    check_equal(control_text(viewer, kViewerStatusId),
                L"強力な暗号化 1 件、互換形式 1 件。互換形式の暗号文は改ざんを検出できません", "status line");
    SendMessageTimeoutW(viewer, WM_NULL, 0, 0, SMTO_NORMAL, 3000, nullptr);
    screenshot(L"viewer-status-line", viewer);
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    check(wait_until_gone(viewer), "viewer closed");
  }
}

void cancelled_run(HWND main, DWORD pid) {
  step("a block of 10,000,000 rounds: the progress window after half a second");
  const std::wstring slow = slow_strong_block(quiren::block::kMaxReadIterations);
  if (!check(!slow.empty(), "the slow block was made")) return;
  start_decrypting(pid, slow, L"pw");
  const auto asked = std::chrono::steady_clock::now();
  HWND progress = wait_for_window(quiren::win32::kProgressClass, kAppTitle, pid, 20s);
  if (!check(progress != nullptr, "progress window shown")) return;
  check(std::chrono::steady_clock::now() - asked >= 450ms, "not before half a second");
  check_equal(control_text(progress, quiren::win32::kProgressTextId), L"復号しています… (1/1)", "progress text");
  check_equal(control_text(progress, quiren::win32::kProgressCancelId), wide(quiren::core::texts::kButtonCancel),
              "its button");
  screenshot(L"progress", progress);

  step("while the key is derived the tray menu opens, and the watch starts nothing");
  PostMessageW(main, quiren::kTrayCallbackMessage, quiren::kTrayIconId, quiren::kRightButtonDown);
  HWND popup = wait_for_window(L"#32768", L"", 0, 5s);
  if (check(popup != nullptr, "menu shown during the run")) {
    screenshot(L"menu-during-run", popup);
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    check(wait_until_gone(popup), "menu closed without a choice");
  }
  const std::wstring copied = L"copied while the run goes on";
  set_clipboard_text(copied);
  check(no_box_for_a_while(pid), "a text copied during the run starts nothing");
  check(IsWindow(progress) != 0, "the run goes on meanwhile");

  step("Cancel: the tray idle within a second; no viewer, the clipboard as it was");
  press_button(progress, quiren::win32::kProgressCancelId);
  const auto pressed = std::chrono::steady_clock::now();
  check(wait_until_gone(progress, 5s), "progress window closed");
  check(std::chrono::steady_clock::now() - pressed <= 1s, "within a second of Cancel");
  check(no_box_for_a_while(pid) && find_window(kViewerClass, kViewerCaption, pid) == nullptr,
        "no viewer and no message after Cancel");
  check(clipboard_text() == copied, "the clipboard as it was");
  set_clipboard_text(L"after the run");
  answer(expect_box(pid, text::kAskEncrypt, "the watch offers to encrypt again"), IDNO);
}

// Exit from the tray menu while the password prompt is open (the password
// typed, not yet confirmed): the run ends there. The prompt goes with the
// tray icon, the program ends at once, and no progress window (no key
// derivation) and no message come before it has ended.
void exit_at_the_password_prompt() {
  step("exit while the password prompt is open: no process is left and nothing is derived");
  Process program;
  if (!start(program)) return;
  const DWORD pid = program.pid();
  set_clipboard_text(slow_strong_block(quiren::block::kMaxReadIterations));
  answer(expect_box(pid, text::kAskDecrypt, "decrypt question"), IDYES);
  HWND prompt = wait_for_password_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "password prompt")) return;
  check(set_control_text(prompt, quiren::win32::kPromptEditId, L"pw"), "the password typed, not confirmed");
  PostMessageW(main_window(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(quiren::MenuCommand::exit), 0), 0);
  bool shown_after_exit = false;
  const bool ended = wait_until(
      [&] {
        shown_after_exit = shown_after_exit || find_window(quiren::win32::kProgressClass, kAppTitle, pid) != nullptr ||
                           find_window(kMessageBoxClass, kAppTitle, pid) != nullptr;
        return program.wait(0ms).has_value();
      },
      5s);
  if (!check(ended, "the program ended at once, leaving no process")) screenshot(L"still-running-after-exit");
  check(!shown_after_exit, "no progress window and no message after Exit");
}

}  // namespace

int wmain() {
  clear_stored_settings();
  Process program;
  if (!start(program)) return exit_code();
  const DWORD pid = program.pid();
  HWND main = main_window();
  status_line(pid);
  cancelled_run(main, pid);
  step("exit from the tray menu during another long run: it stops, and the program ends at once");
  start_decrypting(pid, slow_strong_block(quiren::block::kMaxReadIterations), L"pw");
  HWND progress = wait_for_window(quiren::win32::kProgressClass, kAppTitle, pid, 20s);
  check(progress != nullptr, "progress window shown");
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(quiren::MenuCommand::exit), 0), 0);
  check(program.wait(3s).has_value(), "the program ended without waiting for the derivation");
  exit_at_the_password_prompt();
  return exit_code();
}
