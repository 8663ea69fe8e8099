// Secrets as the real program handles them under Wine: every password
// prompt masked (ES_PASSWORD), its show box, the confirmation that must
// match when encrypting and when adding to the list, the settings dialog's
// masked boxes that store exactly what they held, the clipboard contents
// the watch leaves alone (as password managers mark them) while the menu
// still takes them, and the password limits by the kind of block.
#include <windows.h>

#include <string>

#include "tests/e2e/driver/driver.h"
#include "tray/core/shared_texts.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/flows/flow_texts.h"
#include "tray/passlist/password_list_layout.h"
#include "tray/passlist/password_list_texts.h"
#include "tray/shell/main_form.h"
#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/settings_layout.h"
#include "tray/shell/win32/splash_frame.h"

using namespace quiren::e2e;
using quiren::MenuCommand;
namespace ids = quiren::win32;
namespace layout = quiren::win32::settings_layout;
namespace flow_text = quiren::flows::texts;
namespace core_text = quiren::core::texts;

namespace {

constexpr Millis kWait = 20s;  // a strong key under Wine, and a busy machine

bool start(Process& program) {
  program = Process(L"mu_quiren11e.exe", {});
  if (!check(program.started(), "program started")) return false;
  // The watch exists once the splash has gone.
  HWND splash = wait_for_window(ids::kSplashClass, L"", program.pid(), kWait);
  if (!check(splash != nullptr, "splash shown")) return false;
  check(wait_until_gone(splash, kWait), "splash closes by itself");
  return check(wait_until([] { return main_window() != nullptr; }, kWait), "main window made");
}

LRESULT send(HWND window, int id, UINT message) {
  return SendDlgItemMessageW(window, id, message, 0, 0);
}

bool masked(HWND window, int id) {
  return (control_style(window, id) & ES_PASSWORD) != 0 && send(window, id, EM_GETPASSWORDCHAR) != 0;
}

// A masked field's text, asked by this other process with WM_GETTEXT:
// Windows gives it nothing; where Wine gives the text, the style checked
// beside it is what keeps the field masked.
void other_process_reads(HWND window, int id, std::wstring_view typed, std::string_view what) {
  const std::wstring read = control_text(window, id);
  if (read.empty()) {
    step(std::string(what) + ": another process reads nothing of the masked text");
  } else {
    check_equal(read, typed, std::string(what) + ": this Wine hands the text to another process");
    step(std::string(what) + ": this Wine hands a masked field's text to another process; the style is asserted");
  }
}

// Ticks or unticks the show box and waits for the field to follow.
bool click_show(HWND window, int show_id, int field_id, bool shown) {
  click_control(window, show_id);
  return wait_until([&] { return (send(window, field_id, EM_GETPASSWORDCHAR) == 0) == shown; }, kWait);
}

// The password prompt for the encrypt question just answered.
HWND encrypt_prompt(DWORD pid, std::wstring_view text) {
  set_clipboard_text(text);
  answer(expect_box(pid, flow_text::kAskEncrypt, "encrypt question", kWait), IDYES, kWait);
  HWND prompt = wait_for_password_prompt(kAppTitle, pid, kWait);
  check(prompt != nullptr, "the password prompt appears");
  return prompt;
}

void encrypt_prompt_masked_and_confirmed(DWORD pid) {
  step("encrypt: the prompt masks the password and asks for it twice");
  const std::wstring text = L"社外秘: 来期の価格改定案";
  const std::wstring password = L"合言葉 two words";
  HWND prompt = encrypt_prompt(pid, text);
  if (!prompt) return;
  check_equal(prompt_label(prompt), wide(flow_text::kPromptEncryptPassword), "prompt text");
  check_equal(control_text(prompt, ids::kPromptConfirmLabelId), wide(core_text::kConfirmPassword),
              "confirmation label");
  check_equal(control_text(prompt, ids::kPromptShowCheckId), wide(core_text::kShowPassword), "show box caption");
  check(masked(prompt, ids::kPromptEditId), "the password field is masked (ES_PASSWORD)");
  check(masked(prompt, ids::kPromptConfirmEditId), "the confirmation field is masked (ES_PASSWORD)");
  set_control_text(prompt, ids::kPromptEditId, password);
  other_process_reads(prompt, ids::kPromptEditId, password, "encrypt prompt");

  step("the show box shows the password and turns the confirmation off; unticked, both are as before");
  check(click_show(prompt, ids::kPromptShowCheckId, ids::kPromptEditId, true), "shown");
  check(!IsWindowEnabled(GetDlgItem(prompt, ids::kPromptConfirmEditId)), "confirmation disabled while shown");
  check_equal(control_text(prompt, ids::kPromptEditId), password, "the shown text");
  check(click_show(prompt, ids::kPromptShowCheckId, ids::kPromptEditId, false), "masked again");
  check(IsWindowEnabled(GetDlgItem(prompt, ids::kPromptConfirmEditId)) != 0, "confirmation enabled again");

  step("a confirmation that differs: said, both fields emptied, nothing encrypted");
  answer_password_prompt(prompt, password, L"合言葉 two word");
  answer(expect_box(pid, core_text::kPasswordsDiffer, "the passwords differ", kWait), IDOK, kWait);
  check(IsWindow(prompt) != 0, "the prompt stays for another try");
  check(send(prompt, ids::kPromptEditId, WM_GETTEXTLENGTH) == 0 &&
            send(prompt, ids::kPromptConfirmEditId, WM_GETTEXTLENGTH) == 0,
        "both fields emptied");
  check(clipboard_text() == std::optional<std::wstring>(text), "the clipboard still holds the text");

  step("typed alike: the block, which opens under the password in the viewer; the decrypt prompt asks once");
  answer_prompt(prompt, password);
  answer(expect_box(pid, flow_text::encrypted_message(true), "encrypted", kWait), IDOK, kWait);
  const std::wstring block = clipboard_text().value_or(L"");
  check_equal(block_mode_letter(block), L"C", "a strong block");
  set_clipboard_text(block);
  answer(expect_box(pid, flow_text::kAskDecrypt, "decrypt question", kWait), IDYES, kWait);
  HWND again = wait_for_password_prompt(kAppTitle, pid, kWait);
  if (!check(again != nullptr, "the decrypt prompt appears")) return;
  check(masked(again, ids::kPromptEditId), "the decrypt prompt's field is masked");
  check(!has_control(again, ids::kPromptConfirmEditId), "no confirmation when decrypting");
  answer_prompt(again, password);
  HWND viewer = wait_for_window(kViewerClass, L"", pid, kWait);
  if (!check(viewer != nullptr, "viewer shown")) return;
  check(wait_until([&] { return control_text(viewer, kViewerTextId) == text; }, kWait), "the viewer shows the text");
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  check(wait_until_gone(viewer, kWait), "viewer closed");
}

// Encrypts the clipboard text under `password`; `expected` is the closing
// message or the refusal.
void encrypt_with(DWORD pid, std::wstring_view password, std::u16string_view expected, std::string_view what) {
  HWND prompt = encrypt_prompt(pid, L"limit " + std::to_wstring(password.size()));
  if (!prompt) return;
  answer_prompt(prompt, password);
  answer(expect_box(pid, expected, what, kWait), IDOK, kWait);
}

void limits(HWND main, DWORD pid) {
  step("a strong block takes 128 characters, not 129");
  encrypt_with(pid, std::wstring(128, L'p'), flow_text::encrypted_message(true), "128 characters, strong");
  encrypt_with(pid, std::wstring(129, L'p'), core_text::kStrongPasswordTooLong, "129 characters, strong");

  step("the settings dialog: 129 in the fixed encryption box is refused while strong blocks are written");
  menu(main, MenuCommand::settings);
  if (!check(wait_until([&] { return IsWindowVisible(main) != 0; }, kWait), "settings shown")) return;
  click_control(main, layout::encrypt_fixed);
  wait_until([&] { return send(main, layout::encrypt_fixed, BM_GETCHECK) == BST_CHECKED; }, kWait);
  set_control_text(main, layout::encrypt_password_box, std::wstring(129, L'p'));
  press_button(main, layout::ok_button);
  answer(expect_box(pid, core_text::kStrongPasswordTooLong, "129 in the dialog", kWait), IDOK, kWait);
  check(IsWindowVisible(main) != 0, "the dialog stays open");

  step("compatible blocks: the strong box unticked, 30 characters, not 31");
  click_control(main, layout::encrypt_ask);
  SendDlgItemMessageW(main, layout::strong_check, BM_SETCHECK, BST_UNCHECKED, 0);
  set_control_text(main, layout::encrypt_password_box, L"");
  press_button(main, layout::ok_button);
  check(wait_until([&] { return !IsWindowVisible(main); }, kWait), "settings saved and hidden");
  encrypt_with(pid, std::wstring(30, L'p'), flow_text::encrypted_message(false), "30 characters, compatible");
  encrypt_with(pid, std::wstring(31, L'p'), core_text::kPasswordTooLong, "31 characters, compatible");
}

void marked_contents_left_alone(HWND main, DWORD pid) {
  struct Mark {
    const wchar_t* format;
    DWORD value;
  };
  const Mark marks[] = {
      {L"ExcludeClipboardContentFromMonitorProcessing", 0},
      {L"Clipboard Viewer Ignore", 0},
      {L"CanIncludeInClipboardHistory", 0},
  };
  for (const Mark& mark : marks) {
    step("a copied password marked with \"" + utf8(mark.format) + "\": the watch offers nothing");
    const ClipboardMark marked{mark.format, mark.value};
    check(set_marked_clipboard_text(L"hunter2-パスワード", {&marked, 1}), "the marked text copied");
    check(no_box_for_a_while(pid), "no question, no prompt");
    check(find_prompt(L"", pid) == nullptr, "no prompt either");
    check(clipboard_text() == std::optional<std::wstring>(L"hunter2-パスワード"), "the clipboard is unchanged");

    step("the menu's encrypt still takes it: the user asked");
    menu(main, MenuCommand::encrypt);
    answer(expect_box(pid, flow_text::kAskEncrypt, "menu encrypt question", kWait), IDNO, kWait);
  }
  step("a block marked so is not decrypted by the watch either");
  const ClipboardMark exclude{L"ExcludeClipboardContentFromMonitorProcessing"};
  check(set_marked_clipboard_text(L"(quiren_start)\r\nCAAAA\r\n(quiren_end)", {&exclude, 1}), "marked block copied");
  check(no_box_for_a_while(pid), "no decrypt question");

  step("\"CanIncludeInClipboardHistory\" = 1 marks nothing: the watch asks as usual");
  const ClipboardMark allowed{L"CanIncludeInClipboardHistory", 1};
  check(set_marked_clipboard_text(L"an ordinary text", {&allowed, 1}), "text copied");
  answer(expect_box(pid, flow_text::kAskEncrypt, "encrypt question", kWait), IDNO, kWait);
}

void settings_boxes(HWND main, DWORD pid) {
  step("settings: both password boxes masked; the show box shows both; OK stores them exactly");
  // Blanks at either end, Japanese, 30 and more characters: stored as typed.
  const std::wstring encrypt_password = L"  合言葉 with blanks ";
  const std::wstring decrypt_password = L"復号用のとても長いパスワードは三十文字を超えても保存される！";
  store_setting(L"angopass", encrypt_password);
  store_setting(L"hukugopass", decrypt_password);
  menu(main, MenuCommand::settings);
  if (!check(wait_until([&] { return IsWindowVisible(main) != 0; }, kWait), "settings shown")) return;
  check(masked(main, layout::encrypt_password_box), "encryption password box masked");
  check(masked(main, layout::decrypt_password_box), "decryption password box masked");
  check(send(main, layout::show_passwords_check, BM_GETCHECK) == BST_UNCHECKED, "the show box starts unticked");
  check_equal(control_text(main, layout::show_passwords_check), wide(core_text::kShowPassword), "show box caption");
  other_process_reads(main, layout::encrypt_password_box, encrypt_password, "settings dialog");
  check(click_show(main, layout::show_passwords_check, layout::encrypt_password_box, true), "encryption box shown");
  check(send(main, layout::decrypt_password_box, EM_GETPASSWORDCHAR) == 0, "decryption box shown with it");
  check_equal(control_text(main, layout::encrypt_password_box), encrypt_password, "the stored encryption password");
  check_equal(control_text(main, layout::decrypt_password_box), decrypt_password, "the stored decryption password");
  check(click_show(main, layout::show_passwords_check, layout::encrypt_password_box, false), "masked again");
  press_button(main, layout::ok_button);
  check(wait_until([&] { return !IsWindowVisible(main); }, kWait), "settings hidden after OK");
  check_equal(stored_setting(L"angopass").value_or(L"(absent)"), encrypt_password, "angopass unchanged");
  check_equal(stored_setting(L"hukugopass").value_or(L"(absent)"), decrypt_password, "hukugopass unchanged");
  check(send(main, layout::encrypt_password_box, WM_GETTEXTLENGTH) == 0 &&
            send(main, layout::decrypt_password_box, WM_GETTEXTLENGTH) == 0,
        "the hidden dialog's boxes hold no password");
  (void)pid;
}

void list_add(HWND main, DWORD pid) {
  step("the password list's add: masked, typed twice; a differing repetition adds nothing");
  namespace text = quiren::passlist::texts;
  namespace list = quiren::passlist::layout;
  delete_file(driver_directory() + L"\\quiren.pas");
  menu(main, MenuCommand::password_list);
  HWND editor = wait_for_window(L"", wide(text::kEditorCaption), pid, kWait);
  if (!check(editor != nullptr, "password list editor shown")) return;
  wait_until([&] { return IsWindowEnabled(GetDlgItem(editor, list::kAddId)) != 0; }, kWait);
  press_button(editor, list::kAddId);
  HWND prompt = wait_for_password_prompt(wide(text::kPromptTitle), pid, kWait);
  if (!check(prompt != nullptr, "the password prompt appears")) return;
  check(masked(prompt, ids::kPromptEditId) && masked(prompt, ids::kPromptConfirmEditId), "both fields masked");
  answer_password_prompt(prompt, L"Kennwort-2026", L"Kennwort-2025");
  answer(expect_box(pid, core_text::kPasswordsDiffer, "the passwords differ", kWait), IDOK, kWait);
  HWND list_box = GetDlgItem(editor, list::kListId);
  check(SendMessageW(list_box, LB_GETCOUNT, 0, 0) == 0, "nothing added");
  answer_prompt(prompt, L"Kennwort-2026");
  // Found by its caption, which it shares with the description prompt.
  check(wait_until_gone(prompt, kWait), "the password prompt closes");
  HWND description = wait_for_prompt(wide(text::kPromptTitle), pid, kWait);
  check(description != nullptr && description != prompt, "then the description, in a plain prompt");
  if (description) answer_prompt(description, L"for the team");
  check(wait_until([&] { return SendMessageW(list_box, LB_GETCOUNT, 0, 0) == 1; }, kWait), "one entry added");
  PostMessageW(editor, WM_CLOSE, 0, 0);
  answer(expect_box(pid, text::kSaveQuestion, "save question", kWait), IDNO, kWait);
  check(wait_until_gone(editor, kWait), "editor closed");
}

}  // namespace

int wmain() {
  clear_stored_settings();
  Process program;
  if (start(program)) {
    HWND main = main_window();
    const DWORD pid = program.pid();
    encrypt_prompt_masked_and_confirmed(pid);
    marked_contents_left_alone(main, pid);
    settings_boxes(main, pid);
    list_add(main, pid);
    limits(main, pid);
    step("exit from the tray menu");
    menu(main, MenuCommand::exit);
    check(program.wait(kWait).has_value(), "the program ended");
  }
  return exit_code();
}
