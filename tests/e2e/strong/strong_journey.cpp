// Strong blocks between the tray's clipboard flows (CNG, under Wine) and the
// Linux tool (OpenSSL). tool-exchange.sh does the tool's part before and
// after this driver and shares a folder with it, named in
// QUIREN_E2E_EXCHANGE (a Windows path):
//   in:  password.txt (its first line), tool-text.txt, tool-block.txt (the
//        tool's strong block of tool-text.txt), tray-text.txt
//   out: tray-block.txt, the flows host's block of tray-text.txt, which the
//        script opens with the tool afterwards.
// And one password in either Unicode form (keys come from NFC):
//   in:  nfc-password.txt and nfd-password.txt (the precomposed and the
//        decomposed forms of the same kana), nfc-text.txt, nfd-tool-block.txt
//        (the tool's block of it under the decomposed form), earlier-block.txt
//        (a block sealed before keys came from NFC: the decomposed form's
//        own UTF-8)
//   out: nfd-tray-block.txt, the host's block of nfc-text.txt under the
//        decomposed form, which the tool opens under the precomposed one.
// And "パスワードを生成" in the encrypt prompt:
//   out: passphrase.txt, the passphrase the button made, and
//        passphrase-block.txt, the host's block of tray-text.txt under it,
//        which the tool opens with it.
// The host starts with no stored settings, as a new user's program does, so
// it writes strong blocks. The texts carry Japanese and emoji, which a
// compatible block could not under the western code page. Also: a wrong
// password, a changed strong block never shows text, a few forms of the
// shared table's strong blocks as chat and office programs return them,
// and a damaged one's message says where.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_rules.h"
#include "block/strong/envelope_layout.h"
#include "block/strong_block.h"
#include "tests/e2e/driver/driver.h"
#include "tests/support/received_forms.h"
#include "tray/core/win32/prompt_ids.h"

using namespace quiren::e2e;

namespace {

constexpr std::u16string_view kAskEncrypt = u"クリップボードの内容を暗号化しますか？";
constexpr std::u16string_view kAskDecrypt = u"クリップボードの内容を復号しますか？";
constexpr std::u16string_view kEncrypted = u"強力な暗号化で暗号化した文章をクリップボードに書き込みました";
// In place of a strong block that did not open: a wrong password and a
// changed character alike.
const std::wstring kNotOpened = L"パスワードが違うか、暗号文が途中で変更されています";
const std::wstring kInvalidCiphertext = L"暗号文が不正です。復号を中止します。";
const std::wstring kBlockHead = L"(quiren_start)\r\n";
const std::wstring kBlockTail = L"\r\n(quiren_end)";

std::wstring g_exchange;

std::optional<std::wstring> exchange_text(std::wstring_view name) {
  return read_utf8_file(g_exchange + L"\\" + std::wstring(name));
}

bool answer_password(DWORD pid, std::wstring_view password) {
  HWND prompt = wait_for_password_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "password prompt appears")) return false;
  return answer_prompt(prompt, password);
}

// Copies `text` and lets the host encrypt it under `password`: the block it
// put on the clipboard.
std::wstring encrypt(DWORD pid, std::wstring_view text, std::wstring_view password) {
  set_clipboard_text(text);
  answer(expect_box(pid, kAskEncrypt, "encrypt question"), IDYES);
  if (!answer_password(pid, password)) return {};
  answer(expect_box(pid, kEncrypted, "encrypted"), IDOK);
  return clipboard_text().value_or(L"");
}

// Copies `clip`, answers the decrypt question and the password: the text the
// viewer shows, with the viewer closed again; nullopt (a failed check) when
// no viewer came.
std::optional<std::wstring> decrypt(DWORD pid, std::wstring_view clip, std::wstring_view password) {
  set_clipboard_text(clip);
  answer(expect_box(pid, kAskDecrypt, "decrypt question"), IDYES);
  if (!answer_password(pid, password)) return std::nullopt;
  HWND viewer = nullptr;
  HWND box = nullptr;
  wait_until([&] {
    viewer = find_window(kViewerClass, kViewerCaption, pid);
    box = find_window(kMessageBoxClass, kAppTitle, pid);
    return viewer || box;
  });
  if (!check(viewer != nullptr, "viewer appears")) {
    if (box) {
      check_equal(message_box_text(box), L"", "unexpected message box");
      answer(box, IDOK);
    }
    return std::nullopt;
  }
  // The flow fills the viewer once it is shown.
  std::wstring shown;
  wait_until([&] { return !(shown = control_text(viewer, kViewerTextId)).empty(); });
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  check(wait_until([&] { return !IsWindow(viewer); }), "viewer closes");
  return shown;
}

