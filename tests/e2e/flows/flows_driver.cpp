// Drives the flows host under Wine: encrypt clipboard text and compare the
// block with the command-line tool's, decrypt one and two blocks into the
// viewer, a wrong password, the viewer's size kept across openings, every
// form the shared table's compatible blocks come back in from mail, chat
// and office programs, a damaged block's message, a block for people's
// keys (no password asked: the viewer says a key is needed), and Japanese
// refused where the code page cannot hold it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"
#include "tests/support/received_forms.h"
#include "vectors/recipient_blocks.h"

using namespace quiren::e2e;
namespace vectors = quiren::testing::vectors;
using quiren::testing::shown_text;
using quiren::testing::source_of;

namespace {

const std::wstring kAskEncrypt = L"クリップボードの内容を暗号化しますか？";
const std::wstring kAskDecrypt = L"クリップボードの内容を復号しますか？";
// The host writes compatible blocks here: the closing message says so.
const std::wstring kEncrypted = L"互換形式で暗号化した文章をクリップボードに書き込みました\r\n"
                                L"互換形式の暗号文は改ざんを検出できません";
const std::wstring kWrongPassword = L"パスワードが不正です。復号できません。 by む～くいれん";
const std::wstring kJoint = L"\r\n\r\n*--*--*--*--*--*--*--*--*--*--*--*--*--*--*\r\n\r\n";
// The tray keeps no key yet: in place of a block for people's keys.
const std::wstring kNeedsKey = L"この暗号文は宛先の鍵で暗号化されています。開くには、宛先の人の鍵が必要です。";

// Runs `quiren encrypt` under this prefix's code page and returns its block
// (standard output, UTF-8), or nullopt when it failed.
std::optional<std::wstring> tool_block(std::wstring_view text, std::wstring_view password) {
  const std::wstring folder = driver_directory();
  const std::wstring password_file = folder + L"\\tool-password.txt";
  if (!write_file_bytes(password_file, utf8(password) + "\r\n")) return std::nullopt;
  const std::optional<std::string> output =
      run_console(folder + L"\\quiren.exe",
                  {L"encrypt", L"--compatible", L"--password-file", password_file, L"--codepage",
                   std::to_wstring(GetACP())},
                  utf8(text), folder);
  delete_file(password_file);
  if (!output) return std::nullopt;
  return wide(*output);
}

// Answers the box that must come next: checks its text and buttons, presses
// `button`; with `shot`, saves a screenshot of it first.
bool expect_box(DWORD pid, std::wstring_view text, std::vector<int> buttons, int button,
                std::wstring_view shot = {}) {
  const std::u16string text16(text.begin(), text.end());
  HWND box = quiren::e2e::expect_box(pid, text16, "message box: " + utf8(text));
  if (!box) return false;
  check(message_box_buttons(box) == buttons, "message box buttons of: " + utf8(text));
  if (!shot.empty()) screenshot(shot, box);
  return check(answer(box, button), "message box closes");
}

bool answer_password(DWORD pid, std::wstring_view password) {
  HWND prompt = wait_for_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "password prompt appears")) return false;
  return answer_prompt(prompt, password);
}

// Copies `text`, lets the host encrypt it under `password`, checks the block
// against the tool's for the same text and password, and returns it.
std::wstring encrypt(DWORD pid, std::wstring_view text, std::wstring_view password,
                     std::wstring_view question_shot = {}) {
  set_clipboard_text(text);
  expect_box(pid, kAskEncrypt, {IDYES, IDNO}, IDYES, question_shot);
  answer_password(pid, password);
  expect_box(pid, kEncrypted, {IDOK}, IDOK);
  const std::wstring block = clipboard_text().value_or(L"");
  const std::optional<std::wstring> expected = tool_block(text, password);
  if (check(expected.has_value(), "quiren.exe encrypts " + utf8(text))) {
    check_equal(block, *expected, "block equals the tool's");
  }
  return block;
}

HWND find_viewer(DWORD pid) { return find_window(kViewerClass, kViewerCaption, pid); }

