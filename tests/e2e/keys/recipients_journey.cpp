// Recipient blocks between the tray's clipboard flows (libcrypto, under
// Wine) and the Linux tool, and quiren.exe against the Linux tool.
// recipients-exchange.sh does the tool's part before and after this driver and
// shares a folder with it, named in QUIREN_E2E_EXCHANGE (a Windows path);
// the flows host reads its key ring from the same folder
// (QUIREN_E2E_KEY_RING: the tray's key, 田中 as a confirmed contact and 鈴木
// as one whose digits were not compared).
//   in:  tray-key.txt, tray-keyblock.txt, tanaka-keyblock.txt, tray-name.txt,
//        tool-digits.txt (the tool's `key digits` of the tray's key block),
//        tool-text.txt, to-tray-block.txt (the tool's block of it from 田中
//        to the tray), from-suzuki-block.txt and from-stranger-block.txt
//        (the same from 鈴木 and from a key among no contacts, with
//        stranger-digits.txt), not-for-tray-block.txt (a block for others),
//        tray-text.txt
//   out: tray-block.txt (the tray's block of tray-text.txt to 田中),
//        exe-block.txt (quiren.exe's, as the tray's key), which the script
//        opens with the tool and 田中's key afterwards.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"
#include "tray/core/win32/prompt_ids.h"

using namespace quiren::e2e;

