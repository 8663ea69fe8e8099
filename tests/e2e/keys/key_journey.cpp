// The tray's own key and contacts under Wine, the Linux tool the other party
// (key-exchange.sh): the first start makes the key without a question,
// OpenSSL configurations planted where libcrypto looks notwithstanding;
// the tool's key block copied is offered with the digits the tool prints
// and added as confirmed; the contacts window lists it and copies the
// tray's own key block, which the watch passes over and the tool reads with
// the digits the window shows, and so does the key it exports under a
// passphrase; a key the tool made, sealed under a passphrase, is imported
// from the clipboard in its place (a wrong passphrase first changes
// nothing); after a restart the key is the imported one, and with it the
// tool's block from 佐藤 opens with no password, 佐藤 named as the sender, a
// block for somebody else shows the message in place of the text, and a
// text encrypted to 佐藤 goes back to the tool.
//   in:  sato-block.txt, sato-digits.txt (佐藤's key block, the tool's
//        digits of it), import-key.txt, import-passphrase.txt,
//        import-digits.txt (the key to import), from-sato-block.txt (the
//        tool's block of sato-text.txt from 佐藤 to that key),
//        for-others-block.txt (the same to somebody else), tray-text.txt
//   out: tray-key-block.txt, tray-digits.txt (the key the program made),
//        tray-key.txt, tray-key-passphrase.txt (that key exported),
//        tray-block.txt (the tray's block of tray-text.txt to 佐藤)
#include <windows.h>

#include <openssl/conf.h>
#include <openssl/crypto.h>

#include <string>

#include "tests/e2e/driver/driver.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/flows/flow_texts.h"
#include "tray/keys/key_texts.h"
#include "tray/keys/win32/key_window_ids.h"
#include "tray/shell/main_form.h"
#include "tray/shell/win32/splash_frame.h"

using namespace quiren::e2e;
using quiren::MenuCommand;
namespace texts = quiren::keys::texts;
namespace ids = quiren::win32;

