// The tray program as a user meets it: start-up, a refused second copy, the
// encrypt and decrypt journeys through the clipboard, every tray menu
// command, the settings dialog's checks, the strong box switching the kind
// of block at once, the watch switched off and on, the windows that hold the
// watch, the clipboard-viewer chain, and the two ways the program ends.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "tests/e2e/driver/driver.h"
#include "tray/flows/flow_texts.h"
#include "tray/shell/main_form.h"
#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/about_frame.h"
#include "tray/shell/win32/settings_layout.h"
#include "tray/shell/win32/splash_frame.h"

using namespace quiren::e2e;
namespace layout = quiren::win32::settings_layout;
using quiren::MenuCommand;

namespace {

const wchar_t kProgram[] = L"mu_quiren11e.exe";

// A screenshot once the window has painted all its controls: each control
// paints in its own turn of the program's message loop.
void picture(HWND window, const wchar_t* name) {
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 3000, nullptr);
  Sleep(600);
  screenshot(name);
}

// A clipboard viewer of the driver's own, on its own thread so that the
// program's SendMessage along the chain is always answered.
struct ChainWitness {
  std::atomic<HWND> hwnd{nullptr};
  std::atomic<int> draws{0};
  std::atomic<WPARAM> change_w{0};
  std::atomic<LPARAM> change_l{0};
  HWND next = nullptr;
  std::thread thread;

  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ChainWitness*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_DRAWCLIPBOARD) {
      ++self->draws;
      return 0;
    }
    if (self && msg == WM_CHANGECBCHAIN) {
      self->change_w = wp;
      self->change_l = lp;
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  void start() {
    thread = std::thread([this] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"tray_journeys_witness";
      RegisterClassW(&wc);
      HWND h = CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                             wc.hInstance, nullptr);
      SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      next = SetClipboardViewer(h);
      hwnd = h;
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      ChangeClipboardChain(h, next);
      DestroyWindow(h);
    });
    wait_until([this] { return hwnd.load() != nullptr; });
  }
  void stop() {
    if (hwnd) PostMessageW(hwnd, WM_QUIT, 0, 0);
    if (thread.joinable()) thread.join();
  }
};

// Starts the program and waits through the splash to the tray.
bool start_to_tray(Process& program, bool look_at_splash, std::wstring_view cwd = {}) {
  program = Process(cwd.empty() ? std::wstring(kProgram) : driver_directory() + L"\\" + kProgram, {}, cwd);
  if (!check(program.started(), "program started")) return false;
  const auto begun = std::chrono::steady_clock::now();
  HWND splash = wait_for_window(quiren::win32::kSplashClass, L"む～くいれん Ver 1.0", program.pid());
  if (!check(splash != nullptr, "splash shown")) return false;
  if (look_at_splash) {
    check_equal(control_text(splash, quiren::win32::kSplashVersionId), L"む～くいれん Ver1.1",
                "splash version label");
    check((GetWindowLongW(splash, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "splash is topmost");
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    check(GetWindowRgn(splash, region) == COMPLEXREGION || GetWindowRgn(splash, region) == SIMPLEREGION,
          "splash has its elliptic region");
    DeleteObject(region);
    check((GetWindowLongW(splash, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0,
          "splash has no minimise or maximise box");
    picture(splash, L"splash");
  }
  if (!check(wait_until_gone(splash, 10s), "splash closes by itself")) return false;
  const auto shown = std::chrono::steady_clock::now() - begun;
  if (look_at_splash) check(shown >= 2500ms, "splash stays about three seconds");
  HWND main = nullptr;
  check(wait_until([&] { return (main = main_window()) != nullptr; }), "main window made");
  check(main && !IsWindowVisible(main), "main window hidden after start");
  return main != nullptr;
}

// Copies `plain`, answers the question and types the password: the block on
// the clipboard afterwards.
std::wstring encrypt_copy(DWORD pid, std::wstring_view plain, std::wstring_view password) {
  set_clipboard_text(plain);
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "encrypt question"), IDYES);
  HWND prompt = wait_for_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "password prompt")) return {};
  answer_prompt(prompt, password);
  HWND box = wait_for_message_box(kAppTitle, pid, 20s);
  const std::wstring said = box ? message_box_text(box) : L"(no box)";
  answer(box, IDOK);
  std::wstring block = clipboard_text().value_or(L"");
  check(block.find(L"(quiren_start)") != std::wstring::npos, "block on the clipboard");
  // The closing message names the format written.
  namespace text = quiren::flows::texts;
  const std::u16string written = text::encrypted_message(block_mode_letter(block) == L"C");
  check_equal(said, wide(written), "the closing message");
  check(no_box_for_a_while(pid), "writing the block starts no new flow");
  return block;
}