// Copies `clip`, a block that cannot be read, and answers the decrypt
// question: the message must come before any password, and no viewer.
void expect_damaged(DWORD pid, std::wstring_view clip, std::wstring_view message, std::wstring_view shot = {}) {
  set_clipboard_text(clip);
  answer(expect_box(pid, kAskDecrypt, "decrypt question"), IDYES);
  HWND box = expect_box(pid, std::u16string(message.begin(), message.end()), "the damaged block's message");
  if (box && !shot.empty()) screenshot(shot, box);
  answer(box, IDOK);
  check(find_window(kViewerClass, kViewerCaption, pid) == nullptr, "no viewer for a damaged block");
}

std::u16string u16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }
std::wstring w(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// The block with one byte of its envelope flipped, framed again as the tray
// frames it; empty when `block` holds no readable strong block.
std::wstring envelope_changed(std::wstring_view block,
                              const std::function<std::size_t(const std::vector<std::uint8_t>&)>& where) {
  std::vector<quiren::block::BlockItem> items = quiren::block::read_blocks(u16(block));
  if (items.empty() || items[0].problem ||
      items[0].kind != quiren::block::BlockKind::strong) {
    return {};
  }
  std::vector<std::uint8_t> envelope = items[0].envelope;
  envelope[where(envelope)] ^= 0x01;
  return w(quiren::block::frame_strong_envelope(envelope, quiren::block::kDefaultWrap));
}

// The block's lines between the markers, split at CR LF.
std::vector<std::wstring> lines_of(std::wstring_view block) {
  std::vector<std::wstring> lines;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = block.find(L"\r\n", at);
    lines.emplace_back(block.substr(at, end == std::wstring_view::npos ? std::wstring_view::npos : end - at));
    if (end == std::wstring_view::npos) return lines;
    at = end + 2;
  }
}

std::wstring joined(const std::vector<std::wstring>& lines) {
  std::wstring out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? L"\r\n" : L"") + lines[i];
  return out;
}

std::wstring first_line(const std::optional<std::wstring>& text) {
  return text ? text->substr(0, text->find_first_of(L"\r\n")) : std::wstring();
}

