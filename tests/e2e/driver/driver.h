// The end-to-end driver: a Windows program in the same Wine prefix as the
// program under test, which finds its windows, reads and presses their
// controls, uses the clipboard and starts processes. Everything waits by
// polling with a timeout; nothing sleeps as synchronisation.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <source_location>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quiren {
enum class MenuCommand : std::uint16_t;  // tray/shell/main_form.h
}

namespace quiren::e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;
inline constexpr Millis kDefaultWait = 10s;

// ---- checks: print a clear line per failure and remember it -------------
// Every check returns its outcome so a test can stop early.
bool check(bool ok, std::string_view what, std::source_location where = std::source_location::current());
bool check_equal(std::wstring_view actual, std::wstring_view expected, std::string_view what,
                 std::source_location where = std::source_location::current());
bool check_equal(long long actual, long long expected, std::string_view what,
                 std::source_location where = std::source_location::current());
// Prints a progress line ("-- step").
void step(std::string_view what);
// 0 when every check passed, else 1: return it from main.
int exit_code();

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view utf8_text);

// ---- windows ---------------------------------------------------------------
// A visible top-level window whose class and caption match exactly (an empty
// caption or class matches any); of process `pid` when it is not 0.
HWND find_window(std::wstring_view class_name, std::wstring_view caption, DWORD pid = 0);
HWND wait_for_window(std::wstring_view class_name, std::wstring_view caption, DWORD pid = 0,
                     Millis timeout = kDefaultWait);
// True when the window went away within the timeout.
bool wait_until_gone(HWND window, Millis timeout = kDefaultWait);

// Message boxes are class "#32770".
inline constexpr wchar_t kMessageBoxClass[] = L"#32770";
HWND wait_for_message_box(std::wstring_view caption, DWORD pid = 0, Millis timeout = kDefaultWait);
// The box's text (its static control, ID 0xFFFF).
std::wstring message_box_text(HWND box);
// The box's buttons that exist, among IDOK, IDCANCEL, IDYES, IDNO.
std::vector<int> message_box_buttons(HWND box);
// Waits for a box titled `caption` of `pid` and checks its text under the
// name `what`; nullptr (a failed check) when none came.
HWND expect_message_box(std::wstring_view caption, DWORD pid, std::wstring_view text, std::string_view what,
                        Millis timeout = kDefaultWait,
                        std::source_location where = std::source_location::current());
// Presses `button` of a box from expect_message_box (nothing for nullptr)
// and waits until it is gone; false when it stayed.
bool answer_message_box(HWND box, int button, Millis timeout = kDefaultWait);

// Text of a window or of its control `id` (WM_GETTEXT, works across
// processes).
std::wstring window_text(HWND window);
std::wstring control_text(HWND window, int id);
bool has_control(HWND window, int id);
// WM_SETTEXT on control `id`.
bool set_control_text(HWND window, int id, std::wstring_view text);
// Presses button `id` of a window: a posted click, so a modal window it
// opens cannot block the driver.
bool press_button(HWND window, int id);
// Style bits of control `id` (0 when absent).
LONG control_style(HWND window, int id);
// The lines of list box `id` (LB_GETTEXT, which works across processes).
std::vector<std::wstring> list_box_lines(HWND window, int id);

// The program's prompts: the input prompt (class "MuQuirenPrompt") and the
// password prompt ("MuQuirenPasswordPrompt"), which has the same label,
// field and buttons, its field masked, a show box and, where it asks for
// one, the confirmation field. find_prompt and wait_for_prompt find either.
HWND find_prompt(std::wstring_view caption, DWORD pid = 0);
HWND wait_for_prompt(std::wstring_view caption, DWORD pid = 0, Millis timeout = kDefaultWait);
HWND wait_for_password_prompt(std::wstring_view caption, DWORD pid = 0, Millis timeout = kDefaultWait);
// Waits for the prompt of `pid` under `caption` asking `label`; nullptr (a
// failed check) when none came.
HWND expect_prompt(DWORD pid, std::wstring_view caption, std::u16string_view label, Millis timeout = kDefaultWait,
                   std::source_location where = std::source_location::current());