namespace {

const wchar_t kProgram[] = L"mu_quiren11e.exe";
constexpr std::u16string_view kAskEncrypt = u"クリップボードの内容を暗号化しますか？";
constexpr std::u16string_view kEncryptedToSato =
    u"宛先指定の暗号化で、佐藤 花子 とあなた宛てに暗号化した文章をクリップボードに書き込みました";
const std::wstring kNotForYou = L"この暗号文はあなた宛てではないか、途中で変更されています";
std::wstring g_exchange;

std::wstring in_exchange(std::wstring_view name) { return g_exchange + L"\\" + std::wstring(name); }

std::optional<std::wstring> exchange_text(std::wstring_view name) { return read_utf8_file(in_exchange(name)); }

std::wstring with_crlf(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

std::wstring trimmed(std::wstring text) {
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

// The digits as one line, however the window breaks them.
std::wstring one_line(std::wstring text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    out += c == L'\n' ? L' ' : c;
  }
  return out;
}

std::wstring windows_user() {
  wchar_t name[257] = {};
  DWORD length = 257;
  return GetUserNameW(name, &length) ? std::wstring(name) : std::wstring();
}

// The file libcrypto reads when OPENSSL_CONF is not set, and its folders.
std::wstring built_in_config_file() {
  char* path = CONF_get1_default_config_file();
  const std::wstring file = path ? wide(path) : std::wstring();
  OPENSSL_free(path);
  return file;
}

bool make_directories(const std::wstring& path) {
  for (std::size_t at = path.find_first_of(L"/\\", 3); at != std::wstring::npos;
       at = path.find_first_of(L"/\\", at + 1)) {
    if (!make_directory(path.substr(0, at))) return false;
  }
  return make_directory(path);
}

bool start_to_tray(Process& program) {
  program = Process(kProgram, {});
  if (!check(program.started(), "program started")) return false;
  HWND splash = wait_for_window(quiren::win32::kSplashClass, L"", program.pid());
  if (!check(splash != nullptr, "splash shown")) return false;
  check(wait_until_gone(splash, 10s), "splash closes by itself");
  return check(wait_until([] { return main_window() != nullptr; }), "main window made");
}

void stop(Process& program) {
  menu(main_window(), MenuCommand::exit);
  check(program.wait(10s).has_value(), "the program ended by the exit command");
}

HWND open_contacts(DWORD pid) {
  menu(main_window(), MenuCommand::keys);
  HWND window = wait_for_window(ids::kContactsClass, wide(texts::kContactsTitle), pid);
  check(window != nullptr, "the contacts window opens");
  return window;
}

std::wstring my_digits_shown(HWND window) { return one_line(control_text(window, ids::kContactsMyDigitsId)); }

// "鍵を読み込む" with the key file's text on the clipboard, answered with
// `passphrase`; the prompt's label checked.
void import_from_clipboard(HWND window, DWORD pid, const std::wstring& passphrase, std::wstring_view shot = {}) {
  press_button(window, ids::kContactsImportId);
  answer(expect_box(pid, texts::kAskImportFromClipboard, "from the clipboard?"), IDYES);
  HWND prompt = wait_for_password_prompt(wide(texts::kImportTitle), pid);
  if (!check(prompt != nullptr, "the passphrase prompt")) return;
  check(prompt_label(prompt) == wide(texts::kAskImportPassphrase), "asks for the export's passphrase");
  if (!shot.empty()) screenshot(shot, prompt);
  answer_prompt(prompt, passphrase);
}

// The tool's sealed key put into the program in place of the key it made:
// a wrong passphrase changes nothing, the right one replaces the key once
// the user agrees. The window then shows the digits the tool printed.
void import_tool_key(HWND window, DWORD pid) {
  const std::optional<std::wstring> key_text = exchange_text(L"import-key.txt");
  const std::optional<std::wstring> passphrase = exchange_text(L"import-passphrase.txt");
  const std::optional<std::wstring> digits = exchange_text(L"import-digits.txt");
  if (!check(key_text && passphrase && digits, "the tool's sealed key, its passphrase and digits")) return;
  const std::wstring made_digits = my_digits_shown(window);

  step("the tool's sealed key copied: the watch offers to open it as a block, declined");
  set_clipboard_text(with_crlf(trimmed(*key_text)) + L"\r\n");
  answer(expect_box(pid, quiren::flows::texts::kAskDecrypt, "the watch's question"), IDNO);

  step("imported under a wrong passphrase: said, the key kept");
  import_from_clipboard(window, pid, L"違う合言葉", L"import-passphrase");
  answer(expect_box(pid, texts::kImportWrongPassphrase, "the wrong passphrase", 30s), IDOK);
  check_equal(my_digits_shown(window), made_digits, "the key made at the first start kept");

  step("imported under its passphrase, replacing the key made at the first start");
  import_from_clipboard(window, pid, trimmed(*passphrase));
  answer(expect_box(pid, texts::kAskReplaceMyKey, "the replace question", 30s), IDYES);
  answer(expect_box(pid, texts::kKeyImported, "imported"), IDOK);
  check_equal(my_digits_shown(window), trimmed(*digits), "the imported key's digits, as the tool prints them");
  check_equal(control_text(window, ids::kContactsMyNameId), L"自分の鍵: " + windows_user(), "the user's name kept");
  screenshot(L"contacts-imported", window);

  step("the imported key's block copied is the user's own: not offered");
  press_button(window, ids::kContactsCopyId);
  answer(expect_box(pid, texts::kMyKeyCopied, "copied"), IDOK);
  check(clipboard_text().value_or(L"").starts_with(L"(quiren_start)\r\nK"), "a key block on the clipboard");
  check(no_box_for_a_while(pid) && !find_window(ids::kKeyOfferClass, L"", pid), "the watch knows the imported key");
}

// The tool's blocks to the key the program now holds, and one back to 佐藤.
void blocks_with_the_tool(DWORD pid) {
  const std::optional<std::wstring> sato_text = exchange_text(L"sato-text.txt");
  const std::optional<std::wstring> tray_text = exchange_text(L"tray-text.txt");
  const std::optional<std::wstring> from_sato = exchange_text(L"from-sato-block.txt");
  const std::optional<std::wstring> for_others = exchange_text(L"for-others-block.txt");
  if (!check(sato_text && tray_text && from_sato && for_others, "the tool's texts and blocks")) return;

  step("the tool's block from 佐藤 opens with no password, 佐藤 named as its sender");
  const std::wstring mail = L"Re: 見積もり\r\n\r\n" + *from_sato;
  if (const std::optional<ViewerShown> shown = open_unasked(pid, mail, L"viewer-contact-sender")) {
    check_equal(shown->text, *sato_text, "the tool's text");
    // "2026-12-11 18:30" after the name.
    const std::wstring sender = L"差出人: 佐藤 花子（確認済み）";
    check(shown->status.starts_with(sender + L"20") && shown->status.size() == sender.size() + 16,
          "status line names 佐藤 and the time: " + utf8(shown->status));
  }

  step("the tool's block from 佐藤 to somebody else: the message, no text");
  if (const std::optional<ViewerShown> shown = open_unasked(pid, *for_others)) {
    check_equal(shown->text, kNotForYou, "the message in place of the text");
    check_equal(shown->status, L"宛先指定 1 件", "status line: the block, no sender");
  }

  step("a text encrypted to 佐藤, ticked in the prompt's list");
  set_clipboard_text(*tray_text);
  answer(expect_box(pid, kAskEncrypt, "encrypt question"), IDYES);
  HWND prompt = wait_for_password_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "the encrypt prompt")) return;
  using quiren::win32::kPromptEditId;
  using quiren::win32::kPromptRecipientFirstId;
  check_equal(control_text(prompt, quiren::win32::kPromptRecipientsLabelId), L"宛先を選ぶ", "the list's label");
  check_equal(control_text(prompt, kPromptRecipientFirstId), L"佐藤 花子（確認済み）", "the contact's line");
  check(!has_control(prompt, kPromptRecipientFirstId + 1), "the only contact");
  click_control(prompt, kPromptRecipientFirstId);
  check(wait_until([&] { return !IsWindowEnabled(GetDlgItem(prompt, kPromptEditId)); }),
        "the password field goes off once 佐藤 is ticked");
  press_button(prompt, quiren::win32::kPromptOkId);
  answer(expect_box(pid, kEncryptedToSato, "the closing message names 佐藤"), IDOK);
  const std::wstring block = clipboard_text().value_or(L"");
  check_equal(block_mode_letter(block), L"D", "a recipient block");
  write_file_bytes(in_exchange(L"tray-block.txt"), utf8(block));
}

}  // namespace