// Copies `block`, answers the question and types the password: the viewer's
// text, with the viewer closed again (empty when no viewer came).
std::wstring decrypt_copy(DWORD pid, std::wstring_view block, std::wstring_view password) {
  set_clipboard_text(L"");
  set_clipboard_text(block);
  answer(expect_box(pid, u"クリップボードの内容を復号しますか？", "decrypt question"), IDYES);
  HWND prompt = wait_for_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "decrypt password prompt")) return {};
  answer_prompt(prompt, password);
  HWND viewer = wait_for_window(kViewerClass, L"", pid);
  if (!check(viewer != nullptr, "viewer shown")) return {};
  // The flow fills the viewer once it is shown.
  std::wstring shown;
  wait_until([&] { return !(shown = control_text(viewer, kViewerTextId)).empty(); });
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  wait_until_gone(viewer);
  return shown;
}

bool is_compatible_block(std::wstring_view block) {
  const std::wstring mode = block_mode_letter(block);
  return mode == L"A" || mode == L"B";
}

void encrypt_and_decrypt(DWORD pid) {
  step("copy text, answer the question, type a password: the compatible block is on the clipboard");
  const std::wstring plain = L"会議は明日の10時です。";
  const std::wstring block = encrypt_copy(pid, plain, L"himitsu");
  check(is_compatible_block(block), "a compatible block (mode letter A or B) while strong is stored False");

  step("copy the block: the viewer shows the text");
  check(decrypt_copy(pid, block, L"himitsu").find(plain) != std::wstring::npos, "viewer holds the text");
}

void tray_menu(HWND main, DWORD pid) {
  step("a right-button press on the icon opens the menu; a click elsewhere closes it");
  PostMessageW(main, quiren::kTrayCallbackMessage, quiren::kTrayIconId, quiren::kMouseMove);
  PostMessageW(main, quiren::kTrayCallbackMessage, quiren::kTrayIconId, quiren::kLeftButtonDown);
  check(!wait_until([&] { return find_window(L"#32768", L"", 0) != nullptr; }, 800ms),
        "no menu on a move or a left click");
  PostMessageW(main, quiren::kTrayCallbackMessage, quiren::kTrayIconId, quiren::kRightButtonDown);
  HWND popup = wait_for_window(L"#32768", L"");
  if (check(popup != nullptr, "menu shown")) {
    picture(popup, L"menu");
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    check(wait_until_gone(popup), "menu closed without a choice");
  }
  check(no_box_for_a_while(pid), "closing the menu runs nothing");

  step("menu: encrypt the clipboard (always asks)");
  set_clipboard_text(L"menu text");
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "question on copy"), IDNO);
  menu(main, MenuCommand::encrypt);
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "menu encrypt question"), IDNO);

  step("menu: decrypt the clipboard");
  menu(main, MenuCommand::decrypt);
  // No block on the clipboard: the decrypt flow ends without a word.
  check(no_box_for_a_while(pid), "decrypting a text without a block says nothing");
  check(find_window(kViewerClass, L"", pid) == nullptr, "and opens no viewer");
  check(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, nullptr) != 0, "program responsive");
}

