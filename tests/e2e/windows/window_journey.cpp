// Opens every window of the tray program as a user does and checks its
// geometry (check_geometry: inside the client area, no overlaps, Tab in the
// layout's order): the splash, the settings dialog, the about window, the
// password list with its password and description prompts, the chooser a
// flow opens, the password prompt of a decryption, the viewer and the
// progress window, and the encrypt prompt of a strong block with its
// generated passphrase. On the way, the password list and the chooser show
// every password masked until the show box is ticked, the second line
// picked encrypts with the second password, and the list and the chooser
// (masked and shown), the settings dialog, the about window and the
// prompt's generated passphrase are shot for the guides.
#include <windows.h>

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
namespace flow_texts = quiren::flows::texts;
namespace list_texts = quiren::passlist::texts;
using quiren::MenuCommand;

namespace {

constexpr Millis kWait = 30s;
const wchar_t kListClass[] = L"quiren_frmeditpass";

// What the list holds, in the locale's code page: a Japanese second
// password under code page 932, an accented one under 1252.
struct StoredList {
  std::wstring second;
  std::vector<std::wstring> passwords;
  std::vector<std::wstring> masked;  // the lines while the show box is not ticked
};

StoredList stored_list() {
  const bool japanese = GetACP() == 932;
  StoredList list;
  list.second = japanese ? L"二番目の合言葉" : L"café-crème";
  list.passwords = {L"first-pass", list.second, L"zz"};
  list.masked = {L"fi●●●●●●●●", japanese ? L"二番●●●●●" : L"ca●●●●●●●●", L"●●"};
  return list;
}

std::vector<std::wstring> list_lines(HWND window) { return list_box_lines(window, passlist::kListId); }

std::wstring joined(const std::vector<std::wstring>& lines) {
  std::wstring out;
  for (const std::wstring& line : lines) out.append(L"[").append(line).append(L"]");
  return out;
}

bool lines_become(HWND window, const std::vector<std::wstring>& expected, std::string_view what) {
  wait_until([&] { return list_lines(window) == expected; }, kWait);
  return check_equal(joined(list_lines(window)), joined(expected), what);
}

// Masked, then shown with the show box, then masked again: the two
// pictures the guides show.
void masked_until_shown(HWND window, const StoredList& list, const std::wstring& name, const std::string& what) {
  if (!lines_become(window, list.masked, what + ": every line masked as it opens")) return;
  for (const std::wstring& line : list_lines(window)) {
    for (const std::wstring& password : list.passwords) {
      check(line.find(password) == std::wstring::npos, what + ": no line holds a password in full");
    }
  }
  guide_picture(window, name + L"-masked");
  click_control(window, passlist::kShowPasswordsId);
  lines_become(window, list.passwords, what + ": ticked, the show box shows every password");
  guide_picture(window, name + L"-shown");
  click_control(window, passlist::kShowPasswordsId);
  lines_become(window, list.masked, what + ": unticked, masked again");
}

void select_line(HWND window, int index) {
  HWND list = GetDlgItem(window, passlist::kListId);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(passlist::kListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Tab orders, by control ID.
constexpr int kAboutTabs[] = {IDOK};
constexpr int kListTabs[] = {passlist::kListId, passlist::kShowPasswordsId, passlist::kAddId, passlist::kDeleteId,
                             passlist::kSaveId};
constexpr int kChooserTabs[] = {passlist::kListId, passlist::kShowPasswordsId};
constexpr int kConfirmedPromptTabs[] = {quiren::win32::kPromptEditId, quiren::win32::kPromptConfirmEditId,
                                        quiren::win32::kPromptShowCheckId, quiren::win32::kPromptOkId,
                                        quiren::win32::kPromptCancelId};
constexpr int kPasswordPromptTabs[] = {quiren::win32::kPromptEditId, quiren::win32::kPromptShowCheckId,
                                       quiren::win32::kPromptOkId, quiren::win32::kPromptCancelId};
constexpr int kInputPromptTabs[] = {quiren::win32::kPromptEditId, quiren::win32::kPromptOkId,
                                    quiren::win32::kPromptCancelId};
constexpr int kProgressTabs[] = {quiren::win32::kProgressCancelId};
// The encrypt prompt of a strong block: the passphrase row under the show box.
constexpr int kStrongPromptTabs[] = {quiren::win32::kPromptEditId,       quiren::win32::kPromptConfirmEditId,
                                     quiren::win32::kPromptShowCheckId,  quiren::win32::kPromptGenerateId,
                                     quiren::win32::kPromptKanaCheckId,  quiren::win32::kPromptOkId,
                                     quiren::win32::kPromptCancelId};

// The settings dialog's: the layout's order, where Tab stops at the
// selected option button of each group only (the button control moves
// WS_TABSTOP to the one checked).
std::vector<int> settings_tabs(HWND main) {
  std::vector<int> ids;
  for (const settings::Control& c : settings::kFocusable) {
    const bool selected = SendMessageW(GetDlgItem(main, c.id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (c.kind != settings::Kind::option || selected) ids.push_back(c.id);
  }
  return ids;
}

bool start(Process& program) {
  step("the splash");
  program = Process(driver_directory() + L"\\mu_quiren11e.exe", {}, driver_directory());
  if (!check(program.started(), "program started")) return false;
  HWND splash = wait_for_window(quiren::win32::kSplashClass, wide(quiren::shell::texts::kSplashTitle), program.pid(),
                                kWait);
  if (!check(splash != nullptr, "splash shown")) return false;
  check_geometry(splash, "the splash", {});
  check(wait_until_gone(splash, kWait), "splash closes by itself");
  return check(wait_until([] { return main_window() != nullptr; }, kWait), "main window made");
}

void settings_and_about(HWND main, DWORD pid) {
  step("the settings dialog");
  menu(main, MenuCommand::settings);
  if (check(wait_until([&] { return IsWindowVisible(main) != 0; }, kWait), "settings shown")) {
    check_geometry(main, "the settings dialog", settings_tabs(main));
    for (const settings::Control& c : settings::kFocusable) {
      if (c.kind == settings::Kind::captioned_check || c.kind == settings::Kind::button) {
        check_equal(control_text(main, c.id), wide(c.text), "the settings dialog's control " + std::to_string(c.id));
      }
    }
    check(IsWindowEnabled(GetDlgItem(main, settings::encrypt_generate)) != 0 &&
              IsWindowEnabled(GetDlgItem(main, settings::decrypt_generate)) != 0,
          "the generate buttons are enabled while strong blocks are written");
    guide_picture(main, L"settings");
    // Unticking the strong box disables them at once; Cancel leaves it as stored.
    click_control(main, settings::strong_check);
    check(wait_until([&] { return IsWindowEnabled(GetDlgItem(main, settings::encrypt_generate)) == 0; }, kWait) &&
              IsWindowEnabled(GetDlgItem(main, settings::decrypt_generate)) == 0,
          "the generate buttons are disabled while compatible blocks are written");
    press_button(main, settings::cancel_button);
    check(wait_until([&] { return !IsWindowVisible(main); }, kWait), "settings hidden after Cancel");
  }

  step("the about window");
  menu(main, MenuCommand::about);
  HWND about = wait_for_window(quiren::win32::kAboutClass, wide(quiren::shell::texts::kAboutTitle), pid, kWait);
  if (!check(about != nullptr, "about shown")) return;
  check_geometry(about, "the about window", kAboutTabs);
  check_equal(control_text(about, quiren::win32::kAboutWordListCreditsId),
              wide(quiren::shell::texts::kAboutWordListCredits), "the word lists' credits");
  guide_picture(about, L"about");
  press_button(about, IDOK);
  check(wait_until_gone(about, kWait), "about closed");
}

void password_list(HWND main, DWORD pid, const StoredList& list) {
  step("the password list: masked until shown; its password and description prompts");
  menu(main, MenuCommand::password_list);
  HWND editor = wait_for_window(kListClass, wide(list_texts::kEditorCaption), pid, kWait);
  if (!check(editor != nullptr, "password list shown")) return;
  check_geometry(editor, "the password list", kListTabs);
  select_line(editor, 1);
  masked_until_shown(editor, list, L"password-list", "the password list");

  wait_until([&] { return IsWindowEnabled(GetDlgItem(editor, passlist::kAddId)) != 0; }, kWait);
  press_button(editor, passlist::kAddId);
  HWND prompt = expect_prompt(pid, wide(list_texts::kPromptTitle), list_texts::kPasswordPrompt, kWait);
  if (!prompt) return;
  check_geometry(prompt, "the password prompt with its confirmation", kConfirmedPromptTabs);
  answer_prompt(prompt, L"added");
  wait_until_gone(prompt, kWait);
  prompt = expect_prompt(pid, wide(list_texts::kPromptTitle), list_texts::kDescriptionPrompt, kWait);
  if (!prompt) return;
  check_geometry(prompt, "the input prompt", kInputPromptTabs);
  answer_prompt(prompt, L"", false);
  wait_until_gone(prompt, kWait);
  lines_become(editor, {list.masked[0], list.masked[1], list.masked[2], L"ad●●●"}, "the entry added, masked");
  PostMessageW(editor, WM_CLOSE, 0, 0);
  answer(expect_box(pid, list_texts::kSaveQuestion, "closing after a change asks", kWait), IDNO, kWait);
  check(wait_until_gone(editor, kWait), "password list closed");
}

// Encrypts with the password picked in the chooser; the block on the
// clipboard, or "" when none came.
std::wstring encrypt_from_chooser(DWORD pid, const StoredList& list, const std::wstring& plain) {
  step("the chooser: masked until shown; the second line encrypts with the second password");
  set_clipboard_text(plain);
  answer(expect_box(pid, flow_texts::kAskEncrypt, "encrypt question", kWait), IDYES, kWait);
  HWND chooser = wait_for_window(kListClass, wide(list_texts::kChooserCaption), pid, kWait);
  if (!check(chooser != nullptr, "chooser shown")) return {};
  check_geometry(chooser, "the chooser", kChooserTabs);
  select_line(chooser, 1);
  masked_until_shown(chooser, list, L"chooser", "the chooser");
  // A double click on the masked line: the chooser closes with its pick.
  SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(passlist::kListId, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(GetDlgItem(chooser, passlist::kListId)));
  check(wait_until_gone(chooser, kWait), "the chooser closes with the pick");
  answer(expect_box(pid, flow_texts::kEncryptedStrong, "encrypted", kWait), IDOK, kWait);
  const std::wstring block = clipboard_text().value_or(L"");
  check_equal(block_mode_letter(block), L"C", "a strong block on the clipboard");
  return block;
}

void decrypt_into_viewer(DWORD pid, const std::wstring& block, const std::wstring& password,
                         const std::wstring& plain) {
  step("the password prompt and the viewer: the block opens with the second password");
  set_clipboard_text(L"");
  set_clipboard_text(block);
  answer(expect_box(pid, flow_texts::kAskDecrypt, "decrypt question", kWait), IDYES, kWait);
  HWND prompt = expect_prompt(pid, kAppTitle, flow_texts::kPromptDecryptPassword, kWait);
  if (!prompt) return;
  check_geometry(prompt, "the password prompt", kPasswordPromptTabs);
  answer_prompt(prompt, password);
  HWND viewer = wait_for_window(kViewerClass, kViewerCaption, pid, kWait);
  if (!check(viewer != nullptr, "viewer shown")) return;
  check(wait_until([&] { return control_text(viewer, kViewerTextId) == plain; }, kWait),
        "the viewer shows the text: the second password opened it");
  check_geometry(viewer, "the viewer", {});
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  check(wait_until_gone(viewer, kWait), "viewer closed");
}

// The settings switched to asking for the encryption password: the prompt
// of a strong block, with "パスワードを生成" and its form's box, whose button
// fills both fields and shows them.
void passphrase_prompt(HWND main, DWORD pid) {
  step("the encrypt prompt of a strong block: パスワードを生成 fills both fields");
  menu(main, MenuCommand::settings);
  if (!check(wait_until([&] { return IsWindowVisible(main) != 0; }, kWait), "settings shown")) return;
  click_control(main, settings::encrypt_ask);
  press_button(main, settings::ok_button);
  check(wait_until([&] { return !IsWindowVisible(main); }, kWait), "settings hidden after OK");
  set_clipboard_text(L"a passphrase of its own");
  answer(expect_box(pid, flow_texts::kAskEncrypt, "encrypt question", kWait), IDYES, kWait);
  HWND prompt = expect_prompt(pid, kAppTitle, flow_texts::kPromptEncryptPassword, kWait);
  if (!prompt) return;
  check_geometry(prompt, "the password prompt of a strong block", kStrongPromptTabs);
  press_button(prompt, quiren::win32::kPromptGenerateId);
  // Read until the text is whole: the field is wiped before it is filled.
  std::wstring passphrase;
  check(wait_until([&] {
          passphrase = control_text(prompt, quiren::win32::kPromptEditId);
          return is_generated_passphrase(passphrase, false) &&
                 control_text(prompt, quiren::win32::kPromptConfirmEditId) == passphrase;
        }, kWait),
        "the field filled");
  check(is_generated_passphrase(passphrase, false), "six words joined by \"-\": " + utf8(passphrase));
  check_equal(control_text(prompt, quiren::win32::kPromptConfirmEditId), passphrase, "the confirmation alike");
  guide_picture(prompt, L"password-prompt-generated");
  press_button(prompt, quiren::win32::kPromptCancelId);
  check(wait_until_gone(prompt, kWait), "prompt cancelled");
  answer(expect_box(pid, flow_texts::kNoPasswordTyped, "cancelled: nothing encrypted", kWait), IDOK, kWait);
}

void progress_window(DWORD pid) {
  step("the progress window");
  set_clipboard_text(slow_strong_block(10'000'000));
  answer(expect_box(pid, flow_texts::kAskDecrypt, "decrypt question", kWait), IDYES, kWait);
  HWND prompt = expect_prompt(pid, kAppTitle, flow_texts::kPromptDecryptPassword, kWait);
  if (!prompt) return;
  answer_prompt(prompt, L"pw");
  HWND progress = wait_for_window(quiren::win32::kProgressClass, kAppTitle, pid, kWait);
  if (!check(progress != nullptr, "progress window shown")) return;
  check_geometry(progress, "the progress window", kProgressTabs);
  press_button(progress, quiren::win32::kProgressCancelId);
  check(wait_until_gone(progress, kWait), "progress window closed by Cancel");
}

}  // namespace

int wmain() {
  const StoredList list = stored_list();
  clear_stored_settings();
  // Encryption takes its password from the list; decryption asks.
  store_setting(L"usepasslist1", L"True");
  const std::wstring pas = driver_directory() + L"\\quiren.pas";
  write_file_bytes(pas, "3\r\n\"first-pass\"\r\n\"\"\r\n\"" + ansi_bytes(list.second) + "\"\r\n\"" +
                            ansi_bytes(GetACP() == 932 ? L"取引先との連絡用" : L"for the partner") +
                            "\"\r\n\"zz\"\r\n\"\"\r\n");

  Process program;
  if (start(program)) {
    HWND main = main_window();
    const DWORD pid = program.pid();
    settings_and_about(main, pid);
    password_list(main, pid, list);
    const std::wstring plain = L"picked from the list";
    const std::wstring block = encrypt_from_chooser(pid, list, plain);
    if (!block.empty()) decrypt_into_viewer(pid, block, list.second, plain);
    progress_window(pid);
    passphrase_prompt(main, pid);
    step("exit from the tray menu");
    menu(main, MenuCommand::exit);
    check(program.wait(kWait).has_value(), "the program ended");
  }
  return exit_code();
}
