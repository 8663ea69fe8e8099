// Drives passlist_host through the password list window's controls and
// checks the bytes of quiren.pas.
//   passlist_driver HOST_EXE WORK_DIR            the journeys (code page 932)
//   passlist_driver HOST_EXE WORK_DIR masking    the masked lines and the
//                                                windows' geometry, in the
//                                                locale's code page
// Copies the host into WORK_DIR (its program directory) and runs the
// journeys there, with screenshots of the editor and the chooser (and, for
// the masking, the pictures the guides show).
//
// Every step waits for the state it needs (the window enabled again after a
// modal step, the list showing what the logic holds, the previous prompt
// gone) instead of sleeping: other Wine tests may share the CPU.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver/driver.h"
#include "tray/passlist/masked_password.h"
#include "tray/passlist/password_list_layout.h"

namespace {

using namespace quiren::e2e;
namespace layout = quiren::passlist::layout;

constexpr Millis kWait = 60s;
constexpr wchar_t kWindowClass[] = L"quiren_frmeditpass";
constexpr wchar_t kEditorCaption[] = L"パスワードリストの編集";
constexpr wchar_t kChooserCaption[] = L"パスワードを選択して下さい。";
constexpr wchar_t kPasswordPrompt[] = L"パスワードを入力して下さい。";
constexpr wchar_t kDescriptionPrompt[] = L"パスワードの説明を入力して下さい";
constexpr wchar_t kSaveQuestion[] = L"変更を保存しますか？";
constexpr wchar_t kSaveFailed[] = L"パスワードリストを保存できませんでした。";

std::wstring g_dir;

std::wstring pas_path() { return g_dir + L"\\quiren.pas"; }
std::wstring bak_path() { return g_dir + L"\\quiren.pas.bak"; }
std::string file_bytes() { return read_file_bytes(pas_path()).value_or("<missing>"); }

std::string printable(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out.append(hex);
    }
  }
  return out;
}

bool check_bytes(const std::string& actual, const std::string& expected, const std::string& what) {
  if (actual == expected) return true;
  std::string detail = what;
  detail.append("\n      expected ").append(printable(expected));
  detail.append("\n      actual   ").append(printable(actual));
  return check(false, detail);
}

// A quiren.pas image: the count line, then each field quoted on its own line.
std::string pas_file(std::initializer_list<std::pair<std::string_view, std::string_view>> entries) {
  std::string bytes = std::to_string(entries.size());
  bytes.append("\r\n");
  for (const auto& [password, info] : entries) {
    bytes.append("\"").append(password).append("\"\r\n\"").append(info).append("\"\r\n");
  }
  return bytes;
}