HWND open_settings(HWND main) {
  menu(main, MenuCommand::settings);
  HWND dialog = nullptr;
  wait_until([&] { return IsWindowVisible(main) && (dialog = main) != nullptr; });
  return dialog;
}

void set_check(HWND dialog, int id, bool on) {
  SendMessageW(GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void settings_dialog(HWND main, DWORD pid) {
  step("settings: opens with the stored values (defaults)");
  HWND dialog = open_settings(main);
  if (!check(dialog != nullptr, "settings dialog visible")) return;
  check_equal(window_text(dialog), L"設定", "settings title");
  check_equal(control_text(dialog, layout::wrap_width_box), L"60", "default width");
  check(SendDlgItemMessageW(dialog, layout::encrypt_ask, BM_GETCHECK, 0, 0) == BST_CHECKED, "ask each time (enc)");
  check(SendDlgItemMessageW(dialog, layout::decrypt_ask, BM_GETCHECK, 0, 0) == BST_CHECKED, "ask each time (dec)");
  check(SendDlgItemMessageW(dialog, layout::watch_check, BM_GETCHECK, 0, 0) == BST_CHECKED, "watch ticked");
  check(SendDlgItemMessageW(dialog, layout::strong_check, BM_GETCHECK, 0, 0) == BST_UNCHECKED,
        "strong box shows the stored False");
  picture(dialog, L"settings");

  struct Failing {
    const char* what;
    int encrypt_source, decrypt_source;
    const wchar_t* encrypt_password;
    const wchar_t* width;
    std::u16string_view message;
  };
  const std::wstring p31(31, L'a');
  const Failing failing[] = {
      {"31-character fixed password", layout::encrypt_fixed, layout::decrypt_ask, p31.c_str(), L"60",
       quiren::shell::texts::kPasswordTooLong},
      {"width 9", layout::encrypt_ask, layout::decrypt_ask, L"", L"9", quiren::shell::texts::kBadWrapWidth},
      {"width not a number", layout::encrypt_ask, layout::decrypt_ask, L"", L"abc", quiren::shell::texts::kBadWrapWidth},
      {"fixed password empty", layout::encrypt_fixed, layout::decrypt_ask, L"", L"60",
       quiren::shell::texts::kFixedPasswordMissing},
      {"same as encryption without a fixed encryption password", layout::encrypt_ask, layout::decrypt_same, L"", L"60",
       quiren::shell::texts::kSameAsEncryptNeedsFixed},
  };
  for (const Failing& f : failing) {
    step(std::string("settings OK refused: ") + f.what);
    press_button(dialog, f.encrypt_source);
    press_button(dialog, f.decrypt_source);
    set_control_text(dialog, layout::encrypt_password_box, f.encrypt_password);
    set_control_text(dialog, layout::wrap_width_box, f.width);
    press_button(dialog, layout::ok_button);
    answer(expect_box(pid, f.message, f.what), IDOK);
    check(IsWindowVisible(dialog) != 0, "dialog stays open");
  }

  step("settings OK accepted: stored, dialog hidden");
  press_button(dialog, layout::encrypt_fixed);
  press_button(dialog, layout::decrypt_same);
  set_control_text(dialog, layout::encrypt_password_box, L"kotei");
  set_control_text(dialog, layout::wrap_width_box, L"10.5");
  press_button(dialog, layout::ok_button);
  check(wait_until([&] { return !IsWindowVisible(dialog); }), "dialog hidden after OK");
  check_equal(stored_setting(L"orikaesi").value_or(L"?"), L"10.5", "width stored as typed");
  check_equal(stored_setting(L"ango").value_or(L"?"), L"True", "ango stored");
  check_equal(stored_setting(L"equalpass").value_or(L"?"), L"True", "equalpass stored");
  check_equal(stored_setting(L"angopass").value_or(L"?"), L"kotei", "password stored");
  check_equal(stored_setting(L"hock").value_or(L"?"), L"1", "hock stored");

  step("settings back to asking each time; Cancel saves nothing");
  dialog = open_settings(main);
  press_button(dialog, layout::encrypt_ask);
  press_button(dialog, layout::decrypt_ask);
  press_button(dialog, layout::ok_button);
  check(wait_until([&] { return !IsWindowVisible(dialog); }), "hidden");
  dialog = open_settings(main);
  set_control_text(dialog, layout::wrap_width_box, L"77");
  press_button(dialog, layout::cancel_button);
  check(wait_until([&] { return !IsWindowVisible(dialog); }), "hidden after Cancel");
  check_equal(stored_setting(L"orikaesi").value_or(L"?"), L"10.5", "Cancel stored nothing");

  step("the watch off: a copy does nothing; on again: a copy asks");
  dialog = open_settings(main);
  set_check(dialog, layout::watch_check, false);
  press_button(dialog, layout::ok_button);
  wait_until([&] { return !IsWindowVisible(dialog); });
  set_clipboard_text(L"unwatched");
  check(no_box_for_a_while(pid), "no question with the watch off");
  dialog = open_settings(main);
  check(SendDlgItemMessageW(dialog, layout::watch_check, BM_GETCHECK, 0, 0) == BST_UNCHECKED, "watch box shows off");
  set_check(dialog, layout::watch_check, true);
  press_button(dialog, layout::ok_button);
  wait_until([&] { return !IsWindowVisible(dialog); });
  check(no_box_for_a_while(pid), "turning the watch on examines nothing");
  set_clipboard_text(L"watched again");
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "question with the watch on"), IDNO);
}

