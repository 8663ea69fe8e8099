// Drives desktop_subject through every desktop service on a real (Wine)
// desktop: message boxes, the input prompt, clipboard, registry settings,
// the entry that starts the program at log-on, the data protection for the
// user, the library binding, ANSI conversion, single instance and files.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace e2e = quiren::e2e;
using e2e::check;
using e2e::check_equal;
using namespace std::chrono_literals;

namespace {


struct Places {
  std::wstring root = e2e::driver_directory();
  std::wstring app = root + L"\\desktop-app";
  std::wstring cwd = root + L"\\desktop-cwd";
  std::wstring subject = app + L"\\desktop_subject.exe";
  std::wstring result = root + L"\\desktop-result.txt";
};
const Places& places() {
  static const Places p;
  return p;
}

// Runs the subject with `args`; `interact` gets its process while it runs.
// Returns what the subject wrote, or "<no result>".
std::wstring run_subject(const std::vector<std::wstring>& args, const std::function<void(e2e::Process&)>& interact = {},
                         const std::wstring& cwd = places().cwd) {
  e2e::delete_file(places().result);
  std::vector<std::wstring> all{places().result};
  all.insert(all.end(), args.begin(), args.end());
  e2e::Process subject(places().subject, all, cwd);
  if (!subject.started()) return L"<not started>";
  if (interact) interact(subject);
  auto code = subject.wait(15s);
  if (!check(code.has_value(), "subject ends: " + e2e::utf8(args.at(0)))) return L"<hung>";
  return e2e::read_utf8_file(places().result).value_or(L"<no result>");
}

void message_boxes() {
  e2e::step("message boxes: text, buttons, default button, front, answer");
  struct Row {
    const wchar_t* buttons;
    const wchar_t* icon;
    bool front;
    const wchar_t* text;
    const wchar_t* title;  // nullptr: the application title
    int press;
    const wchar_t* answer;
    const wchar_t* screenshot;
  } rows[] = {
      {L"ok", L"none", false, L"お知らせです。", nullptr, IDOK, L"ok", nullptr},
      {L"ok", L"critical", false, L"20KB以上のテキストを暗号化することはできません", nullptr, IDOK, L"ok",
       L"box-critical"},
      {L"ok", L"exclamation", false, L"パスワードが違います", nullptr, IDOK, L"ok", nullptr},
      {L"ok", L"information", false, L"暗号化しました", L"バージョン情報", IDOK, L"ok", nullptr},
      {L"yesno", L"question", true, L"クリップボードの内容を暗号化しますか？", nullptr, IDYES, L"yes",
       L"box-question"},
      {L"yesno", L"question", true, L"クリップボードの内容を復号化しますか？", nullptr, IDNO, L"no", nullptr},
  };
  for (const Row& row : rows) {
    const std::wstring title = row.title ? row.title : e2e::kAppTitle;
    std::vector<std::wstring> args{L"box", row.buttons, row.icon, row.front ? L"1" : L"0", row.text};
    if (row.title) args.push_back(row.title);
    const std::wstring answer = run_subject(args, [&](e2e::Process& p) {
      HWND box = e2e::wait_for_message_box(title, p.pid());
      if (!check(box != nullptr, "box appears: " + e2e::utf8(row.text))) return;
      check_equal(e2e::message_box_text(box), row.text, "box text");
      const bool yes_no = std::wstring_view(row.buttons) == L"yesno";
      const std::vector<int> expected = yes_no ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDOK};
      check(e2e::message_box_buttons(box) == expected, "box buttons: " + e2e::utf8(row.buttons));
      const int first = yes_no ? IDYES : IDOK;
      check((e2e::control_style(box, first) & BS_DEFPUSHBUTTON) == BS_DEFPUSHBUTTON, "first button is default");
      if (row.screenshot) check(e2e::screenshot(row.screenshot, box), "screenshot");
      e2e::press_button(box, row.press);
    });
    check_equal(answer, row.answer, "answer of " + e2e::utf8(row.text));
  }
}