void write_pas(const std::string& bytes) {
  SetFileAttributesW(pas_path().c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileW(pas_path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  check(file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                  nullptr) && written == bytes.size(),
        "write quiren.pas");
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// A message sent with a timeout, so a stuck host cannot stop the driver.
LRESULT send(HWND window, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG, 30000, &result);
  return static_cast<LRESULT>(result);
}

std::vector<std::wstring> list_lines(HWND window) { return list_box_lines(window, layout::kListId); }

std::wstring joined(const std::vector<std::wstring>& lines) {
  std::wstring out;
  for (const auto& line : lines) out.append(L"[").append(line).append(L"]");
  return out;
}

bool lines_become(HWND window, const std::vector<std::wstring>& expected, std::string_view what) {
  wait_until([&] { return list_lines(window) == expected; }, kWait);
  return check_equal(joined(list_lines(window)), joined(expected), what);
}

// The lines that list these passwords while the show box is not ticked.
std::vector<std::wstring> masked(std::initializer_list<std::wstring_view> passwords) {
  std::vector<std::wstring> lines;
  for (std::wstring_view password : passwords) {
    const std::u16string_view text(reinterpret_cast<const char16_t*>(password.data()), password.size());
    lines.push_back(wide(quiren::passlist::masked_password(text).view()));
  }
  return lines;
}

// The tab order of the editor, and of the chooser, whose buttons are not
// shown.
constexpr int kEditorTabs[] = {layout::kListId, layout::kShowPasswordsId, layout::kAddId, layout::kDeleteId,
                               layout::kSaveId};
constexpr int kChooserTabs[] = {layout::kListId, layout::kShowPasswordsId};

bool info_becomes(HWND window, std::wstring_view expected, std::string_view what) {
  wait_until([&] { return control_text(window, layout::kDescriptionId) == expected; }, kWait);
  return check_equal(control_text(window, layout::kDescriptionId), expected, what);
}

// Selects a line as a click does: the list changes its selection, then
// tells its parent; a double click follows with LBN_DBLCLK.
void click_line(HWND window, int index, bool twice = false) {
  HWND list = GetDlgItem(window, layout::kListId);
  send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
  send(window, WM_COMMAND, MAKEWPARAM(layout::kListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  // Sent rather than posted: the pick then closes the window inside a sent
  // message, which the chooser's loop must notice as well.
  if (twice) send(window, WM_COMMAND, MAKEWPARAM(layout::kListId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

class Host {
 public:
  explicit Host(std::vector<std::wstring> args) : process_(g_dir + L"\\passlist_host.exe", args, g_dir) {}

  HWND window(std::wstring_view caption) {
    if (!process_.started()) return nullptr;
    HWND found = wait_for_window(kWindowClass, caption, process_.pid(), kWait);
    check(found != nullptr, "the password list window opens: " + utf8(caption));
    return found;
  }

  // Presses a button once the window takes input again (no modal step of
  // the logic still running), so a press never lands in a nested loop.
  bool press(HWND window, int id) {
    const bool ready = wait_until(
        [&] { return IsWindowEnabled(window) && IsWindowEnabled(GetDlgItem(window, id)); }, kWait);
    return check(ready && press_button(window, id), "press button " + std::to_string(id));
  }

  // Waits for this host's message box, checks its text, answers it.
  bool answer_box(std::wstring_view text, int button, std::string_view what) {
    const std::u16string text16(text.begin(), text.end());
    HWND box = expect_box(process_.pid(), text16, what, kWait);
    if (!box) return false;
    const bool ok = message_box_text(box) == text;
    check(quiren::e2e::answer(box, button, kWait), std::string(what) + ": the box closes");
    return ok;
  }

  // Waits for the prompt asking `label`, types `answer` (Cancel when null).
  bool answer(std::wstring_view label, const wchar_t* answer) {
    HWND prompt = nullptr;
    wait_until(
        [&] {
          prompt = find_prompt(kEditorCaption, process_.pid());
          return prompt && prompt_label(prompt) == label;
        },
        kWait);
    if (!check(prompt != nullptr && prompt_label(prompt) == label, "the prompt asks: " + utf8(label))) return false;
    answer_prompt(prompt, answer ? answer : L"", answer != nullptr);
    return check(wait_until_gone(prompt, kWait), "the prompt closes");
  }

  bool add(HWND window, const wchar_t* password, const wchar_t* description) {
    return press(window, layout::kAddId) && answer(kPasswordPrompt, password) &&
           answer(kDescriptionPrompt, description);
  }

  // The close box: WM_SYSCOMMAND as the caption button sends it.
  void close(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

  bool exits_cleanly(std::string_view what) {
    const auto code = process_.wait(kWait);
    if (!check(code.has_value(), std::string(what) + ": the host exits")) return false;
    return check_equal(static_cast<long long>(*code), 0, std::string(what) + ": the window held nothing busy after it closed");
  }

 private:
  Process process_;
};

// 日本語パスワード, 説明です, 三番目 and 三 in code page 932.
constexpr std::string_view kJapanese = "\x93\xfa\x96\x7b\x8c\xea\x83\x70\x83\x58\x83\x8f\x81\x5b\x83\x68";
constexpr std::string_view kJapaneseInfo = "\x90\xe0\x96\xbe\x82\xc5\x82\xb7";
const std::string kTwoEntries =
    "2\r\n"
    "\"\x93\xfa\x96\x7b\x8c\xea\x83\x70\x83\x58\x83\x8f\x81\x5b\x83\x68\"\r\n"
    "\"\x90\xe0\x96\xbe\x82\xc5\x82\xb7\"\r\n"
    "\" p@ss, word \"\r\n"
    "\"\"\r\n";

void editor_journey() {
  step("editor: add, delete, save with Yes, close with No");
  Host host({L"editor"});
  HWND window = host.window(kEditorCaption);
  if (!window) return;
  check_geometry(window, "the editor", kEditorTabs);
  host.add(window, L"日本語パスワード", L"説明です");
  host.add(window, L"三番目", L"三");
  host.add(window, L" p@ss, word ", nullptr);  // Cancel: an empty description
  lines_become(window, masked({L"日本語パスワード", L"三番目", L" p@ss, word "}), "three lines listed");

  click_line(window, 1);
  info_becomes(window, L"三", "the description follows the selection");
  host.press(window, layout::kDeleteId);
  lines_become(window, masked({L"日本語パスワード", L" p@ss, word "}), "delete in the middle");
  info_becomes(window, L"", "the next line's (empty) description after the delete");
  click_line(window, 0);
  info_becomes(window, L"説明です", "the Japanese description");
  screenshot(L"editor", window);

  host.press(window, layout::kSaveId);
  host.answer_box(kSaveQuestion, IDYES, "save asks");
  wait_until([] { return file_bytes() == kTwoEntries; }, kWait);
  check_bytes(file_bytes(), kTwoEntries, "save writes the exact bytes (code page 932)");

  host.add(window, L"four", L"d");
  lines_become(window, masked({L"日本語パスワード", L" p@ss, word ", L"four"}), "add after saving");
  host.close(window);
  host.answer_box(kSaveQuestion, IDNO, "closing after a change asks");
  host.exits_cleanly("editor after No");
  check_bytes(file_bytes(), kTwoEntries, "No leaves the file as it was");
}

void close_with_yes_journey() {
  step("editor: close with Yes saves");
  Host host({L"editor"});
  HWND window = host.window(kEditorCaption);
  if (!window) return;
  lines_become(window, masked({L"日本語パスワード", L" p@ss, word "}), "the editor reads the saved list");
  host.add(window, L"four", L"d");
  lines_become(window, masked({L"日本語パスワード", L" p@ss, word ", L"four"}), "a fourth entry");
  host.close(window);
  host.answer_box(kSaveQuestion, IDYES, "closing asks");
  host.exits_cleanly("editor after Yes");
  check_bytes(file_bytes(), pas_file({{kJapanese, kJapaneseInfo}, {" p@ss, word ", ""}, {"four", "d"}}),
              "Yes on closing rewrites the file");
}

void failed_save_journey() {
  step("editor: a save over a read-only quiren.pas");
  const std::string before = file_bytes();
  SetFileAttributesW(pas_path().c_str(), FILE_ATTRIBUTE_READONLY);
  Host host({L"editor"});
  HWND window = host.window(kEditorCaption);
  if (!window) return;
  lines_become(window, masked({L"日本語パスワード", L" p@ss, word ", L"four"}), "the editor reads the list");
  click_line(window, 0);
  info_becomes(window, L"説明です", "the first line is selected");
  host.press(window, layout::kDeleteId);
  lines_become(window, masked({L" p@ss, word ", L"four"}), "delete the first line");
  host.press(window, layout::kSaveId);
  host.answer_box(kSaveQuestion, IDYES, "save asks");
  host.answer_box(kSaveFailed, IDOK, "a failed save says so");
  check_bytes(file_bytes(), before, "a failed save keeps the old file");

  // The change is still pending: once the file is writable, closing saves it.
  SetFileAttributesW(pas_path().c_str(), FILE_ATTRIBUTE_NORMAL);
  host.close(window);
  host.answer_box(kSaveQuestion, IDYES, "the change stays pending after a failed save");
  host.exits_cleanly("editor after the retry");
  check_bytes(file_bytes(), pas_file({{" p@ss, word ", ""}, {"four", "d"}}), "the retry writes the list");
}

// Runs the chooser, lets `act` work its window, and returns what it picked.
template <typename Act>
std::wstring chooser_pick(std::string_view what, Act act) {
  step(what);
  const std::wstring out = g_dir + L"\\pick.txt";
  delete_file(out);
  Host host({L"chooser", out});
  HWND window = host.window(kChooserCaption);
  if (!window) return L"<no window>";
  check(!IsWindowEnabled(GetDlgItem(window, layout::kAddId)), "the chooser's buttons are disabled");
  act(host, window);
  host.exits_cleanly(what);
  return read_utf8_file(out).value_or(L"<no result>");
}

void chooser_journeys() {
  const std::string before = file_bytes();
  std::wstring pick = chooser_pick("chooser: Enter", [](Host&, HWND window) {
    lines_become(window, masked({L" p@ss, word ", L"four"}), "the chooser lists the file");
    screenshot(L"chooser", window);
    check(!IsWindowVisible(GetDlgItem(window, layout::kAddId)), "the chooser shows no buttons");
    check_geometry(window, "the chooser", kChooserTabs);
    HWND list = GetDlgItem(window, layout::kListId);
    // Sent, so the window has handled it when the call returns.
    send(list, WM_KEYUP, VK_RETURN, 0xC0000001);
    check(IsWindowVisible(window) != FALSE, "Enter without a selection picks nothing");
    click_line(window, 1);
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0x00000001);
    PostMessageW(list, WM_KEYUP, VK_RETURN, 0xC0000001);
  });
  check_equal(pick, L"four", "Enter picks the selected line");

  pick = chooser_pick("chooser: double click", [](Host&, HWND window) { click_line(window, 0, true); });
  check_equal(pick, L" p@ss, word ", "a double click picks the line");

  pick = chooser_pick("chooser: close box", [](Host& host, HWND window) {
    click_line(window, 0);
    host.close(window);
  });
  check_equal(pick, L"", "the close box picks nothing");
  check_bytes(file_bytes(), before, "the chooser never writes the file");

  step("chooser: an empty list");
  write_pas("0\r\n");
  const std::wstring out = g_dir + L"\\pick.txt";
  Host host({L"chooser", out});
  host.answer_box(L"パスワードリストにパスワードがひとつも登録されていません。", IDOK,
                  "the chooser over an empty list says so");
  host.exits_cleanly("the empty chooser");
  check_equal(read_utf8_file(out).value_or(L"<no result>"), L"", "and picks nothing");
}

void damaged_file_journey() {
  step("editor: a damaged quiren.pas");
  const std::string damaged = "9\r\n\"good\"\r\n\"pair\"\r\nbad\r\n\"x\"y\r\n\"last\"\r\n";
  write_pas(damaged);
  {
    Host host({L"editor"});
    host.answer_box(wide(quiren::passlist::texts::damaged_list(1, true)), IDOK,
                    "a damaged file is reported once, with the number of entries read");
    HWND window = host.window(kEditorCaption);
    if (!window) return;
    lines_become(window, masked({L"good"}), "a damaged file opens with its well-formed pair");
    click_line(window, 0);
    info_becomes(window, L"pair", "with its description");
    host.add(window, L"new", L"d");
    lines_become(window, masked({L"good", L"new"}), "an entry added to the damaged list");
    host.press(window, layout::kSaveId);
    host.answer_box(kSaveQuestion, IDYES, "save asks");
    const std::string saved = pas_file({{"good", "pair"}, {"new", "d"}});
    wait_until([&] { return file_bytes() == saved; }, kWait);
    check_bytes(file_bytes(), saved, "the save writes exactly the entries shown");
    check_bytes(read_file_bytes(bak_path()).value_or("<missing>"), damaged,
                "quiren.pas.bak holds the damaged file's original bytes");
    host.close(window);
    host.exits_cleanly("closing after the save asks nothing");
  }

  step("editor: the saved list opens without a notice");
  Host host({L"editor"});
  // The notice would come before the window shows.
  HWND window = host.window(kEditorCaption);
  if (!window) return;
  lines_become(window, masked({L"good", L"new"}), "the saved list reads whole");
  host.close(window);
  host.exits_cleanly("closing without a change");
  check_bytes(read_file_bytes(bak_path()).value_or("<missing>"), damaged, "quiren.pas.bak is left as it was");
}

// Another program holds quiren.pas open without sharing while the window
// opens: it says so and closes, in both modes, and the file stays as it was.
void held_file_journey() {
  const std::string before = pas_file({{"kept", "safe"}});
  write_pas(before);
  const std::wstring read_failed = wide(quiren::passlist::texts::kReadFailed);
  {
    HANDLE held = CreateFileW(pas_path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    check(held != INVALID_HANDLE_VALUE, "hold quiren.pas open without sharing");

    step("editor: quiren.pas held open by another program");
    {
      Host host({L"editor"});
      host.answer_box(read_failed, IDOK, "the editor cannot read the held file");
      host.exits_cleanly("the editor closes after the message");
    }

    step("chooser: quiren.pas held open by another program");
    const std::wstring out = g_dir + L"\\pick.txt";
    delete_file(out);
    {
      Host host({L"chooser", out});
      host.answer_box(read_failed, IDOK, "the chooser cannot read the held file");
      host.exits_cleanly("the chooser closes after the message");
    }
    check_equal(read_utf8_file(out).value_or(L"<no result>"), L"", "and picks nothing");
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  }
  check_bytes(file_bytes(), before, "the held file is intact");

  step("editor: the same file once it is let go");
  Host host({L"editor"});
  HWND window = host.window(kEditorCaption);
  if (!window) return;
  lines_become(window, masked({L"kept"}), "the list reads once the file is free");
  host.close(window);
  host.exits_cleanly("closing without a change");
}

// No line of the list holds any of the passwords whole.
void check_none_in_full(HWND window, const std::vector<std::wstring>& passwords, const std::string& what) {
  for (const std::wstring& line : list_lines(window)) {
    for (const std::wstring& password : passwords) {
      check(line.find(password) == std::wstring::npos, what + ": no line holds a password in full");
    }
  }
}

// In the locale's code page: the lines masked until the show box is
// ticked, in the editor and in the chooser, each opening unticked; a
// masked line picks its whole password; the windows' geometry.
void masking_journey() {
  const bool japanese = GetACP() == 932;
  const std::wstring second = japanese ? L"二番目の合言葉" : L"café-crème";
  const std::vector<std::wstring> passwords = {L"first-pass", second, L"zz"};
  const std::vector<std::wstring> hidden = {L"fi●●●●●●●●", japanese ? L"二番●●●●●" : L"ca●●●●●●●●", L"●●"};
  const std::wstring description = japanese ? L"取引先との連絡用" : L"for the partner";
  write_pas("3\r\n\"first-pass\"\r\n\"\"\r\n\"" + ansi_bytes(second) + "\"\r\n\"" + ansi_bytes(description) +
            "\"\r\n\"zz\"\r\n\"\"\r\n");

  step("editor: every line masked until the show box is ticked");
  {
    Host host({L"editor"});
    HWND window = host.window(kEditorCaption);
    if (!window) return;
    lines_become(window, hidden, "the editor opens with every line masked");
    check_none_in_full(window, passwords, "the editor");
    check(SendMessageW(GetDlgItem(window, layout::kShowPasswordsId), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
          "the show box is not ticked");
    check_geometry(window, "the editor", kEditorTabs);
    click_line(window, 1);
    info_becomes(window, description, "the second line's description");
    guide_picture(window, L"password-list-masked");
    click_control(window, layout::kShowPasswordsId);
    lines_become(window, passwords, "ticked, the show box shows every password");
    guide_picture(window, L"password-list-shown");
    click_control(window, layout::kShowPasswordsId);
    lines_become(window, hidden, "unticked, the lines are masked again");
    host.close(window);
    host.exits_cleanly("the editor, nothing changed");
  }

  std::wstring pick = chooser_pick("chooser: masked lines; shown, the second line picks the second password",
                                   [&](Host&, HWND window) {
                                     lines_become(window, hidden, "the chooser opens with every line masked");
                                     check_none_in_full(window, passwords, "the chooser");
                                     check_geometry(window, "the chooser", kChooserTabs);
                                     guide_picture(window, L"chooser-masked");
                                     click_control(window, layout::kShowPasswordsId);
                                     lines_become(window, passwords, "ticked, the chooser shows every password");
                                     guide_picture(window, L"chooser-shown");
                                     click_line(window, 1, true);
                                   });
  check_equal(pick, second, "the second line, shown, picks the second password");

  pick = chooser_pick("chooser: the next opening is masked again; a masked line picks its whole password",
                      [&](Host&, HWND window) {
                        lines_become(window, hidden, "the next chooser opens masked");
                        check_none_in_full(window, passwords, "the next chooser");
                        click_line(window, 1, true);
                      });
  check_equal(pick, second, "the second line, masked, picks the second password");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: passlist_driver HOST_EXE WORK_DIR [masking]\n");
    return 2;
  }
  g_dir = argv[2];
  if (!check(make_directory(g_dir), "make the work folder") || !check(delete_file(pas_path()), "no old list") ||
      !check(delete_file(bak_path()), "no old copy") ||
      !check(copy_file(argv[1], g_dir + L"\\passlist_host.exe"), "copy the host")) {
    return exit_code();
  }
  if (argc > 3 && std::wstring_view(argv[3]) == L"masking") {
    masking_journey();
    return exit_code();
  }
  editor_journey();
  close_with_yes_journey();
  failed_save_journey();
  chooser_journeys();
  damaged_file_journey();
  held_file_journey();
  return exit_code();
}