bool strong_box_ticked(HWND dialog) {
  return SendDlgItemMessageW(dialog, layout::strong_check, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void strong_setting(HWND main, DWORD pid) {
  step("strong box ticked, then Cancel: nothing stored");
  HWND dialog = open_settings(main);
  if (!check(dialog != nullptr, "settings dialog visible")) return;
  check(!strong_box_ticked(dialog), "strong box unticked (stored False)");
  set_check(dialog, layout::strong_check, true);
  press_button(dialog, layout::cancel_button);
  check(wait_until([&] { return !IsWindowVisible(dialog); }), "hidden after Cancel");
  check_equal(stored_setting(L"strong").value_or(L"?"), L"False", "Cancel left strong stored False");

  step("strong box ticked, OK: stored True, and the next copy becomes a strong block");
  dialog = open_settings(main);
  check(!strong_box_ticked(dialog), "strong box unticked again after Cancel");
  set_check(dialog, layout::strong_check, true);
  press_button(dialog, layout::ok_button);
  check(wait_until([&] { return !IsWindowVisible(dialog); }), "hidden after OK");
  check_equal(stored_setting(L"strong").value_or(L"?"), L"True", "strong stored True");
  const std::wstring plain = L"強力な暗号化の確認です。🔒";
  std::wstring block = encrypt_copy(pid, plain, L"kyouryoku");
  check_equal(block_mode_letter(block), L"C", "mode letter of the block after OK");
  check_equal(decrypt_copy(pid, block, L"kyouryoku"), plain, "the strong block decrypts in the viewer");

  step("strong box unticked, OK: stored False, and the next copy becomes a compatible block");
  dialog = open_settings(main);
  check(strong_box_ticked(dialog), "strong box ticked (stored True)");
  set_check(dialog, layout::strong_check, false);
  press_button(dialog, layout::ok_button);
  check(wait_until([&] { return !IsWindowVisible(dialog); }), "hidden after OK");
  check_equal(stored_setting(L"strong").value_or(L"?"), L"False", "strong stored False");
  block = encrypt_copy(pid, L"互換形式に戻しました。", L"kyouryoku");
  check(is_compatible_block(block), "a compatible block (mode letter A or B) after OK");
}

void windows_holding_the_watch(HWND main, DWORD pid) {
  step("about window: shows the running version; holds the watch while open");
  menu(main, MenuCommand::about);
  HWND about = wait_for_window(quiren::win32::kAboutClass, L"ﾊﾞｰｼﾞｮﾝ情報", pid);
  if (check(about != nullptr, "about shown")) {
    check_equal(control_text(about, quiren::win32::kAboutTitleId), L"む～くいれん Ver1.1", "about title line");
    picture(about, L"about");
    set_clipboard_text(L"while about is open");
    check(no_box_for_a_while(pid), "no flow while about is open");
    press_button(about, IDOK);
    check(wait_until_gone(about), "about closed by OK");
  }
  set_clipboard_text(L"after about");
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "flow after about closed"), IDNO);

  step("about closed with its close box clears the flag too");
  menu(main, MenuCommand::about);
  about = wait_for_window(quiren::win32::kAboutClass, L"ﾊﾞｰｼﾞｮﾝ情報", pid);
  if (about) {
    PostMessageW(about, WM_CLOSE, 0, 0);
    wait_until_gone(about);
  }
  set_clipboard_text(L"after about close box");
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "flow after close box"), IDNO);

  step("password list editor holds the watch while open");
  menu(main, MenuCommand::password_list);
  HWND editor = wait_for_window(L"", L"パスワードリストの編集", pid);
  if (check(editor != nullptr, "password list editor shown")) {
    picture(editor, L"password-editor");
    set_clipboard_text(L"while editor is open");
    check(no_box_for_a_while(pid), "no flow while the editor is open");
    PostMessageW(editor, WM_CLOSE, 0, 0);
    check(wait_until_gone(editor), "editor closed");
  }
  set_clipboard_text(L"after editor");
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "flow after editor closed"), IDNO);
}