namespace {

constexpr std::u16string_view kAskEncrypt = u"クリップボードの内容を暗号化しますか？";
constexpr std::u16string_view kEncryptedToTanaka =
    u"宛先指定の暗号化で、田中 とあなた宛てに暗号化した文章をクリップボードに書き込みました";
const std::wstring kNotForYou = L"この暗号文はあなた宛てではないか、途中で変更されています";

std::wstring g_exchange;

std::wstring in_exchange(std::wstring_view name) { return g_exchange + L"\\" + std::wstring(name); }

std::optional<std::wstring> exchange_text(std::wstring_view name) { return read_utf8_file(in_exchange(name)); }

// Runs quiren.exe with `args` in the exchange folder, standard input the
// file `input` there (none when empty): its standard output, or nullopt
// when it failed.
std::optional<std::string> run_tool(const std::vector<std::wstring>& args, std::wstring_view input = {}) {
  std::optional<std::string> bytes = std::string();
  if (!input.empty()) bytes = read_file_bytes(in_exchange(input));
  if (!bytes) return std::nullopt;
  return run_console(driver_directory() + L"\\quiren.exe", args, *bytes, g_exchange);
}

void tray_and_tool(DWORD pid, const std::wstring& tool_text, const std::wstring& tray_text) {
  step("the tool's block from 田中 to the tray's key opens with no password, 田中 named as its sender");
  const std::optional<std::wstring> to_tray = exchange_text(L"to-tray-block.txt");
  if (check(to_tray.has_value(), "the tool's block")) {
    if (const std::optional<ViewerShown> shown =
            open_unasked(pid, L"Mail text\r\n" + *to_tray, L"viewer-sender")) {
      check_equal(shown->text, tool_text, "the tool's text");
      check(shown->status.starts_with(L"差出人: 田中（確認済み）20") && shown->status.size() == 29,
            "status line names 田中 and the time: " + utf8(shown->status));
    }
  }

  step("a block from a contact whose digits were not compared, and one from a key among no contacts");
  const std::optional<std::wstring> from_suzuki = exchange_text(L"from-suzuki-block.txt");
  const std::optional<std::wstring> from_stranger = exchange_text(L"from-stranger-block.txt");
  const std::optional<std::wstring> stranger_digits = exchange_text(L"stranger-digits.txt");
  if (check(from_suzuki && from_stranger && stranger_digits, "the tool's blocks from 鈴木 and a stranger")) {
    if (const std::optional<ViewerShown> shown = open_unasked(pid, *from_suzuki)) {
      check(shown->status.starts_with(L"差出人: 鈴木（未確認）20"), "鈴木 not confirmed: " + utf8(shown->status));
    }
    // "stranger: 12345 67890 ..." -> the first two groups.
    const std::wstring digits = stranger_digits->substr(stranger_digits->find(L": ") + 2, 11);
    if (const std::optional<ViewerShown> shown = open_unasked(pid, *from_stranger)) {
      check(shown->status.starts_with(L"差出人: 確認していない鍵 " + digits + L" … 20"),
            "a key among no contacts, by its digits: " + utf8(shown->status));
    }
  }

  step("a block for others: the message in place of the text");
  const std::optional<std::wstring> for_others = exchange_text(L"not-for-tray-block.txt");
  if (check(for_others.has_value(), "the tool's block for others")) {
    if (const std::optional<ViewerShown> shown = open_unasked(pid, *for_others)) {
      check_equal(shown->text, kNotForYou, "the message, no text");
      check_equal(shown->status, L"宛先指定 1 件", "status line: no sender");
    }
  }

  step("encrypt to 田中: tick the contact, the password fields go off, OK");
  set_clipboard_text(tray_text);
  answer(expect_box(pid, kAskEncrypt, "encrypt question"), IDYES);
  HWND prompt = wait_for_password_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "the encrypt prompt")) return;
  using namespace quiren::win32;
  check_equal(control_text(prompt, kPromptRecipientsLabelId), L"宛先を選ぶ", "the list's label");
  check_equal(control_text(prompt, kPromptRecipientFirstId), L"田中（確認済み）", "a confirmed contact's line");
  check_equal(control_text(prompt, kPromptRecipientFirstId + 1), L"鈴木（未確認）", "an unconfirmed contact's line");
  check(IsWindowEnabled(GetDlgItem(prompt, kPromptEditId)) != FALSE, "the password field is on while nobody is ticked");
  click_control(prompt, kPromptRecipientFirstId);
  check(wait_until([&] { return !IsWindowEnabled(GetDlgItem(prompt, kPromptEditId)); }),
        "the password field goes off once 田中 is ticked");
  check(!IsWindowEnabled(GetDlgItem(prompt, kPromptConfirmEditId)), "so does the confirmation");
  check(!IsWindowEnabled(GetDlgItem(prompt, kPromptGenerateId)), "and パスワードを生成");
  guide_picture(prompt, L"password-prompt-recipients");
  press_button(prompt, kPromptOkId);
  answer(expect_box(pid, kEncryptedToTanaka, "the closing message names 田中"), IDOK);
  const std::wstring block = clipboard_text().value_or(L"");
  check_equal(block_mode_letter(block), L"D", "a recipient block");
  write_file_bytes(in_exchange(L"tray-block.txt"), utf8(block));

  step("the tray's own block opens for the tray: its sender is the user");
  if (const std::optional<ViewerShown> shown = open_unasked(pid, block)) {
    check_equal(shown->text, tray_text, "the tray's text");
    check(shown->status.starts_with(L"差出人: あなた 20"), "status line names the user: " + utf8(shown->status));
  }

  step("the choice is remembered: the next prompt starts with 田中 ticked");
  set_clipboard_text(L"again");
  answer(expect_box(pid, kAskEncrypt, "encrypt question"), IDYES);
  prompt = wait_for_password_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "the encrypt prompt again")) return;
  check(SendMessageW(GetDlgItem(prompt, kPromptRecipientFirstId), BM_GETCHECK, 0, 0) == BST_CHECKED,
        "田中 ticked as last time");
  check(!IsWindowEnabled(GetDlgItem(prompt, kPromptEditId)), "the password field off");
  press_button(prompt, kPromptCancelId);
  answer(expect_box(pid, u"パスワードが入力されなかった為、処理を中止します", "cancelled"), IDOK);
}

// Starts the flows host, which reads the settings stored now, and waits
// until it is ready.
Process start_host() {
  Process host(driver_directory() + L"\\flows_host.exe", {});
  check(host.started() && wait_until([] { return FindWindowW(L"quiren_flows_host", nullptr) != nullptr; }, 30s),
        "host ready");
  return host;
}