// "パスワードを生成" in the encrypt prompt: both fields get one passphrase,
// shown; English words unless the box beside the button is ticked. The
// block sealed under it goes to the tool, with the passphrase as read from
// the field.
void generated_passphrase(DWORD pid, const std::wstring& text) {
  namespace ids = quiren::win32;
  step("パスワードを生成 fills both fields with six words joined by \"-\"; the tool opens the block");
  set_clipboard_text(text);
  answer(expect_box(pid, kAskEncrypt, "encrypt question"), IDYES);
  HWND prompt = wait_for_password_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "password prompt appears")) return;
  const auto checked = [prompt](int id) {
    return SendMessageW(GetDlgItem(prompt, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  check(has_control(prompt, ids::kPromptGenerateId), "the prompt of a strong block offers the button");
  check(!checked(ids::kPromptKanaCheckId), "English words unless the user chose otherwise");
  // Generates with the form ticked, and reads what both fields hold.
  const auto generate = [&](bool kana) {
    if (checked(ids::kPromptKanaCheckId) != kana) click_control(prompt, ids::kPromptKanaCheckId);
    wait_until([&] { return checked(ids::kPromptKanaCheckId) == kana; });
    const std::wstring before = control_text(prompt, ids::kPromptEditId);
    press_button(prompt, ids::kPromptGenerateId);
    // Read until both fields hold the new text whole: the fields are wiped
    // before they are filled, and a read may fall in between.
    std::wstring made;
    wait_until([&] {
      made = control_text(prompt, ids::kPromptEditId);
      return made != before && is_generated_passphrase(made, kana) &&
             control_text(prompt, ids::kPromptConfirmEditId) == made;
    });
    check(is_generated_passphrase(made, kana),
          std::string(kana ? "seven kana words: " : "six words joined by \"-\": ") + utf8(made));
    check_equal(control_text(prompt, ids::kPromptConfirmEditId), made, "the confirmation holds the same");
    check(checked(ids::kPromptShowCheckId), "the show box is ticked");
    return made;
  };
  generate(true);
  const std::wstring passphrase = generate(false);
  press_button(prompt, ids::kPromptOkId);
  answer(expect_box(pid, kEncrypted, "encrypted"), IDOK);
  const std::wstring block = clipboard_text().value_or(L"");
  check_equal(block_mode_letter(block), L"C", "a strong block under the passphrase");
  check(write_file_bytes(g_exchange + L"\\passphrase.txt", utf8(passphrase) + "\n") &&
            write_file_bytes(g_exchange + L"\\passphrase-block.txt", utf8(block)),
        "passphrase.txt and passphrase-block.txt written for the tool");
}

void one_password_in_either_form(DWORD pid) {
  const std::wstring composed = first_line(exchange_text(L"nfc-password.txt"));
  const std::wstring decomposed = first_line(exchange_text(L"nfd-password.txt"));
  const std::optional<std::wstring> text = exchange_text(L"nfc-text.txt");
  const std::optional<std::wstring> tool_block = exchange_text(L"nfd-tool-block.txt");
  const std::optional<std::wstring> earlier = exchange_text(L"earlier-block.txt");
  if (!check(!composed.empty() && !decomposed.empty() && composed != decomposed && text && tool_block && earlier,
             "the tool's side left the two forms and their blocks")) {
    return;
  }
  step("the tool's block under the decomposed password opens under the precomposed one");
  check_equal(decrypt(pid, *tool_block, composed).value_or(L"(no viewer)"), *text, "viewer text, precomposed");

  step("the tray seals under the decomposed password; it opens under either form");
  const std::wstring block = encrypt(pid, *text, decomposed);
  check(write_file_bytes(g_exchange + L"\\nfd-tray-block.txt", utf8(block)), "nfd-tray-block.txt written");
  check_equal(decrypt(pid, block, composed).value_or(L"(no viewer)"), *text, "viewer text, the other form");

  step("a block sealed before keys came from NFC opens under the form it was sealed under, and only that");
  check_equal(decrypt(pid, *earlier, decomposed).value_or(L"(no viewer)"), L"以前の規則で封をした文",
              "viewer text of the earlier block");
  check_equal(decrypt(pid, *earlier, composed).value_or(L"(no viewer)"), kNotOpened,
              "the earlier block under the other form");
}

}  // namespace

int wmain() {
  wchar_t folder[MAX_PATH] = {};
  if (!check(GetEnvironmentVariableW(L"QUIREN_E2E_EXCHANGE", folder, MAX_PATH) > 0,
             "QUIREN_E2E_EXCHANGE names the folder shared with tool-exchange.sh")) {
    return exit_code();
  }
  g_exchange = folder;
  const std::optional<std::wstring> password_line = exchange_text(L"password.txt");
  const std::optional<std::wstring> tool_text = exchange_text(L"tool-text.txt");
  const std::optional<std::wstring> tool_block = exchange_text(L"tool-block.txt");
  const std::optional<std::wstring> tray_text = exchange_text(L"tray-text.txt");
  if (!check(password_line && tool_text && tool_block && tray_text, "the tool's side left its files")) {
    return exit_code();
  }
  const std::wstring password = password_line->substr(0, password_line->find_first_of(L"\r\n"));

  clear_stored_settings();
  Process host(driver_directory() + L"\\flows_host.exe", {});
  if (!check(host.started(), "host starts")) return exit_code();
  const DWORD pid = host.pid();
  if (!check(wait_until([] { return FindWindowW(L"quiren_flows_host", nullptr) != nullptr; }, 30s),
             "host ready")) {
    return exit_code();
  }

  step("the tool's strong block decrypts in the viewer");
  check_equal(block_mode_letter(*tool_block), L"C", "the tool wrote a strong block");
  check_equal(decrypt(pid, *tool_block, password).value_or(L"(no viewer)"), *tool_text,
              "viewer text of the tool's block");

  step("a wrong password shows the text that names a wrong password or a changed block");
  check_equal(decrypt(pid, *tool_block, L"wrong").value_or(L"(no viewer)"), kNotOpened,
              "viewer text under a wrong password");

  step("a confirmation that differs encrypts nothing; typed alike, the block the tool opens afterwards");
  {
    set_clipboard_text(*tray_text);
    answer(expect_box(pid, kAskEncrypt, "encrypt question"), IDYES);
    HWND prompt = wait_for_password_prompt(kAppTitle, pid);
    if (check(prompt != nullptr, "password prompt appears")) {
      answer_password_prompt(prompt, password, password + L"!");
      answer(expect_box(pid, u"確認のために入力したパスワードが一致しません。もう一度入力して下さい。",
                        "the passwords differ"),
             IDOK);
      check(clipboard_text() == std::optional<std::wstring>(*tray_text), "nothing encrypted");
      answer_prompt(prompt, L"", false);
      check(wait_until_gone(prompt), "cancelled");
      answer(expect_box(pid, u"パスワードが入力されなかった為、処理を中止します", "no password"), IDOK);
    }
  }
  step("with no stored settings the tray writes a strong block");
  const std::wstring block = encrypt(pid, *tray_text, password);
  check(block.starts_with(kBlockHead) && block.ends_with(kBlockTail), "block framed");
  check_equal(block_mode_letter(block), L"C", "mode letter of the tray's block");
  const auto base64_or_line_break = [](wchar_t c) {
    return c == L'\r' || c == L'\n' ||
           (c < 0x80 && quiren::block::kStrongArmourAlphabet.find(static_cast<char>(c)) != std::string_view::npos);
  };
  check(block.size() > kBlockHead.size() + 1 + kBlockTail.size() &&
            std::all_of(block.begin() + static_cast<std::ptrdiff_t>(kBlockHead.size() + 1),
                        block.end() - static_cast<std::ptrdiff_t>(kBlockTail.size()), base64_or_line_break),
        "only base64 after the mode letter");
  check(!stored_setting(L"strong").has_value(), "no strong setting stored: the default is at work");
  check(write_file_bytes(g_exchange + L"\\tray-block.txt", utf8(block)), "tray-block.txt written for the tool");
  check_equal(decrypt(pid, block, password).value_or(L"(no viewer)"), *tray_text, "the tray reads its own block");

  // The block must be long enough for a whole line to go from its middle.
  const std::vector<std::wstring> lines = lines_of(block);
  check(lines.size() >= 5, "the block has at least three body lines");
  struct Change {
    const char* what;
    std::function<std::wstring()> make;
  };
  const auto flipped = [&](std::function<std::size_t(const std::vector<std::uint8_t>&)> where) {
    return [&block, where] { return envelope_changed(block, where); };
  };
  namespace b = quiren::block;
  const Change changes[] = {
      {"a byte of the encrypted text", flipped([](const auto&) { return b::kHeaderSize; })},
      {"a byte of the tag",
       flipped([](const auto& e) { return e.size() - e[b::kFillOffset] - 1; })},
      {"a byte of the salt", flipped([](const auto&) { return b::kSaltOffset + 5; })},
      {"the iteration count", flipped([](const auto&) { return b::kIterationsOffset + 3; })},
  };
  for (const Change& change : changes) {
    step(std::string("a strong block changed at ") + change.what + " shows no text");
    const std::wstring changed = change.make();
    if (!check(!changed.empty() && changed != block, "the change was made")) continue;
    check_equal(decrypt(pid, changed, password).value_or(L"(no viewer)"), kNotOpened,
                std::string("viewer text of a block changed at ") + change.what);
  }

  step("a line taken out of the middle: the length is no longer whole groups, which the message says");
  {
    std::vector<std::wstring> shorter = lines;
    if (shorter.size() >= 5) shorter.erase(shorter.begin() + 2);
    expect_damaged(pid, joined(shorter),
                   kInvalidCiphertext + L"\r\n暗号文の文字数が合いません。" + std::to_wstring(shorter.size() - 1) +
                       L" 行目（最後の行）までのどこかで文字が欠けているか、増えています。");
  }

  // The shared table's strong blocks: made elsewhere, under "pw".
  namespace vectors = quiren::testing::vectors;
  const std::string_view forms[] = {
      "strong: U+200B zero-width space every 20 characters",
      "strong: whole block in full-width",
      "strong: whole reply in full-width, quoted '> '",
      "strong: quoted '> ', LF, re-wrapped at 76",
      "strong + compatible: first quoted, second as sent",
  };
  for (std::string_view name : forms) {
    step("the table's form " + std::string(name));
    const vectors::ReceivedForm* form = nullptr;
    for (const vectors::ReceivedForm& f : vectors::kReceivedForms)
      if (f.name == name) form = &f;
    if (!check(form != nullptr, "the form is in the table")) continue;
    const std::u16string shown = quiren::testing::shown_text(*form);
    check_equal(decrypt(pid, w(form->received), L"pw").value_or(L"(no viewer)"), w(shown),
                "viewer text of " + std::string(name));
  }

  step("an emoji in a strong block's third line: the message says where");
  for (const vectors::ReceivedForm& form : vectors::kReceivedForms) {
    if (form.name != "strong: an emoji in place of a character") continue;
    expect_damaged(pid, w(form.received),
                   kInvalidCiphertext + L"\r\n3 行目の 17 文字目「😀」(U+1F600) は暗号文に使われない文字です。",
                   L"damaged-strong-block");
  }

  one_password_in_either_form(pid);
  generated_passphrase(pid, *tray_text);

  host.terminate();
  return exit_code();
}