std::wstring prompt_label(HWND prompt);
// Types the text into the prompt's field (and, in a password prompt, into
// its enabled confirmation field too) and presses OK (or Cancel).
bool answer_prompt(HWND prompt, std::wstring_view text, bool ok = true);
// The same with a confirmation of its own, for a repetition that differs.
bool answer_password_prompt(HWND prompt, std::wstring_view password, std::wstring_view confirmation,
                            bool ok = true);
// Clicks button or check box `id` as the mouse does (BM_CLICK, posted): a
// check box changes its tick and tells its window.
bool click_control(HWND window, int id);

// ---- clipboard (the Win32 clipboard: Wine keeps it in wineserver) --------
bool set_clipboard_text(std::wstring_view text);
// The text with registered formats beside it, as password managers mark
// what they copy for clipboard monitors and the clipboard history: each a
// DWORD under its name.
struct ClipboardMark {
  std::wstring_view format;
  DWORD value = 0;
};
bool set_marked_clipboard_text(std::wstring_view text, std::span<const ClipboardMark> marks);
std::optional<std::wstring> clipboard_text();
// Waits until the clipboard holds exactly `expected`.
bool wait_for_clipboard_text(std::wstring_view expected, Millis timeout = kDefaultWait);

// ---- processes -------------------------------------------------------------
// The command line that starts `exe` with `args`, each quoted as needed so
// that the program's CommandLineToArgvW (or its C runtime) reads them back.
std::wstring command_line(std::wstring_view exe, const std::vector<std::wstring>& args);

class Process {
 public:
  Process() = default;
  // Starts `exe` with `args` (each quoted as needed) in folder `cwd` (empty:
  // the driver's current folder). Check started().
  Process(std::wstring_view exe, const std::vector<std::wstring>& args, std::wstring_view cwd = {});
  ~Process();  // terminates the process if it still runs
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD pid() const { return info_.dwProcessId; }
  // The exit code, or nullopt when it still runs after the timeout.
  std::optional<DWORD> wait(Millis timeout = kDefaultWait);
  void terminate();

 private:
  PROCESS_INFORMATION info_{};
};

// Runs a console program (`exe` with `args`) in folder `cwd` with `input`
// on its standard input and its standard error the driver's: its standard
// output, or nullopt when it did not start or did not end with exit code 0
// within a minute. The input is short: the pipe takes it whole.
std::optional<std::string> run_console(std::wstring_view exe, const std::vector<std::wstring>& args,
                                       std::string_view input, std::wstring_view cwd);

// ---- files and places --------------------------------------------------
// The driver's own folder (C:\mu-quiren under the runner), no trailing '\'.
std::wstring driver_directory();
bool make_directory(std::wstring_view path);
bool copy_file(std::wstring_view from, std::wstring_view to);
std::optional<std::string> read_file_bytes(std::wstring_view path);
// Creates or replaces the file with exactly `bytes`.
bool write_file_bytes(std::wstring_view path, std::string_view bytes);
// `text` in the system's ANSI code page, as the program's files hold it.
std::string ansi_bytes(std::wstring_view text);
// A UTF-8 file's text as UTF-16.
std::optional<std::wstring> read_utf8_file(std::wstring_view path);
bool delete_file(std::wstring_view path);
// A REG_SZ value under HKEY_CURRENT_USER; nullopt when absent or another type.
std::optional<std::wstring> read_user_registry_string(std::wstring_view key, std::wstring_view value);
bool delete_user_registry_tree(std::wstring_view key);

// ---- the program's own conventions --------------------------------------
// The caption of the program's message boxes and prompts.
extern const std::wstring kAppTitle;
// The program's texts (UTF-16 in its code) as wide strings.
std::wstring wide(std::u16string_view text);

// The running copy's hidden main window (it shows itself as the settings
// dialog), and a tray menu command sent to it as the menu sends it.
HWND main_window();
void menu(HWND main, MenuCommand command);
// The running copy once it watches the clipboard and has finished starting:
// a clipboard change made while it still starts (its tray icon being added)
// is not offered, so a journey copies only after this. Null on timeout.
HWND ready_main_window(Millis timeout = kDefaultWait);