void fixed_password(DWORD pid, const std::wstring& tray_text) {
  step("with a fixed password the prompt offers only the people; nobody ticked: the fixed password");
  set_clipboard_text(tray_text);
  answer(expect_box(pid, kAskEncrypt, "encrypt question"), IDYES);
  HWND prompt = wait_for_password_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "the prompt of people")) return;
  using namespace quiren::win32;
  check_equal(prompt_label(prompt), L"宛先を選んで下さい。誰も選ばなければ、設定のパスワードで暗号化します", "its label");
  check(!has_control(prompt, kPromptEditId) && !has_control(prompt, kPromptShowCheckId), "no password fields");
  check(SendMessageW(GetDlgItem(prompt, kPromptRecipientFirstId), BM_GETCHECK, 0, 0) == BST_CHECKED,
        "田中 ticked as last time");
  click_control(prompt, kPromptRecipientFirstId);
  check(wait_until([&] {
          return SendMessageW(GetDlgItem(prompt, kPromptRecipientFirstId), BM_GETCHECK, 0, 0) == BST_UNCHECKED;
        }),
        "田中 unticked");
  press_button(prompt, kPromptOkId);
  answer(expect_box(pid, u"強力な暗号化で暗号化した文章をクリップボードに書き込みました", "under the fixed password"), IDOK);
  check_equal(block_mode_letter(clipboard_text().value_or(L"")), L"C", "a strong block");
}

void exe_and_tool(const std::wstring& tool_text) {
  step("quiren.exe gives the tray's key block and safety digits as the Linux tool does");
  const std::optional<std::string> tool_key_block = read_file_bytes(in_exchange(L"tray-keyblock.txt"));
  const std::optional<std::string> name = read_file_bytes(in_exchange(L"tray-name.txt"));
  if (check(tool_key_block && name, "the tool's key block and name")) {
    const std::optional<std::string> exe_key_block =
        run_tool({L"key", L"show", L"--key", L"tray-key.txt", L"--name", wide(*name)});
    check(exe_key_block == tool_key_block, "the same key block, byte for byte");
  }
  const std::optional<std::string> tool_digits = read_file_bytes(in_exchange(L"tool-digits.txt"));
  const std::optional<std::string> exe_digits = run_tool({L"key", L"digits"}, L"tray-keyblock.txt");
  check(tool_digits && exe_digits == tool_digits, "the same safety digits");

  step("quiren.exe opens the Linux tool's recipient block with the tray's key");
  const std::optional<std::string> opened = run_tool({L"decrypt", L"--key", L"tray-key.txt"}, L"to-tray-block.txt");
  check(opened && wide(*opened) == tool_text, "the tool's text");

  step("quiren.exe writes a recipient block to 田中 for the Linux tool to open");
  const std::optional<std::string> written =
      run_tool({L"encrypt", L"--key", L"tray-key.txt", L"--to", L"tanaka-keyblock.txt"}, L"tray-text.txt");
  if (check(written.has_value(), "quiren.exe wrote a block")) write_file_bytes(in_exchange(L"exe-block.txt"), *written);
}

}  // namespace

int wmain() {
  wchar_t folder[MAX_PATH] = {};
  if (!check(GetEnvironmentVariableW(L"QUIREN_E2E_EXCHANGE", folder, MAX_PATH) > 0,
             "QUIREN_E2E_EXCHANGE names the folder shared with recipients-exchange.sh")) {
    return exit_code();
  }
  g_exchange = folder;
  const std::optional<std::wstring> tool_text = exchange_text(L"tool-text.txt");
  const std::optional<std::wstring> tray_text = exchange_text(L"tray-text.txt");
  if (!check(tool_text && tray_text, "the tool's side left its files")) return exit_code();

  exe_and_tool(*tool_text);

  clear_stored_settings();
  SetEnvironmentVariableW(L"QUIREN_E2E_KEY_RING", folder);
  {
    Process host = start_host();
    if (!host.started()) return exit_code();
    tray_and_tool(host.pid(), *tool_text, *tray_text);
  }
  // The host reads the settings as it starts.
  check(wait_until([] { return FindWindowW(L"quiren_flows_host", nullptr) == nullptr; }), "host ended");
  store_setting(L"ango", L"True");
  store_setting(L"angopass", L"fixed password");
  Process host = start_host();
  if (host.started()) fixed_password(host.pid(), *tray_text);
  return exit_code();
}
