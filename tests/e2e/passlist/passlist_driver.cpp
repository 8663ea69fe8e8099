// Drives passlist_host through the password list window's controls and
// checks the bytes of quiren.pas.
//   passlist_driver HOST_EXE WORK_DIR
// Copies the host into WORK_DIR (its program directory) and runs the
// scenarios there, with screenshots of the editor and the chooser.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tray/passlist/password_list_layout.h"
#include "tray/shell/win32/prompt_ids.h"

namespace {

namespace layout = quiren::passlist_layout;
using quiren::win32::kPromptClass;

int g_passed = 0;
int g_failed = 0;
std::wstring g_host;
std::wstring g_dir;

void check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
  std::fflush(stdout);
  (ok ? g_passed : g_failed)++;
}

HWND wait_for(const std::function<HWND()>& find, int ms = 10000) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (HWND hwnd = find()) return hwnd;
    Sleep(50);
  }
  return nullptr;
}

std::wstring text_of(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

HWND visible_window(const wchar_t* cls, const wchar_t* title = nullptr) {
  HWND hwnd = FindWindowW(cls, title);
  return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

HWND password_window() { return wait_for([] { return visible_window(L"quiren_frmeditpass"); }); }

HWND message_box() {
  return wait_for([] { return visible_window(L"#32770", L"む～くいれん"); });
}

std::wstring box_text(HWND box) { return text_of(GetDlgItem(box, 0xFFFF)); }

void click(HWND parent, int id) { PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }

void wait_gone(HWND hwnd) {
  wait_for([hwnd] { return IsWindow(hwnd) ? nullptr : hwnd; });
}

// Answers the next prompt: the text typed, or Cancel for nullptr.
bool answer_prompt(const wchar_t* expected_prompt, const wchar_t* answer) {
  HWND prompt = wait_for([expected_prompt] {
    HWND p = visible_window(kPromptClass);
    return p && text_of(GetDlgItem(p, quiren::win32::kPromptLabelId)) == expected_prompt ? p : nullptr;
  });
  if (!prompt) return false;
  if (answer) {
    SendMessageW(GetDlgItem(prompt, quiren::win32::kPromptEditId), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(answer));
    click(prompt, quiren::win32::kPromptOkId);
  } else {
    click(prompt, quiren::win32::kPromptCancelId);
  }
  wait_gone(prompt);
  return true;
}

bool add_entry(HWND window, const wchar_t* password, const wchar_t* description) {
  click(window, layout::kAddId);
  return answer_prompt(L"パスワードを入力して下さい。", password) &&
         answer_prompt(L"パスワードの説明を入力して下さい", description);
}

int line_count(HWND window) {
  return static_cast<int>(SendMessageW(GetDlgItem(window, layout::kList1Id), LB_GETCOUNT, 0, 0));
}

// Selects a line the way a click does: the list then notifies its parent.
void select_line(HWND window, int index, WORD notification = LBN_SELCHANGE) {
  HWND list = GetDlgItem(window, layout::kList1Id);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(layout::kList1Id, notification),
               reinterpret_cast<LPARAM>(list));
}

std::string file_bytes() {
  std::wstring path = g_dir + L"\\quiren.pas";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(1 << 16, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

void write_file(const std::string& bytes) {
  std::wstring path = g_dir + L"\\quiren.pas";
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

struct Host {
  PROCESS_INFORMATION pi{};
  explicit Host(const std::wstring& args) {
    std::wstring exe = g_dir + L"\\passlist_host.exe";
    std::wstring command = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, g_dir.c_str(), &si, &pi);
  }
  // The exit code, or -1 when the host did not end in time (then killed).
  int wait() {
    if (!pi.hProcess) return -1;
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
      TerminateProcess(pi.hProcess, 99);
      return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
  }
  ~Host() {
    if (pi.hProcess) {
      wait();
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
};

// The window's part of the screen as <QUIREN_E2E_SCREENS>\<name>.bmp; the
// runner turns it into a PNG. Nothing without that folder.
void screenshot(HWND window, const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"QUIREN_E2E_SCREENS", folder, MAX_PATH)) return;
  Sleep(500);
  RECT r{};
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof bi;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  std::vector<char> pixels(static_cast<std::size_t>(((w * 3 + 3) & ~3) * h));
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi),
            DIB_RGB_COLORS);
  BITMAPFILEHEADER bf{};
  bf.bfType = 0x4D42;
  bf.bfOffBits = sizeof bf + sizeof bi;
  bf.bfSize = static_cast<DWORD>(bf.bfOffBits + pixels.size());
  std::wstring path = std::wstring(folder) + L"\\" + name + L".bmp";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, &bf, sizeof bf, &written, nullptr);
  WriteFile(file, &bi, sizeof bi, &written, nullptr);
  WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(file);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

// 日本語パスワード and 説明です in code page 932.
const std::string kJapanese = "\x93\xfa\x96\x7b\x8c\xea\x83\x70\x83\x58\x83\x8f\x81\x5b\x83\x68";
const std::string kJapaneseInfo = "\x90\xe0\x96\xbe\x82\xc5\x82\xb7";
const std::string kTwoEntries = "2\r\n\"" + kJapanese + "\"\r\n\"" + kJapaneseInfo +
                                "\"\r\n\" p@ss, word \"\r\n\"\"\r\n";

void editor_scenario() {
  Host host(L"editor");
  HWND window = password_window();
  check(window != nullptr, "editor opens");
  if (!window) return;
  check(text_of(window) == L"パスワードリストの編集", "editor caption");
  check(add_entry(window, L"日本語パスワード", L"説明です"), "add a Japanese entry");
  check(add_entry(window, L" p@ss, word ", nullptr), "add an ASCII entry, Cancel at its description");
  check(add_entry(window, L"three", L"third"), "add a third entry");
  check(line_count(window) == 3, "three lines listed");
  select_line(window, 2);
  click(window, layout::kDeleteId);
  Sleep(300);
  check(line_count(window) == 2, "delete leaves two lines");
  select_line(window, 0);
  check(text_of(GetDlgItem(window, layout::kInfoId)) == L"説明です", "the description follows the selection");
  screenshot(window, L"editor");

  click(window, layout::kSaveId);
  HWND box = message_box();
  check(box && box_text(box) == L"変更を保存しますか？", "save asks");
  if (box) click(box, IDYES);
  wait_gone(box);
  check(file_bytes() == kTwoEntries, "save writes the exact bytes");

  check(add_entry(window, L"four", L"d"), "add after saving");
  PostMessageW(window, WM_CLOSE, 0, 0);
  box = message_box();
  check(box && box_text(box) == L"変更を保存しますか？", "closing after a change asks");
  if (box) click(box, IDNO);
  check(host.wait() == 0, "editor closes after No, busyflag cleared");
  check(file_bytes() == kTwoEntries, "No leaves the file as it was");
}

void close_with_yes_scenario() {
  Host host(L"editor");
  HWND window = password_window();
  if (!window) return check(false, "editor reopens");
  check(line_count(window) == 2, "editor reads the saved list");
  check(add_entry(window, L"four", L"d"), "add a fourth entry");
  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND box = message_box();
  if (box) click(box, IDYES);
  check(host.wait() == 0, "editor closes after Yes");
  check(file_bytes() == kTwoEntries.substr(0, 0) + "3" + kTwoEntries.substr(1) + "\"four\"\r\n\"d\"\r\n",
        "Yes on closing rewrites the file");
}

void failed_save_scenario() {
  std::wstring path = g_dir + L"\\quiren.pas";
  std::string before = file_bytes();
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  Host host(L"editor");
  HWND window = password_window();
  if (!window) return check(false, "editor opens over a read-only file");
  select_line(window, 0);
  click(window, layout::kDeleteId);
  click(window, layout::kSaveId);
  HWND box = message_box();
  if (box) click(box, IDYES);
  wait_gone(box);
  box = message_box();
  check(box && box_text(box) == L"パスワードリストを保存できませんでした。", "a failed save says so");
  if (box) click(box, IDOK);
  wait_gone(box);
  check(file_bytes() == before, "a failed save keeps the old file");
  // The change is still pending: once the file is writable, closing saves it.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  PostMessageW(window, WM_CLOSE, 0, 0);
  box = message_box();
  check(box && box_text(box) == L"変更を保存しますか？", "the change stays pending after a failed save");
  if (box) click(box, IDYES);
  check(host.wait() == 0, "editor closes");
  std::size_t second = before.find("\" p@ss");
  check(second != std::string::npos && file_bytes() == "2\r\n" + before.substr(second),
        "the retry writes the list");
}

std::string chooser_pick(const std::function<void(HWND)>& act, const wchar_t* shot = nullptr) {
  std::wstring out = g_dir + L"\\pick.txt";
  DeleteFileW(out.c_str());
  Host host(L"chooser \"" + out + L"\"");
  HWND window = password_window();
  if (!window) return "<no window>";
  check(text_of(window) == L"パスワードを選択して下さい。", "chooser caption");
  check(!IsWindowEnabled(GetDlgItem(window, layout::kAddId)), "chooser buttons disabled");
  if (shot) screenshot(window, shot);
  act(window);
  int code = host.wait();
  if (code != 0) std::printf("host exit code %d\n", code);
  check(code == 0, "chooser closes, busyflag and selectmode cleared");
  HANDLE file = CreateFileW(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<no result>";
  char buffer[256];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

void chooser_scenario() {
  std::string before = file_bytes();
  HWND list = nullptr;
  std::string pick = chooser_pick(
      [&list](HWND window) {
        list = GetDlgItem(window, layout::kList1Id);
        // An Enter with nothing selected picks nothing.
        PostMessageW(list, WM_KEYUP, VK_RETURN, 0xC0000001);
        Sleep(300);
        check(IsWindow(window) != FALSE, "Enter without a selection picks nothing");
        select_line(window, 1);
        PostMessageW(list, WM_KEYUP, VK_RETURN, 0xC0000001);
      },
      L"chooser");
  check(pick == "four", "Enter picks the selected line");
  pick = chooser_pick([](HWND window) { select_line(window, 0, LBN_DBLCLK); });
  check(pick == " p@ss, word ", "double click picks the line");
  pick = chooser_pick([](HWND window) {
    select_line(window, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  check(pick.empty(), "the close box picks nothing");
  check(file_bytes() == before, "the chooser never writes the file");

  write_file("0\r\n");
  std::wstring out = g_dir + L"\\pick.txt";
  Host host(L"chooser \"" + out + L"\"");
  HWND box = message_box();
  check(box && box_text(box) == L"パスワードリストにパスワードがひとつも登録されていません。",
        "the chooser over an empty list says so");
  if (box) click(box, IDOK);
  check(host.wait() == 0, "and returns");
}

void damaged_file_scenario() {
  write_file("9\r\n\"good\"\r\n\"pair\"\r\nbad\r\n\"x\"y\r\n\"last\"\r\n");
  Host host(L"editor");
  HWND window = password_window();
  check(window && line_count(window) == 1, "a damaged file opens with its well-formed pair");
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  check(host.wait() == 0, "and closes without asking");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: passlist_driver HOST_EXE WORK_DIR\n");
    return 2;
  }
  g_host = argv[1];
  g_dir = argv[2];
  CreateDirectoryW(g_dir.c_str(), nullptr);
  DeleteFileW((g_dir + L"\\quiren.pas").c_str());
  if (!CopyFileW(g_host.c_str(), (g_dir + L"\\passlist_host.exe").c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy the host\n");
    return 2;
  }
  editor_scenario();
  close_with_yes_scenario();
  failed_save_scenario();
  chooser_scenario();
  damaged_file_scenario();
  std::printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