void input_prompt() {
  e2e::step("input prompt: OK, Enter, Cancel, Esc, close");
  const std::wstring label = L"パスワードを入力してください";
  const std::wstring typed = L"秘密のパスワード＃１";
  enum class How { ok, enter, cancel, escape, close };
  struct Row {
    How how;
    const wchar_t* expected;
  } rows[] = {{How::ok, typed.c_str()}, {How::enter, typed.c_str()}, {How::cancel, L""},
              {How::escape, L""},       {How::close, L""}};
  bool shot = false;
  for (const Row& row : rows) {
    const std::wstring got = run_subject({L"prompt", label, L"パスワード入力"}, [&](e2e::Process& p) {
      HWND prompt = e2e::wait_for_prompt(L"パスワード入力", p.pid());
      if (!check(prompt != nullptr, "prompt appears")) return;
      check_equal(e2e::prompt_label(prompt), label, "prompt label");
      check_equal(e2e::control_text(prompt, 101), L"", "prompt starts empty");
      check(e2e::set_control_text(prompt, 101, typed), "type into the prompt");
      if (!shot) shot = check(e2e::screenshot(L"prompt-typed", prompt), "screenshot");
      HWND edit = GetDlgItem(prompt, 101);
      switch (row.how) {
        case How::ok: e2e::press_button(prompt, IDOK); break;
        case How::cancel: e2e::press_button(prompt, IDCANCEL); break;
        case How::enter:
          PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
          break;
        case How::escape:
          PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
          break;
        case How::close: PostMessageW(prompt, WM_CLOSE, 0, 0); break;
      }
      check(e2e::wait_until_gone(prompt), "prompt closes");
    });
    check_equal(got, row.expected, "prompt result");
  }
  // The application title is the default caption.
  const std::wstring got = run_subject({L"prompt", L"合言葉"}, [&](e2e::Process& p) {
    HWND prompt = e2e::wait_for_prompt(e2e::kAppTitle, p.pid());
    if (check(prompt != nullptr, "prompt with the application title")) e2e::answer_prompt(prompt, L"あ", true);
  });
  check_equal(got, L"あ", "prompt result with default title");
}

void clipboard() {
  e2e::step("clipboard: Japanese text both ways");
  const std::wstring in = L"日本語のクリップボード\r\n二行目～";
  check(e2e::set_clipboard_text(in), "driver sets the clipboard");
  check_equal(run_subject({L"clip-read"}), L"1:" + in, "subject reads the clipboard");

  const std::wstring out = L"(quiren_start)\r\n暗号文ブロック\r\n(quiren_end)";
  check_equal(run_subject({L"clip-put", out}), L"true", "subject puts text");
  // The subject has ended: the text must outlive its owner window.
  check(e2e::wait_for_clipboard_text(out, 3s), "clipboard holds the subject's text");
}

void settings() {
  e2e::step("settings in the registry");
  check(e2e::clear_stored_settings(), "start from an empty store");
  check_equal(run_subject({L"setting-read", L"orikaesi"}), L"absent", "absent key");
  check_equal(run_subject({L"setting-write", L"orikaesi", L"61.5"}), L"done", "write");
  check_equal(run_subject({L"setting-write", L"angopass", L"パス ワード"}), L"done", "write password");
  check_equal(e2e::stored_setting(L"orikaesi").value_or(L"<absent>"), L"61.5",
              "stored as REG_SZ where the earlier version kept it");
  check_equal(e2e::stored_setting(L"angopass").value_or(L"<absent>"), L"パス ワード",
              "password readable as typed");
  check_equal(run_subject({L"setting-read", L"angopass"}), L"=パス ワード", "read back");
  const DWORD one = 1;
  RegSetKeyValueW(HKEY_CURRENT_USER, e2e::settings_key().c_str(), L"hock", REG_DWORD, &one, sizeof one);
  check_equal(run_subject({L"setting-read", L"hock"}), L"absent", "a value of another type counts as absent");
}

// The entry Windows starts at log-on, read here as the system reads it.
std::optional<std::wstring> run_entry() {
  wchar_t value[1024];
  DWORD bytes = sizeof value;
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"mu-quiren",
                   RRF_RT_ANY, &type, value, &bytes) != ERROR_SUCCESS || type != REG_SZ) {
    return std::nullopt;
  }
  return std::wstring(value);
}

void logon_entry() {
  e2e::step("the entry that starts the program at log-on");
  const std::wstring command = L"\"" + places().subject + L"\"";
  check_equal(run_subject({L"progpath"}), places().subject, "the program's full path");
  check_equal(run_subject({L"logon-remove"}), L"true", "removing an absent entry succeeds");
  check_equal(run_subject({L"logon-read"}), L"absent", "no entry");
  check_equal(run_subject({L"logon-write", command}), L"true", "write");
  check_equal(run_entry().value_or(L"<absent>"), command, "a REG_SZ value \"mu-quiren\" in the user's Run key");
  check_equal(run_subject({L"logon-read"}), L"=" + command, "read back");
  check_equal(run_subject({L"logon-remove"}), L"true", "remove");
  check(!run_entry(), "gone from the Run key");
}