// The viewer of decrypted texts: its window class, caption and text box.
extern const std::wstring kViewerClass;
extern const std::wstring kViewerCaption;
inline constexpr int kViewerTextId = 101;
inline constexpr int kViewerStatusId = 102;  // the status line under the text

// The program's settings store: the HKCU key of its settings section, one
// stored value (nullopt when absent or not REG_SZ), writing one as REG_SZ,
// and removing everything the program stored.
std::wstring settings_key();
std::optional<std::wstring> stored_setting(std::wstring_view name);
bool store_setting(std::wstring_view name, std::wstring_view value);
bool clear_stored_settings();

// The program's boxes: waits for a box of `pid` captioned kAppTitle and
// checks its text under the name `what`; nullptr (a failed check) when none
// came. answer() presses `button` of it (nothing for nullptr) and waits
// until it is gone; false when it stayed.
HWND expect_box(DWORD pid, std::u16string_view text, std::string_view what, Millis timeout = kDefaultWait,
                std::source_location where = std::source_location::current());
bool answer(HWND box, int button, Millis timeout = kDefaultWait);
// True when no box of `pid` turns up within `how_long`.
bool no_box_for_a_while(DWORD pid, Millis how_long = 1500ms);

// Copies `clip` and answers the decrypt question with Yes, checking that no
// password is asked (the blocks open with the program's key): the viewer's
// text and status line, the viewer closed again; a guide picture of it
// named `picture` when one is given. Nullopt (a failed check) without a
// viewer.
struct ViewerShown {
  std::wstring text;
  std::wstring status;
};
std::optional<ViewerShown> open_unasked(DWORD pid, std::wstring_view clip, std::wstring_view picture = {});

// A strong block whose envelope asks for `rounds` rounds of key derivation
// though its key was made with one: the program derives every round it
// asks for, and then finds that no password opens it. A run long enough to
// watch and to cancel.
std::wstring slow_strong_block(std::uint32_t rounds);

// A block's mode letter: the character right after the start marker's line
// break ("A" or "B" for a compatible block, "C" for a strong one); empty
// when `text` holds no start marker with a line break and a character
// after it.
std::wstring block_mode_letter(std::wstring_view text);

// Whether `text` is a generated passphrase: exactly the number of words of
// the list (block/word_lists.h) a passphrase takes, joined by its separator.
// A word may hold the separator itself ("t-shirt"), so the text is split
// into list words, not at each separator. `kana`: the hiragana list.
bool is_generated_passphrase(std::wstring_view text, bool kana);

// ---- geometry ------------------------------------------------------------
// Checks a window's controls as they are on the screen: every visible one
// lies inside the client area, no two overlap (a group box frames the
// controls inside it), and Tab walks the visible focusable ones
// (WS_TABSTOP, in Z order) in the order of `tab_order`, by control ID.
// `what` names the window in the failures.
bool check_geometry(HWND window, std::string_view what, std::span<const int> tab_order,
                    std::source_location where = std::source_location::current());

// ---- screenshots -------------------------------------------------------
// Saves the whole screen as <QUIREN_E2E_SCREENS>\<name>.bmp (the runner turns
// it into a PNG). False when there is no screenshot folder or it failed.
// With `window`, that window is repainted first, so a window that has only
// just appeared is shown whole.
bool screenshot(std::wstring_view name, HWND window = nullptr);

// A picture for the user guides: the whole screen once `window` has
// painted, shot as <name>.bmp with <name>.rect ("x y width height" of the
// window on the screen) beside it, so it can be cut to the window
// (scripts/screenshots.sh). Wine's stand-in tray is moved out of the way.
void guide_picture(HWND window, std::wstring_view name);

// Polls `ready` every 20 ms until it is true or the timeout passes.
template <typename Ready>
bool wait_until(Ready ready, Millis timeout = kDefaultWait) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (ready()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(20);
  }
}

}  // namespace quiren::e2e