void chain_notices(HWND main, DWORD pid, ChainWitness& witness) {
  step("clipboard notices reach the next viewer; a chain notice is passed on as it came");
  const int before = witness.draws;
  // The watch is on and the witness joined before the program: it is next.
  PostMessageW(main, WM_DRAWCLIPBOARD, 0, 0);
  check(wait_until([&] { return witness.draws > before; }, 3s), "clipboard notice forwarded");
  // The contents are the ones the watch already examined: a notice that
  // comes again for them starts nothing.
  check(no_box_for_a_while(pid), "a repeated notice for unchanged contents asks nothing");
  set_clipboard_text(L"after the repeated notice");
  answer(expect_box(pid, u"クリップボードの内容を暗号化しますか？", "question on a new copy"), IDNO);
  const WPARAM leaving = 0x1234;
  const LPARAM following = 0x5678;
  SendMessageTimeoutW(main, WM_CHANGECBCHAIN, leaving, following, SMTO_NORMAL, 3000, nullptr);
  check(wait_until([&] { return witness.change_w == leaving && witness.change_l == following; }, 3s),
        "chain notice passed on with its wParam and lParam");
}

}  // namespace

// The text field of a compatible block: after ">" and the text mode letter.
std::wstring text_field_of(std::wstring_view block) {
  std::wstring payload;
  std::size_t pos = block.find(L"\r\n");
  while (pos != std::wstring_view::npos) {
    const std::size_t next = block.find(L"\r\n", pos + 2);
    if (next == std::wstring_view::npos) break;
    payload.append(block.substr(pos + 2, next - pos - 2));
    pos = next;
  }
  const std::size_t separator = payload.find(L'>');
  return separator == std::wstring::npos ? std::wstring() : payload.substr(separator + 2);
}

// A shared code table of one record: every "a" is written as one bit.
const std::string kOneBitPerA{"\x12\0\0\0" "\x01\0\0\0" "\x08\0\0\0" "a" "\x01\0\0\0" "\x01", 18};

