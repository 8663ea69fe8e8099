// A block written by the offline reader page opens in the tray program.
// page-exchange.sh seals a text with the page in headless Chromium before
// this driver runs and shares a folder with it, named in
// QUIREN_E2E_EXCHANGE (a Windows path): password.txt (its first line),
// page-text.txt, page-block.txt. The program starts with no stored
// settings, as a new user's does; the text carries Japanese and emoji, which
// only a strong block carries under the western code page.
#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/driver/driver.h"
#include "tray/flows/flow_texts.h"
#include "tray/shell/win32/settings_layout.h"
#include "tray/shell/win32/splash_frame.h"

using namespace quiren::e2e;

namespace {

const wchar_t kProgram[] = L"mu_quiren11e.exe";

std::optional<std::wstring> exchange_text(const std::wstring& folder, std::wstring_view name) {
  return read_utf8_file(folder + L"\\" + std::wstring(name));
}

bool start_to_tray(Process& program) {
  program = Process(driver_directory() + L"\\" + kProgram, {}, driver_directory());
  if (!check(program.started(), "program started")) return false;
  HWND splash = wait_for_window(quiren::win32::kSplashClass, L"", program.pid());
  if (!check(splash != nullptr, "splash shown")) return false;
  if (!check(wait_until_gone(splash, 10s), "splash closes by itself")) return false;
  return check(wait_until([] { return FindWindowW(quiren::win32::settings_layout::kMainWindowClass, nullptr); }),
               "main window made");
}

}  // namespace

int wmain() {
  wchar_t folder[MAX_PATH] = {};
  if (!check(GetEnvironmentVariableW(L"QUIREN_E2E_EXCHANGE", folder, MAX_PATH) > 0,
             "QUIREN_E2E_EXCHANGE names the folder shared with page-exchange.sh")) {
    return exit_code();
  }
  const std::optional<std::wstring> password_line = exchange_text(folder, L"password.txt");
  const std::optional<std::wstring> text = exchange_text(folder, L"page-text.txt");
  const std::optional<std::wstring> block = exchange_text(folder, L"page-block.txt");
  if (!check(password_line && text && block, "the page's side left its files")) return exit_code();
  const std::wstring password = password_line->substr(0, password_line->find_first_of(L"\r\n"));

  clear_stored_settings();
  Process program;
  if (!start_to_tray(program)) return exit_code();
  const DWORD pid = program.pid();

  step("the page's block, copied, decrypts in the tray's viewer with exactly its text");
  check_equal(block_mode_letter(*block), L"C", "the page wrote a strong block");
  set_clipboard_text(*block);
  answer(expect_box(pid, quiren::flows::texts::kAskDecrypt, "decrypt question"), IDYES);
  HWND prompt = wait_for_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "decrypt password prompt")) return exit_code();
  answer_prompt(prompt, password);
  HWND viewer = wait_for_window(kViewerClass, L"", pid, 30s);
  if (!check(viewer != nullptr, "viewer shown")) return exit_code();
  std::wstring shown;
  wait_until([&] { return !(shown = control_text(viewer, kViewerTextId)).empty(); });
  check_equal(shown, *text, "viewer text of the page's block");
  screenshot(L"viewer", viewer);

  PostMessageW(viewer, WM_CLOSE, 0, 0);
  wait_until_gone(viewer);
  program.terminate();
  return exit_code();
}