// The data protection's contract, as the program uses it: a text sealed
// comes back; two seals of one text differ; a seal opens with the
// program's entropy only; no seal shows its text, nor opens once its text
// changed. Wine keys this protection by the user name only (a seal made in
// one prefix opens in another, and fails only under another user name), so
// another account's refusal, which Windows gives, cannot be shown here.
void data_protection() {
  e2e::step("data protection for the Windows user: round trip, two seals differ, wrong entropy refused");
  const std::wstring text = L"保護する合言葉 clé 🔑";
  const std::wstring first = run_subject({L"protect", text});
  const std::wstring second = run_subject({L"protect", text});
  if (!check(first.starts_with(L"=") && second.starts_with(L"="), "sealed twice")) return;
  const std::wstring one = first.substr(1);
  const std::wstring two = second.substr(1);
  check(one != two, "two seals of one text differ");
  for (const std::string& form : {e2e::utf8(text), std::string("cl\xC3\xA9")}) {
    std::wstring hex_form;
    for (const unsigned char c : form) {
      static const wchar_t digits[] = L"0123456789abcdef";
      hex_form += digits[c >> 4];
      hex_form += digits[c & 15];
    }
    check(one.find(hex_form) == std::wstring::npos, "the seal does not show its text");
  }
  check_equal(run_subject({L"unprotect", one}), L"=" + text, "the first seal opens");
  check_equal(run_subject({L"unprotect", two}), L"=" + text, "the second seal opens");
  check_equal(run_subject({L"unprotect", one, L"another program's entropy"}), L"refused",
              "another entropy is refused");
  // A byte of the sealed text or of its check changed. (Wine does not check
  // every header byte of its own kind of seal, as Windows does: those are
  // left alone here.)
  for (const std::size_t from_end : {1u, 24u}) {
    std::wstring changed = one;
    wchar_t& digit = changed[changed.size() - 2 * from_end];
    digit = digit == L'0' ? L'1' : L'0';
    check_equal(run_subject({L"unprotect", changed}), L"refused",
                "a seal changed " + std::to_string(from_end) + " bytes from its end is refused");
  }
}

void library_binding() {
  e2e::step("library loaded from the program's folder, not the current one");
  const Places& p = places();
  check(e2e::copy_file(p.root + L"\\quiren.dll", p.app + L"\\quiren.dll"), "quiren.dll beside the program");
  check(e2e::copy_file(p.root + L"\\e2e-cwd-dll\\quiren.dll", p.cwd + L"\\quiren.dll"),
        "a different quiren.dll in the current folder");

  const std::wstring result = run_subject({L"encrypt", L"abc", L"pw"});
  check(result != L"=CWD-MARKER", "the current folder's quiren.dll is not used");
  check(result.size() > 2 && result[0] == L'=' && (result.back() == L'A' || result.back() == L'B'),
        "the real library's result ends in its mode letter: " + e2e::utf8(result));

  check(e2e::delete_file(p.app + L"\\quiren.dll"), "remove the program's quiren.dll");
  check_equal(run_subject({L"encrypt", L"abc", L"pw"}), L"nullopt", "missing library gives no result");
}

void ansi_and_places() {
  e2e::step("ANSI conversion, program folder, DPI");
  const bool japanese = GetACP() == 932;
  check(japanese || GetACP() == 1252, "code page is 932 or 1252");
  const std::wstring jp = L"日本語テキスト";
  const std::wstring jp_result = run_subject({L"ansi", jp});
  if (japanese) {
    check_equal(jp_result, L"lossless 93fa967b8cea8365834c83588367 " + jp, "Japanese under 932");
  } else {
    check(jp_result.rfind(L"lossy ", 0) == 0, "Japanese under 1252 reports lost characters: " + e2e::utf8(jp_result));
  }
  const std::wstring western = run_subject({L"ansi", L"café"});
  if (japanese) {
    check(western.rfind(L"lossy ", 0) == 0, "é under 932 is lost: " + e2e::utf8(western));
  } else {
    check_equal(western, L"lossless 636166e9 café", "é under 1252");
  }
  check_equal(run_subject({L"ansi", L"plain text"}), L"lossless 706c61696e2074657874 plain text", "ASCII");

  check_equal(run_subject({L"progdir"}), places().app, "program directory");
  check_equal(run_subject({L"twips"}), L"15 15", "twips per pixel at 96 DPI");
}

void single_instance() {
  e2e::step("another copy running");
  check_equal(run_subject({L"another-copy"}), L"alone", "first copy is alone");
  const std::wstring first = run_subject({L"hold"}, [](e2e::Process& p) {
    HWND box = e2e::wait_for_message_box(L"hold", p.pid());
    if (!check(box != nullptr, "first copy holds")) return;
    e2e::Process second(places().subject, {places().root + L"\\second.txt", L"another-copy"}, places().cwd);
    check(second.wait(15s).has_value(), "second copy ends");
    check_equal(e2e::read_utf8_file(places().root + L"\\second.txt").value_or(L""), L"running",
                "second copy sees the first");
    e2e::press_button(box, IDOK);
  });
  check_equal(first, L"alone", "the holder was first");
  check_equal(run_subject({L"another-copy"}), L"alone", "alone again after the first ended");
}