// The cipher library reads a shared code table from the current folder; the
// program makes its own folder the current one, however it is started.
void shared_table_beside_the_program(DWORD pid) {
  step("started from another folder, the program uses the shared code table beside it");
  const std::wstring table = driver_directory() + L"\\DfFugoList.lst";
  check(write_file_bytes(table, kOneBitPerA), "a shared code table beside the program");
  const std::wstring block = encrypt_copy(pid, std::wstring(200, L'a'), L"pw");
  // 200 bits under the table: 4 + 25 bytes, filled to 32, armoured in 40
  // characters; the self-contained block would take 70.
  check_equal(static_cast<long long>(text_field_of(block).size()), 40, "the text was compressed with the table");

  step("without the table, that block says it needs the writer's table");
  delete_file(table);
  set_clipboard_text(L"");
  set_clipboard_text(block);
  answer(expect_box(pid, u"クリップボードの内容を復号しますか？", "decrypt question"), IDYES);
  HWND prompt = wait_for_prompt(kAppTitle, pid);
  if (!check(prompt != nullptr, "decrypt password prompt")) return;
  answer_prompt(prompt, L"pw");
  answer(expect_box(pid, quiren::flows::texts::kNeedsSharedTable, "the table is needed"), IDOK);
  check(find_window(kViewerClass, L"", pid) == nullptr, "no viewer for a text that did not come back");
}

int wmain() {
  clear_stored_settings();

  step("a stored setting that does not convert stops start-up");
  store_setting(L"quest1", L"300");
  {
    Process bad(kProgram, {});
    HWND box = expect_box(bad.pid(), u"起動時にエラーが発生しました。起動を中止します。", "start-up error");
    answer(box, IDOK);
    check(bad.wait(10s).has_value(), "the program ended");
    check(main_window() == nullptr, "no main window made");
  }
  clear_stored_settings();

  step("closing the splash early ends the program");
  {
    Process early(kProgram, {});
    HWND splash = wait_for_window(quiren::win32::kSplashClass, L"", early.pid());
    if (check(splash != nullptr, "splash shown")) PostMessageW(splash, WM_CLOSE, 0, 0);
    check(early.wait(10s).has_value(), "the program ended with its splash");
    check(main_window() == nullptr, "no main window made");
  }

  // The compatible block, which this journey has always made; the strong
  // box is worked later.
  store_setting(L"strong", L"False");

  ChainWitness witness;
  witness.start();

  step("start: the splash, then only the tray");
  Process program;
  if (!start_to_tray(program, true)) {
    witness.stop();
    return exit_code();
  }
  HWND main = main_window();
  const DWORD pid = program.pid();
  check(no_box_for_a_while(pid), "start-up asks nothing");

  step("a second copy is refused; the first keeps working");
  {
    Process second(kProgram, {});
    answer(expect_box(second.pid(), u"2重起動は禁止されています", "second copy refused"), IDOK);
    check(second.wait(10s).has_value(), "the second copy ended");
    check(IsWindow(main) != 0, "the first copy still runs");
  }

  encrypt_and_decrypt(pid);
  tray_menu(main, pid);
  settings_dialog(main, pid);
  strong_setting(main, pid);
  windows_holding_the_watch(main, pid);
  chain_notices(main, pid, witness);

  step("the settings dialog's close box ends the program");
  HWND dialog = open_settings(main);
  if (dialog) PostMessageW(dialog, WM_CLOSE, 0, 0);
  check(program.wait(10s).has_value(), "the program ended by the close box");

  const std::wstring elsewhere = driver_directory() + L"\\elsewhere";
  make_directory(elsewhere);
  clear_stored_settings();
  store_setting(L"strong", L"False");  // the table compresses compatible blocks only
  Process again;
  if (start_to_tray(again, false, elsewhere)) {
    shared_table_beside_the_program(again.pid());
    step("the exit command ends the program");
    menu(main_window(), MenuCommand::exit);
    check(again.wait(10s).has_value(), "the program ended by the exit command");
  }
  witness.stop();
  return exit_code();
}