// Copies `clip`, answers the decrypt question and the password, returns the
// viewer's text (empty when no viewer appeared).
std::wstring decrypt(DWORD pid, std::wstring_view clip, std::wstring_view password) {
  set_clipboard_text(clip);
  expect_box(pid, kAskDecrypt, {IDYES, IDNO}, IDYES);
  answer_password(pid, password);
  HWND viewer = wait_for_window(kViewerClass, kViewerCaption, pid);
  if (!check(viewer != nullptr, "viewer appears")) {
    if (HWND box = find_window(kMessageBoxClass, kAppTitle, pid)) {
      check_equal(message_box_text(box), L"", "unexpected message box");
      press_button(box, IDOK);
    }
    return {};
  }
  return control_text(viewer, kViewerTextId);
}

void close_viewer(DWORD pid) {
  HWND viewer = find_viewer(pid);
  if (!check(viewer != nullptr, "viewer open before closing")) return;
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  check(wait_until([&] { return !IsWindow(viewer); }), "viewer closes");
}

SIZE window_size(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

std::wstring wide16(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::wstring stored(std::wstring_view value) {
  return stored_setting(value).value_or(L"(absent)");
}

}  // namespace

int wmain() {
  const bool japanese = GetACP() == 932;
  clear_stored_settings();
  // Compatible blocks: the ones compared with the tool's byte for byte.
  store_setting(L"strong", L"False");
  Process host(driver_directory() + L"\\flows_host.exe", {});
  if (!check(host.started(), "host starts")) return exit_code();
  const DWORD pid = host.pid();
  // The host joins the clipboard chain right after making its window.
  if (!check(wait_until([] { return FindWindowW(L"quiren_flows_host", nullptr) != nullptr; }, 30s),
             "host ready")) {
    return exit_code();
  }

  if (!japanese) {
    step("Japanese text and password refused under a western code page");
    set_clipboard_text(L"秘密の会議");
    expect_box(pid, kAskEncrypt, {IDYES, IDNO}, IDYES);
    expect_box(pid, L"この文章には、このパソコンの文字コードで表せない文字が含まれているため、暗号化できません。",
               {IDOK}, IDOK);
    check_equal(clipboard_text().value_or(L""), L"秘密の会議", "clipboard unchanged");
    set_clipboard_text(L"plain text");
    expect_box(pid, kAskEncrypt, {IDYES, IDNO}, IDYES);
    answer_password(pid, L"合言葉");
    expect_box(pid, L"パスワードに、このパソコンの文字コードで表せない文字が含まれているため、暗号化できません。",
               {IDOK}, IDOK);
    check_equal(clipboard_text().value_or(L""), L"plain text", "clipboard unchanged");
  }

  step("encrypt ASCII text as the tool does");
  const std::wstring text = L"Meet at noon.\r\nBring the map.";
  const std::wstring block = encrypt(pid, text, L"pw", L"question-encrypt");
  check(block.starts_with(L"(quiren_start)\r\n") && block.ends_with(L"\r\n(quiren_end)"), "block framed");
  const std::wstring second = encrypt(pid, L"second", L"pw");
  const std::wstring other = encrypt(pid, L"third", L"other");

  step("decrypt one quoted block; the viewer opens at its designed size");
  check_equal(decrypt(pid, L"> quoted mail\r\n" + block + L"\r\n-- sig", L"pw"), text, "viewer text");
  const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return value;
  }();
  const SIZE first_size = window_size(find_viewer(pid));
  check_equal(first_size.cx, MulDiv(8910, dpi, 1440), "default width");
  check_equal(first_size.cy, MulDiv(5865, dpi, 1440), "default height");
  close_viewer(pid);

  step("a wrong password");
  check_equal(decrypt(pid, block, L"wrong"), kWrongPassword, "viewer text under a wrong password");
  close_viewer(pid);

  step("two blocks under the same password");
  check_equal(decrypt(pid, block + L"\r\n\r\n" + second, L"pw"), text + kJoint + L"second",
              "viewer text of two blocks");
  step("Ctrl+C in the viewer copies, kept out of the clipboard history");
  HWND text_box = GetDlgItem(find_viewer(pid), kViewerTextId);
  SendMessageW(text_box, EM_SETSEL, 0, -1);
  // Ctrl+C reaches the text box as the character 0x03.
  PostMessageW(text_box, WM_CHAR, 0x03, 0);
  check(wait_for_clipboard_text(text + kJoint + L"second"), "viewer text copied");
  check(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")),
        "copy excluded from clipboard monitors");
  // The decrypt flow has ended and the watch is live again, but a decrypted
  // text copied from the viewer is marked for clipboard monitors to leave
  // alone: it is not offered for encryption.
  check(no_box_for_a_while(pid), "the viewer's copy is not offered for encryption");
  check(find_viewer(pid) != nullptr, "viewer still open");
  close_viewer(pid);

  step("two blocks, the second under another password");
  check_equal(decrypt(pid, block + L"\r\n" + other, L"pw"), text + kJoint + kWrongPassword,
              "viewer text of two blocks under two passwords");

  step("the viewer's size is kept across openings");
  HWND viewer = find_viewer(pid);
  check(viewer && SetWindowPos(viewer, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER), "resize viewer");
  close_viewer(pid);
  check_equal(stored(L"width"), std::to_wstring(MulDiv(500, 1440, dpi)), "stored width");
  check_equal(stored(L"height"), std::to_wstring(MulDiv(300, 1440, dpi)), "stored height");
  check_equal(decrypt(pid, second, L"pw"), L"second", "viewer text");
  const SIZE reopened = window_size(find_viewer(pid));
  check_equal(reopened.cx, 500, "reopened width");
  check_equal(reopened.cy, 300, "reopened height");
  close_viewer(pid);

  step("every received form of the shared table's compatible blocks: quoted, line breaks changed, re-wrapped, "
       "blanks added, run together, invisible characters put in, full-width, curly quotes");
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    const vectors::SourceBlock& source = source_of(form);
    if (form.expect != vectors::Expect::source || source.name == "compatible narrow") continue;
    bool compatible = true;
    for (std::size_t i = 0; i < form.sources.size(); ++i)
      compatible = compatible && source_of(form, i).format == vectors::BlockFormat::compatible;
    if (!compatible) continue;
    check_equal(decrypt(pid, wide16(form.received), wide16(source.password)), wide16(shown_text(form)),
                "viewer text of the form " + std::string(form.name));
    close_viewer(pid);
  }

  step("a damaged block says where, in the text as copied");
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    if (form.name != "compatible: quoted '> ', an emoji in place of a character") continue;
    set_clipboard_text(wide16(form.received));
    expect_box(pid, kAskDecrypt, {IDYES, IDNO}, IDYES);
    expect_box(pid,
               L"暗号文が不正です。復号を中止します。\r\n"
               L"4 行目の 19 文字目「😀」(U+1F600) は暗号文に使われない文字です。",
               {IDOK}, IDOK, L"damaged-block");
    check(find_viewer(pid) == nullptr, "no viewer for a damaged block");
  }

  step("a block for people's keys: no password asked, the viewer says a key is needed");
  set_clipboard_text(L"> " + wide16(vectors::kRecipientBlocks[1].block));
  expect_box(pid, kAskDecrypt, {IDYES, IDNO}, IDYES);
  if (HWND keys_viewer = wait_for_window(kViewerClass, kViewerCaption, pid);
      check(keys_viewer != nullptr, "viewer appears, with no password prompt")) {
    check_equal(control_text(keys_viewer, kViewerTextId), kNeedsKey, "viewer text of a block for keys");
    screenshot(L"viewer-needs-key", keys_viewer);
    close_viewer(pid);
  }

  if (japanese) {
    step("Japanese round trip under code page 932");
    const std::wstring japanese_text = L"秘密の会議は正午に始まります。\r\n二行目です。む～くいれん";
    const std::wstring japanese_block = encrypt(pid, japanese_text, L"合言葉");
    check_equal(decrypt(pid, japanese_block, L"合言葉"), japanese_text, "Japanese viewer text");
    screenshot(L"viewer-japanese", find_viewer(pid));
    close_viewer(pid);
  }

  host.terminate();
  return exit_code();
}
