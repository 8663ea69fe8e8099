// Drives the flows host under Wine: encrypt clipboard text, decrypt one and
// two blocks into the viewer, a wrong password, the viewer's size kept across
// openings, and Japanese refused where the code page cannot hold it.
#include <windows.h>

#include <string>

#include "tests/e2e/driver/driver.h"

using namespace quiren::e2e;

namespace {

const std::wstring kTitle = L"む～くいれん";
const std::wstring kViewerClass = L"quiren_frmprint";
const std::wstring kViewerCaption = L"復号した文章の表示";
constexpr int kTextBox = 101;

// Answers the box that must come next: checks its text, presses `button`.
bool expect_box(DWORD pid, std::wstring_view text, int button) {
  HWND box = wait_for_message_box(kTitle, pid);
  if (!check(box != nullptr, "message box appears")) return false;
  check_equal(message_box_text(box), text, "message box text");
  press_button(box, button);
  return wait_until_gone(box);
}

bool answer_password(DWORD pid, std::wstring_view password) {
  HWND prompt = wait_for_prompt(kTitle, pid);
  if (!check(prompt != nullptr, "password prompt appears")) return false;
  return answer_prompt(prompt, password);
}

// Copies `text`, lets the host encrypt it under `password`, returns the block.
std::wstring encrypt(DWORD pid, std::wstring_view text, std::wstring_view password) {
  set_clipboard_text(text);
  expect_box(pid, L"クリップボードの内容を暗号化しますか？", IDYES);
  answer_password(pid, password);
  expect_box(pid, L"暗号化した文章をクリップボードに書き込みました", IDOK);
  return clipboard_text().value_or(L"");
}

std::wstring decrypt(DWORD pid, std::wstring_view clip, std::wstring_view password) {
  set_clipboard_text(clip);
  expect_box(pid, L"クリップボードの内容を復号しますか？", IDYES);
  answer_password(pid, password);
  HWND viewer = wait_for_window(kViewerClass, kViewerCaption, pid);
  if (!check(viewer != nullptr, "viewer appears")) {
    if (HWND box = find_window(L"#32770", kTitle, pid)) {
      check_equal(message_box_text(box), L"", "unexpected message box");
      press_button(box, IDOK);
    }
    return {};
  }
  return control_text(viewer, kTextBox);
}

void close_viewer(DWORD pid) {
  HWND viewer = find_window(kViewerClass, kViewerCaption, pid);
  if (!viewer) return;
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  wait_until_gone(viewer);
}

}  // namespace

int wmain() {
  const bool japanese = GetACP() == 932;
  delete_user_registry_tree(L"Software\\VB and VBA Program Settings\\mu-quiren");
  Process host(driver_directory() + L"\\flows_host.exe", {});
  if (!check(host.started(), "host starts")) return exit_code();
  const DWORD pid = host.pid();
  // The host joins the clipboard chain right after making its window.
  check(wait_until([] { return FindWindowW(L"quiren_flows_host", nullptr) != nullptr; }, 30s), "host ready");

  step("encrypt and decrypt ASCII");
  std::wstring block = encrypt(pid, L"Meet at noon.", L"pw");
  check(block.starts_with(L"(quiren_start)\r\n") && block.ends_with(L"\r\n(quiren_end)"), "block framed");
  check_equal(decrypt(pid, L"> quoted mail\r\n" + block + L"\r\n-- sig", L"pw"), L"Meet at noon.",
              "viewer text");
  close_viewer(pid);

  step("two blocks, the second under another password");
  std::wstring first = encrypt(pid, L"first", L"pw");
  std::wstring second = encrypt(pid, L"second", L"other");
  check_equal(decrypt(pid, first + L"\r\n" + second, L"pw"),
              L"first\r\n\r\n*--*--*--*--*--*--*--*--*--*--*--*--*--*--*\r\n\r\n"
              L"パスワードが不正です。復号できません。 by む～くいれん",
              "viewer text of two blocks");

  step("the viewer's size is kept across openings");
  HWND viewer = find_window(kViewerClass, kViewerCaption, pid);
  SetWindowPos(viewer, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  close_viewer(pid);
  check_equal(read_user_registry_string(L"Software\\VB and VBA Program Settings\\mu-quiren\\settei", L"width")
                  .value_or(L"?"),
              L"7500", "stored width");
  decrypt(pid, first, L"pw");
  viewer = find_window(kViewerClass, kViewerCaption, pid);
  RECT rect{};
  GetWindowRect(viewer, &rect);
  check_equal(rect.right - rect.left, 500, "reopened width");
  check_equal(rect.bottom - rect.top, 300, "reopened height");
  close_viewer(pid);

  if (japanese) {
    step("Japanese round trip under code page 932");
    std::wstring text = L"秘密の会議は正午に始まります。\r\n二行目です。";
    std::wstring japanese_block = encrypt(pid, text, L"合言葉");
    check_equal(decrypt(pid, japanese_block, L"合言葉"), text, "Japanese viewer text");
    screenshot(L"viewer-japanese");
    close_viewer(pid);
  } else {
    step("Japanese refused under a western code page");
    set_clipboard_text(L"秘密の会議");
    expect_box(pid, L"クリップボードの内容を暗号化しますか？", IDYES);
    expect_box(pid, L"この文章には、このパソコンの文字コードで表せない文字が含まれているため、暗号化できません。",
               IDOK);
    check_equal(clipboard_text().value_or(L""), L"秘密の会議", "clipboard unchanged");
  }

  host.terminate();
  return exit_code();
}