// The names in a folder, sorted, without "." and "..".
std::vector<std::wstring> folder_names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::wstring joined(const std::vector<std::wstring>& names) {
  std::wstring out;
  for (const auto& name : names) out.append(L"[").append(name).append(L"]");
  return out;
}

// Holds a file open without sharing, as backup and anti-virus programs do.
class HeldOpen {
 public:
  explicit HeldOpen(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    check(file_ != INVALID_HANDLE_VALUE, "hold " + e2e::utf8(path) + " open without sharing");
  }
  ~HeldOpen() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

 private:
  HANDLE file_;
};

void files() {
  e2e::step("files: atomic replace, read, hidden files, folders");
  const std::wstring folder = places().cwd + L"\\files";
  check(e2e::make_directory(folder), "a folder for the files");
  const std::wstring path = folder + L"\\data.pas";
  check_equal(run_subject({L"file-read", path}), L"absent", "absent file");
  check_equal(run_subject({L"file-replace", path, L"一"}), L"true", "create");
  check_equal(run_subject({L"file-replace", path, L"二番"}), L"true", "replace");
  check_equal(run_subject({L"file-read", path}), L"=e4ba8ce795aa", "read back the new content");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  check_equal(run_subject({L"file-read", path}), L"not-plain", "hidden file counts as absent for reading");
  check_equal(run_subject({L"file-replace", path, L"x"}), L"false", "a hidden file is never replaced");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  check_equal(run_subject({L"file-read", path}), L"=e4ba8ce795aa", "the hidden file was left as it was");
  check_equal(run_subject({L"file-read", places().cwd}), L"not-plain", "a folder is not a plain file");
  check_equal(run_subject({L"file-replace", places().cwd + L"\\no-such-folder\\x.pas", L"x"}), L"false",
              "replace into a missing folder fails");
  check_equal(joined(folder_names(folder)), L"[data.pas]", "the replacements left no files of their own");

  e2e::step("files: held open by another program, read-only");
  {
    HeldOpen held(path);
    check_equal(run_subject({L"file-read", path}), L"unreadable", "a file held open is unreadable, not absent");
    check_equal(run_subject({L"file-replace", path, L"三"}), L"false", "a file held open is not replaced");
  }
  check_equal(run_subject({L"file-read", path}), L"=e4ba8ce795aa", "the held file is intact");
  check_equal(joined(folder_names(folder)), L"[data.pas]", "no temporary files left beside the held file");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  check_equal(run_subject({L"file-replace", path, L"三"}), L"false", "a read-only file is not replaced");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  check_equal(run_subject({L"file-read", path}), L"=e4ba8ce795aa", "the read-only file is intact");
  check_equal(joined(folder_names(folder)), L"[data.pas]", "no temporary files left beside the read-only file");

  e2e::step("files: a replace call that stops half-way");
  check_equal(run_subject({L"file-replace-staged", path, L"三", L"old-deleted"}), L"true",
              "old file gone: the new content is moved in");
  check_equal(run_subject({L"file-read", path}), L"=e4b889", "the new content after the old file was gone");
  check_equal(run_subject({L"file-replace-staged", path, L"四", L"old-at-backup"}), L"true",
              "old file at the backup name: the new content is moved in");
  check_equal(run_subject({L"file-read", path}), L"=e59b9b", "the new content after the old file was moved away");
  check_equal(joined(folder_names(folder)), L"[data.pas]", "no temporary or backup files left after recovering");

  e2e::step("files: a new file never replaces one");
  const std::wstring copy = folder + L"\\data.pas.bak";
  check_equal(run_subject({L"file-create", copy, L"元"}), L"written", "a new file is written");
  check_equal(run_subject({L"file-create", copy, L"別"}), L"exists", "an existing file is not replaced");
  check_equal(run_subject({L"file-read", copy}), L"=e58583", "the first content stays");
  check_equal(joined(folder_names(folder)), L"[data.pas][data.pas.bak]", "no temporary files left");
}

}  // namespace

int wmain() {
  const Places& p = places();
  check(e2e::make_directory(p.app) && e2e::make_directory(p.cwd), "test folders");
  check(e2e::copy_file(p.root + L"\\desktop_subject.exe", p.subject), "subject in its own folder");

  message_boxes();
  input_prompt();
  clipboard();
  settings();
  logon_entry();
  data_protection();
  library_binding();
  ansi_and_places();
  single_instance();
  files();
  return e2e::exit_code();
}