int wmain() {
  wchar_t folder[MAX_PATH] = {};
  if (!check(GetEnvironmentVariableW(L"QUIREN_E2E_EXCHANGE", folder, MAX_PATH) > 0,
             "QUIREN_E2E_EXCHANGE names the shared folder")) {
    return exit_code();
  }
  g_exchange = folder;
  const std::optional<std::wstring> other_block = exchange_text(L"sato-block.txt");
  const std::optional<std::wstring> other_digits = exchange_text(L"sato-digits.txt");
  if (!check(other_block && other_digits, "the tool's key block and digits")) return exit_code();

  step("the first start makes the key without a question, planted OpenSSL configurations ignored");
  clear_stored_settings();
  // Where libcrypto looks, both: the folder fixed when it was built and the
  // file OPENSSL_CONF names (tests/e2e/libcrypto shows either stops a start
  // that reads it from making a key).
  const std::wstring planted = driver_directory() + L"\\planted-openssl.cnf";
  const std::optional<std::string> planted_bytes = read_file_bytes(planted);
  check(planted_bytes.has_value(), "planted-openssl.cnf beside the driver");
  const std::wstring built_in = built_in_config_file();
  check(make_directories(built_in.substr(0, built_in.find_last_of(L"/\\"))) &&
            write_file_bytes(built_in, planted_bytes.value_or("")),
        "planted in the built-in folder");
  SetEnvironmentVariableW(L"OPENSSL_CONF", planted.c_str());
  Process program;
  if (!start_to_tray(program)) return exit_code();
  const DWORD pid = program.pid();
  check(no_box_for_a_while(pid), "no box at the first start");
  const std::optional<std::wstring> made_key = stored_setting(L"mykey");
  check(made_key && made_key->size() > 40, "the key is stored sealed");
  check_equal(stored_setting(L"myname").value_or(L"(none)"), windows_user(), "named after the Windows user");

  step("the tool's key block copied is offered with the tool's digits");
  set_clipboard_text(L"Here is my key:\r\n" + with_crlf(trimmed(*other_block)) + L"\r\n");
  answer(expect_box(pid, texts::kAskOffer, "the offer's question"), IDYES);
  HWND offer = wait_for_window(ids::kKeyOfferClass, wide(texts::kOfferTitle), pid);
  if (!check(offer != nullptr, "the offer window")) return exit_code();
  check_equal(control_text(offer, ids::kOfferNameEditId), L"佐藤 花子", "the name from the block");
  check_equal(one_line(control_text(offer, ids::kOfferDigitsId)), trimmed(*other_digits), "the tool's digits");
  check(!has_control(offer, ids::kOfferWarningId), "no warning for a new key");
  const int offer_tabs[] = {ids::kOfferNameEditId, ids::kOfferConfirmedId, ids::kOfferAcceptId, ids::kOfferCancelId};
  check_geometry(offer, "the key offer", offer_tabs);
  guide_picture(offer, L"key-offer");
  click_control(offer, ids::kOfferConfirmedId);
  press_button(offer, ids::kOfferAcceptId);
  check(wait_until_gone(offer), "the offer closes once added");
  // Also the time the watch takes to finish with the offer: a copy made
  // before it has would count as already examined.
  check(no_box_for_a_while(pid), "nothing more said");
  const std::optional<std::wstring> contacts = stored_setting(L"contacts");
  check(contacts && contacts->ends_with(L" 1 佐藤 花子"), "stored as a confirmed contact");

  step("the same block again is said to be held");
  set_clipboard_text(with_crlf(trimmed(*other_block)));
  answer(expect_box(pid, texts::kAskOffer, "the offer's question"), IDYES);
  answer(expect_box(pid, u"この鍵は「佐藤 花子」としてすでに登録されています。", "already held"), IDOK);

  step("the contacts window lists it and copies the tray's own key block");
  HWND window = open_contacts(pid);
  if (!window) return exit_code();
  check_equal(control_text(window, ids::kContactsMyNameId), L"自分の鍵: " + windows_user(), "the user's name");
  const std::wstring my_digits = control_text(window, ids::kContactsMyDigitsId);
  const std::vector<std::wstring> lines = list_box_lines(window, ids::kContactsListId);
  check(lines.size() == 1 && lines[0] == L"佐藤 花子\t" + trimmed(*other_digits) + L"\t確認済み", "the contact's line");
  const int contacts_tabs[] = {ids::kContactsCopyId,          ids::kContactsRenameMeId, ids::kContactsExportId,
                               ids::kContactsImportId,        ids::kContactsBesideProgramId,
                               ids::kContactsListId,          ids::kContactsRenameId,   ids::kContactsRemoveId,
                               ids::kContactsConfirmId,       ids::kContactsCloseId};
  check_geometry(window, "the contacts window", contacts_tabs);
  guide_picture(window, L"contacts");
  press_button(window, ids::kContactsCopyId);
  answer(expect_box(pid, texts::kMyKeyCopied, "copied"), IDOK);
  const std::wstring my_block = clipboard_text().value_or(L"");
  check(my_block.starts_with(L"(quiren_start)\r\nK"), "the tray's key block on the clipboard");
  check(no_box_for_a_while(pid) && !find_window(ids::kKeyOfferClass, L"", pid), "its own key block is not offered");
  write_file_bytes(in_exchange(L"tray-key-block.txt"), utf8(my_block));
  write_file_bytes(in_exchange(L"tray-digits.txt"), utf8(my_digits));

  step("the key exported to a file under a passphrase");
  press_button(window, ids::kContactsExportId);
  HWND save = wait_for_window(kMessageBoxClass, wide(texts::kExportTitle), pid);
  if (check(save != nullptr, "the save dialog")) {
    // The name field: edt1 in some versions of the dialog, the combo box
    // cmb13 in others.
    const std::wstring exported = in_exchange(L"tray-key.txt");
    check(set_control_text(save, 0x480, exported) || set_control_text(save, 0x47c, exported), "file name typed");
    press_button(save, IDOK);
    check(wait_until_gone(save), "the save dialog closes");
    HWND prompt = wait_for_password_prompt(wide(texts::kExportTitle), pid);
    if (check(prompt != nullptr, "the passphrase prompt")) {
      check(prompt_label(prompt) == wide(texts::kAskExportPassphrase), "asks for the passphrase");
      answer_prompt(prompt, L"鍵の引っ越し 2026");
      answer(expect_box(pid, texts::kKeyExported, "exported", 30s), IDOK);
      write_file_bytes(in_exchange(L"tray-key-passphrase.txt"), utf8(L"鍵の引っ越し 2026\n"));
    }
  }
  import_tool_key(window, pid);
  const std::optional<std::wstring> sealed_key = stored_setting(L"mykey");
  check(sealed_key && sealed_key != made_key, "the imported key stored in place of the one made");
  const std::wstring imported_digits = my_digits_shown(window);
  press_button(window, ids::kContactsCloseId);
  check(wait_until_gone(window), "the contacts window closes");
  stop(program);

  step("after a restart the key and the contact are the same");
  Process again;
  if (!start_to_tray(again)) return exit_code();
  check(no_box_for_a_while(again.pid()), "no box at a later start");
  check_equal(stored_setting(L"mykey").value_or(L""), sealed_key.value_or(L"-"), "the stored key unchanged");
  window = open_contacts(again.pid());
  if (window) {
    check_equal(my_digits_shown(window), imported_digits, "the same digits");
    check_equal(static_cast<long long>(list_box_lines(window, ids::kContactsListId).size()), 1, "the contact kept");
    press_button(window, ids::kContactsCloseId);
    check(wait_until_gone(window), "the contacts window closes");
  }
  blocks_with_the_tool(again.pid());
  stop(again);
  return exit_code();
}
