// The main journey through the tray program as it ships: start, encrypt a
// Japanese text into a compatible block and decrypt it into the viewer, the
// tray menu, the settings changed to strong blocks and a new width and
// stored, a strong round trip under them, a long run cancelled from its
// progress window, a password saved in the list, the about window, exit.
//   release_journey [PROGRAM_DIR]
// PROGRAM_DIR (default: the driver's own folder) holds the unpacked
// program; the driver needs nothing else from the build. Each window is
// shot as <name>.bmp with <name>.rect ("x y width height" on the screen)
// beside it, so the user guide's pictures can be cut to the window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"
#include "tray/core/win32/progress_ids.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/flows/flow_texts.h"
#include "tray/passlist/password_list_layout.h"
#include "tray/passlist/password_list_texts.h"
#include "tray/shell/main_form.h"
#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/about_frame.h"
#include "tray/shell/win32/settings_layout.h"
#include "tray/shell/win32/splash_frame.h"

using namespace quiren::e2e;
namespace settings = quiren::win32::settings_layout;
namespace passlist = quiren::passlist::layout;
using quiren::MenuCommand;

namespace {

// Generous: the release check may run on a loaded machine.
constexpr Millis kWait = 30s;
const wchar_t kEditorClass[] = L"quiren_frmeditpass";

std::wstring g_dir;

bool start(Process& program) {
  step("start: the splash, then the tray");
  program = Process(g_dir + L"\\mu_quiren11e.exe", {}, g_dir);
  if (!check(program.started(), "program started from " + utf8(g_dir))) return false;
  HWND splash = wait_for_window(quiren::win32::kSplashClass, wide(quiren::shell::texts::kSplashTitle), program.pid(), kWait);
  if (!check(splash != nullptr, "splash shown")) return false;
  check_equal(control_text(splash, quiren::win32::kSplashVersionId), wide(quiren::shell::texts::kVersionText),
              "splash version");
  guide_picture(splash, L"splash");
  check(wait_until_gone(splash, kWait), "splash closes by itself");
  return check(wait_until([] { return main_window() != nullptr; }, kWait), "main window made");
}

// Body lines of a block: those between its marker lines.
std::vector<std::wstring> body_lines(std::wstring_view block) {
  std::vector<std::wstring> lines;
  std::size_t at = block.find(L"(quiren_start)\r\n");
  if (at == std::wstring_view::npos) return lines;
  at = block.find(L"\r\n", at) + 2;
  for (;;) {
    const std::size_t end = block.find(L"\r\n", at);
    if (end == std::wstring_view::npos) return lines;
    lines.emplace_back(block.substr(at, end - at));
    at = end + 2;
  }
}

// Copies `block`, answers the question and types the password: the viewer,
// or null (a failed check) when none came.
HWND decrypt_into_viewer(DWORD pid, std::wstring_view block, std::wstring_view password) {
  set_clipboard_text(L"");
  set_clipboard_text(block);
  answer(expect_box(pid, quiren::flows::texts::kAskDecrypt, "decrypt question", kWait), IDYES, kWait);
  HWND prompt = expect_prompt(pid, kAppTitle, quiren::flows::texts::kPromptDecryptPassword, kWait);
  if (!prompt) return nullptr;
  answer_prompt(prompt, password);
  HWND viewer = wait_for_window(kViewerClass, L"", pid, kWait);
  check(viewer != nullptr, "viewer shown");
  return viewer;
}

void compatible_round_trip(DWORD pid) {
  step("encrypt: copy Japanese text, answer, type the password: a compatible block");
  const std::wstring plain = L"明日の打ち合わせは午前10時からです。\r\n場所は3階の第2会議室、資料は各自持参してください。";
  const std::wstring password = L"合言葉2024";
  set_clipboard_text(plain);
  HWND box = expect_box(pid, quiren::flows::texts::kAskEncrypt, "encrypt question", kWait);
  if (box) guide_picture(box, L"encrypt-question");
  answer(box, IDYES, kWait);
  HWND prompt = expect_prompt(pid, kAppTitle, quiren::flows::texts::kPromptEncryptPassword, kWait);
  if (!prompt) return;
  // Typed twice and masked, then shown: the two pictures the guides show.
  set_control_text(prompt, quiren::win32::kPromptEditId, password);
  set_control_text(prompt, quiren::win32::kPromptConfirmEditId, password);
  guide_picture(prompt, L"password-prompt");
  click_control(prompt, quiren::win32::kPromptShowCheckId);
  HWND field = GetDlgItem(prompt, quiren::win32::kPromptEditId);
  check(wait_until([&] { return SendMessageW(field, EM_GETPASSWORDCHAR, 0, 0) == 0; }, kWait),
        "the show box shows the password");
  guide_picture(prompt, L"password-prompt-shown");
  press_button(prompt, quiren::win32::kPromptOkId);
  answer(expect_box(pid, quiren::flows::texts::encrypted_message(false), "encrypted, the compatible format named", kWait),
         IDOK, kWait);
  const std::wstring block = clipboard_text().value_or(L"");
  check(block.find(L"(quiren_start)") != std::wstring::npos && block.find(L"(quiren_end)") != std::wstring::npos,
        "armoured block on the clipboard");
  check(block.find(L"会議") == std::wstring::npos, "the block does not show the text");
  const std::wstring mode = block_mode_letter(block);
  check(mode == L"A" || mode == L"B", "a compatible block (mode letter A or B) while strong is stored False");

  step("decrypt: copy the block, answer, type the password: the viewer shows the text");
  HWND viewer = decrypt_into_viewer(pid, block, password);
  if (!viewer) return;
  check(wait_until([&] { return control_text(viewer, kViewerTextId).find(plain) != std::wstring::npos; }, kWait),
        "viewer holds the text");
  check_equal(control_text(viewer, kViewerStatusId),
              L"強力な暗号化 0 件、互換形式 1 件。互換形式の暗号文は改ざんを検出できません",
              "the status line names the compatible format and what it cannot protect");
  guide_picture(viewer, L"viewer");
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  check(wait_until_gone(viewer, kWait), "viewer closed");
}

void tray_menu(HWND main) {
  step("tray menu: a right-button press on the icon");
  PostMessageW(main, quiren::kTrayCallbackMessage, quiren::kTrayIconId, quiren::kRightButtonDown);
  HWND popup = wait_for_window(L"#32768", L"", 0, kWait);
  if (!check(popup != nullptr, "menu shown")) return;
  guide_picture(popup, L"menu");
  PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  check(wait_until_gone(popup, kWait), "menu closed");
}

void settings_dialog(HWND main) {
  step("settings: strong blocks and a new width, OK stores them");
  menu(main, MenuCommand::settings);
  if (!check(wait_until([&] { return IsWindowVisible(main) != 0; }, kWait), "settings shown")) return;
  check_equal(window_text(main), wide(quiren::shell::texts::kSettingsTitle), "settings title");
  HWND strong_box = GetDlgItem(main, settings::strong_check);
  check(SendMessageW(strong_box, BM_GETCHECK, 0, 0) == BST_UNCHECKED, "strong box shows the stored False");
  // The label the guides quote.
  check_equal(window_text(GetDlgItem(main, settings::first_label + 12)),
              L"強力な暗号化（AES-256-GCM）を使う\r\n※外すと旧版でも読める互換形式（安全性は低い）", "strong box label");
  // Ticked, every value is the default: the dialog as a new user finds it,
  // which is the picture the guides show (a click, so that the generate
  // buttons follow the box).
  click_control(main, settings::strong_check);
  check(wait_until([&] { return IsWindowEnabled(GetDlgItem(main, settings::encrypt_generate)) != 0; }, kWait) &&
            SendMessageW(strong_box, BM_GETCHECK, 0, 0) == BST_CHECKED,
        "ticked, the generate buttons enabled");
  guide_picture(main, L"settings");
  set_control_text(main, settings::wrap_width_box, L"40");
  press_button(main, settings::ok_button);
  check(wait_until([&] { return !IsWindowVisible(main); }, kWait), "settings hidden after OK");
  check_equal(stored_setting(L"orikaesi").value_or(L"?"), L"40", "width stored");
  check_equal(stored_setting(L"strong").value_or(L"?"), L"True", "strong stored");
}

void strong_round_trip(DWORD pid) {
  step("the settings at work at once: a strong block, 40 characters wide, that decrypts in the viewer");
  const std::wstring plain = L"強力な暗号化で送ります。🔒\r\n来月の予算案は添付のとおりです。";
  const std::wstring password = L"長くて推測されにくい合言葉2026";
  set_clipboard_text(plain);
  answer(expect_box(pid, quiren::flows::texts::kAskEncrypt, "encrypt question", kWait), IDYES, kWait);
  HWND prompt = expect_prompt(pid, kAppTitle, quiren::flows::texts::kPromptEncryptPassword, kWait);
  if (!prompt) return;
  answer_prompt(prompt, password);
  // Deriving the key takes a moment under Wine: kWait covers it.
  answer(expect_box(pid, quiren::flows::texts::kEncryptedStrong, "encrypted, the strong format named", kWait), IDOK,
         kWait);
  const std::wstring block = clipboard_text().value_or(L"");
  check_equal(block_mode_letter(block), L"C", "mode letter of the block");
  const std::vector<std::wstring> lines = body_lines(block);
  check(lines.size() > 1 && std::ranges::all_of(lines, [](const std::wstring& l) { return l.size() <= 40; }) &&
            lines.front().size() == 40,
        "body lines wrapped at 40 characters");
  check(block.find(L"予算") == std::wstring::npos, "the block does not show the text");

  HWND viewer = decrypt_into_viewer(pid, block, password);
  if (!viewer) return;
  check(wait_until([&] { return control_text(viewer, kViewerTextId) == plain; }, kWait),
        "viewer shows the text of the strong block");
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  check(wait_until_gone(viewer, kWait), "viewer closed");
}

void cancelled_run(DWORD pid) {
  step("a long run shows its progress window; Cancel ends it, nothing shown");
  const std::wstring slow = slow_strong_block(10'000'000);
  set_clipboard_text(slow);
  answer(expect_box(pid, quiren::flows::texts::kAskDecrypt, "decrypt question", kWait), IDYES, kWait);
  HWND prompt = expect_prompt(pid, kAppTitle, quiren::flows::texts::kPromptDecryptPassword, kWait);
  if (!prompt) return;
  answer_prompt(prompt, L"pw");
  HWND progress = wait_for_window(quiren::win32::kProgressClass, kAppTitle, pid, kWait);
  if (!check(progress != nullptr, "progress window shown")) return;
  guide_picture(progress, L"progress");
  press_button(progress, quiren::win32::kProgressCancelId);
  check(wait_until_gone(progress, kWait), "progress window closed by Cancel");
  check(no_box_for_a_while(pid) && find_window(kViewerClass, kViewerCaption, pid) == nullptr,
        "no viewer and no message after Cancel");
}

void password_list(HWND main, DWORD pid) {
  step("password list: add a password, save, close");
  namespace text = quiren::passlist::texts;
  const std::wstring pas = g_dir + L"\\quiren.pas";
  delete_file(pas);
  menu(main, MenuCommand::password_list);
  HWND editor = wait_for_window(kEditorClass, wide(text::kEditorCaption), pid, kWait);
  if (!check(editor != nullptr, "password list editor shown")) return;
  wait_until([&] { return IsWindowEnabled(GetDlgItem(editor, passlist::kAddId)) != 0; }, kWait);
  press_button(editor, passlist::kAddId);
  HWND prompt = expect_prompt(pid, wide(text::kPromptTitle), text::kPasswordPrompt, kWait);
  if (!prompt) return;
  answer_prompt(prompt, L"合言葉2024");
  wait_until_gone(prompt, kWait);
  prompt = expect_prompt(pid, wide(text::kPromptTitle), text::kDescriptionPrompt, kWait);
  if (!prompt) return;
  answer_prompt(prompt, L"取引先との連絡用");
  wait_until_gone(prompt, kWait);
  HWND list = GetDlgItem(editor, passlist::kListId);
  check(wait_until([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 1; }, kWait), "one password listed");
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SendMessageW(editor, WM_COMMAND, MAKEWPARAM(passlist::kListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  check(wait_until([&] { return control_text(editor, passlist::kDescriptionId) == L"取引先との連絡用"; }, kWait),
        "its description shown");
  guide_picture(editor, L"password-editor");
  wait_until([&] { return IsWindowEnabled(editor) != 0; }, kWait);
  press_button(editor, passlist::kSaveId);
  answer(expect_box(pid, text::kSaveQuestion, "save asks", kWait), IDYES, kWait);
  check(wait_until([&] { return read_file_bytes(pas).has_value(); }, kWait), "quiren.pas saved beside the program");
  PostMessageW(editor, WM_CLOSE, 0, 0);
  check(wait_until_gone(editor, kWait), "editor closed");
}

void about_window(HWND main, DWORD pid) {
  step("about window");
  menu(main, MenuCommand::about);
  HWND about = wait_for_window(quiren::win32::kAboutClass, wide(quiren::shell::texts::kAboutTitle), pid, kWait);
  if (!check(about != nullptr, "about shown")) return;
  check_equal(control_text(about, quiren::win32::kAboutTitleId), wide(quiren::shell::texts::kVersionText), "about version");
  check_equal(control_text(about, quiren::win32::kAboutReleaseId), L"2026年12月版", "about release line");
  check_equal(control_text(about, quiren::win32::kAboutStrongId), L"強力な暗号化（AES-256-GCM）の暗号文を読み書きできます",
              "about strong blocks line");
  guide_picture(about, L"about");
  press_button(about, IDOK);
  check(wait_until_gone(about, kWait), "about closed");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  g_dir = argc > 1 ? std::wstring(argv[1]) : driver_directory();
  while (!g_dir.empty() && g_dir.back() == L'\\') g_dir.pop_back();
  clear_stored_settings();
  // The first round trip makes the compatible block; the settings dialog
  // then switches to strong blocks, as the default is.
  store_setting(L"strong", L"False");

  Process program;
  if (start(program)) {
    HWND main = main_window();
    const DWORD pid = program.pid();
    compatible_round_trip(pid);
    tray_menu(main);
    settings_dialog(main);
    strong_round_trip(pid);
    cancelled_run(pid);
    password_list(main, pid);
    about_window(main, pid);
    step("exit from the tray menu");
    menu(main, MenuCommand::exit);
    const auto code = program.wait(kWait);
    check(code.has_value(), "the program ended");
  }
  const int rc = exit_code();
  std::printf("%s\n", rc == 0 ? "release journey: PASS" : "release journey: FAIL");
  return rc;
}
