// quiren.exe with a key name and file names outside the system's ANSI code
// page (Japanese under 1252; an emoji under 932 and 1252 alike), run as
// scripts run it, standard output and error to files: key new, encrypt
// and decrypt with keys and with a password file, each naming its files in
// a folder with such a name. Then standard error on a console of the
// driver's own, which must show the same names as characters, not as
// UTF-8 bytes in the console's code page. tool-unicode.sh (the Linux side)
// makes a key with the native tool before and reads what was written here
// after; the two share QUIREN_E2E_EXCHANGE.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver/driver.h"

using namespace quiren::e2e;

namespace {

const std::wstring kName = L"田中太郎";
// A space, Japanese, a character western code pages hold and 932 does not,
// and an emoji no ANSI code page holds.
const std::wstring kFolderName = L"鍵の 置き場 café 🔑";
const std::wstring kSecretKeyName = L"田中の秘密鍵🗝.txt";

std::wstring g_exchange;  // shared with tool-unicode.sh
std::wstring g_folder;    // g_exchange\kFolderName

std::wstring in_folder(std::wstring_view name) { return g_folder + L"\\" + std::wstring(name); }

struct ToolRun {
  std::optional<DWORD> exit;  // nullopt: it did not start, or did not end in time
  std::string out;            // standard output's bytes
  std::string err;            // standard error's bytes (none when it went to a console)
};

HANDLE inheritable_file(const std::wstring& path, DWORD access, DWORD creation) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, creation,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs quiren.exe with `args` (given to it as a UTF-16 command line) and
// `input` on standard input. Standard output and error go to files, as a
// script's redirections send them; standard error goes to `console`
// instead when one is given.
ToolRun run_tool(const std::vector<std::wstring>& args, std::string_view input, HANDLE console = nullptr) {
  // Files of their own for each run: Wine has been seen to hold the last
  // run's files open for a moment after the process ended.
  static int runs = 0;
  const std::wstring run_name = g_exchange + L"\\run" + std::to_wstring(++runs);
  const std::wstring in_path = run_name + L"-in.bin";
  const std::wstring out_path = run_name + L"-out.bin";
  const std::wstring err_path = run_name + L"-err.bin";
  ToolRun run;
  if (!check(write_file_bytes(in_path, input), "standard input written")) return run;
  HANDLE in = inheritable_file(in_path, GENERIC_READ, OPEN_EXISTING);
  HANDLE out = inheritable_file(out_path, GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = console ? INVALID_HANDLE_VALUE : inheritable_file(err_path, GENERIC_WRITE, CREATE_ALWAYS);
  std::wstring line = command_line(driver_directory() + L"\\quiren.exe", args);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = console ? console : err;
  PROCESS_INFORMATION info{};
  // On the driver's console when asked to write to it; else none at all.
  const DWORD flags = console ? 0 : CREATE_NO_WINDOW;
  const bool started = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
                       (console || err != INVALID_HANDLE_VALUE) &&
                       CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                      driver_directory().c_str(), &startup, &info);
  for (HANDLE h : {in, out, err}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!check(started, "quiren.exe starts: " + utf8(line))) return run;
  if (WaitForSingleObject(info.hProcess, 60'000) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    run.exit = code;
  } else {
    TerminateProcess(info.hProcess, 1);
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  run.out = read_file_bytes(out_path).value_or("");
  if (!console) run.err = read_file_bytes(err_path).value_or("");
  return run;
}

bool check_exit(const ToolRun& run, DWORD expected, std::string_view what) {
  return check_equal(run.exit ? static_cast<long long>(*run.exit) : -1, expected,
                     std::string(what) + " (standard error: " + run.err + ")");
}

bool file_exists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool holds(std::string_view text, std::wstring_view part) { return text.find(utf8(part)) != std::string_view::npos; }

// The digits after "prefix" on standard error: the line's rest up to its end.
std::wstring digits_after(std::string_view err, std::string_view prefix) {
  const std::size_t at = err.find(prefix);
  if (at == std::string_view::npos) return {};
  const std::string_view rest = err.substr(at + prefix.size());
  return wide(rest.substr(0, std::min(rest.find_first_of("\r\n,"), rest.size())));
}

// Returns the key's safety digits as quiren.exe printed them.
std::wstring make_key() {
  step("key new with a Japanese name, its secret key in a file whose name no ANSI code page holds");
  const std::wstring secret = in_folder(kSecretKeyName);
  const ToolRun made = run_tool({L"key", L"new", L"--name", kName, L"--out", secret, L"--password-file",
                                 in_folder(L"合言葉🔐.txt")},
                                {});
  if (!check_exit(made, 0, "key new exits 0")) return {};
  check(file_exists(secret), "the secret key file is there under its own name");
  check(made.out.find("(quiren_start)") != std::string::npos, "the key block on standard output");
  check(write_file_bytes(in_folder(L"田中の鍵ブロック🔑.txt"), made.out), "the key block kept for the native tool");
  // Redirected, standard error carries UTF-8 bytes, file names in any script.
  check(holds(made.err, L"your secret key is in " + secret + L": keep it"), "standard error names the file");
  const std::wstring digits = digits_after(made.err, "your safety digits: ");
  check(digits.size() == 35, "standard error gives the safety digits");
  check(write_file_bytes(g_exchange + L"\\tanaka-digits.txt", utf8(digits)), "the digits kept for the native tool");

  step("a second key new to the same file is refused, naming it");
  const ToolRun again = run_tool({L"key", L"new", L"--name", kName, L"--no-passphrase", L"--out", secret}, {});
  check_exit(again, 2, "key new over an existing file exits 2");
  check(holds(again.err, L"the key file exists already, and is never overwritten: " + secret),
        "the refusal names the file");
  return digits;
}

void with_keys(const std::wstring& text, const std::wstring& digits) {
  step("encrypt to the native tool's key, read from a file named in Japanese and an emoji");
  const std::vector<std::wstring> own_key = {L"--key", in_folder(kSecretKeyName), L"--key-passphrase-file",
                                             in_folder(L"合言葉🔐.txt")};
  std::vector<std::wstring> encrypt = {L"encrypt"};
  encrypt.insert(encrypt.end(), own_key.begin(), own_key.end());
  encrypt.insert(encrypt.end(), {L"--to", in_folder(L"佐藤の鍵ブロック🔑.txt")});
  const ToolRun sealed = run_tool(encrypt, utf8(text));
  if (!check_exit(sealed, 0, "encrypt --key --to exits 0")) return;
  check(write_file_bytes(in_folder(L"宛先の暗号文📨.txt"), sealed.out), "the block kept for the native tool");

  step("decrypt it with the sealed key from the same folder");
  std::vector<std::wstring> decrypt = {L"decrypt"};
  decrypt.insert(decrypt.end(), own_key.begin(), own_key.end());
  const ToolRun opened = run_tool(decrypt, sealed.out);
  check_exit(opened, 0, "decrypt --key exits 0");
  check_equal(wide(opened.out), text, "the text back");
  check_equal(digits_after(opened.err, "block 1 of 1: from "), digits, "the sender named by the key's digits");

  step("a key file that is not there is named in the message");
  const std::wstring missing = in_folder(L"無い鍵🗝.txt");
  const ToolRun refused = run_tool({L"decrypt", L"--key", missing}, sealed.out);
  check_exit(refused, 2, "decrypt with a missing key file exits 2");
  check(holds(refused.err, L"the key file does not exist: " + missing), "the message names the file");
}

void with_a_password_file(const std::wstring& text) {
  step("encrypt and decrypt under a password file named in Japanese and an emoji");
  const std::wstring password_file = in_folder(L"合言葉🔐.txt");
  const ToolRun sealed = run_tool({L"encrypt", L"--password-file", password_file}, utf8(text));
  if (!check_exit(sealed, 0, "encrypt --password-file exits 0")) return;
  check(write_file_bytes(in_folder(L"合言葉の暗号文📨.txt"), sealed.out), "the block kept for the native tool");
  const ToolRun opened = run_tool({L"decrypt", L"--password-file", password_file}, sealed.out);
  check_exit(opened, 0, "decrypt --password-file exits 0");
  check_equal(wide(opened.out), text, "the text back");
}

void half_a_surrogate_pair() {
  step("an argument with half a surrogate pair is refused, and no file is made");
  const std::wstring bad = in_folder(L"半端") + wchar_t{0xD83D} + L".txt";
  const ToolRun refused = run_tool({L"key", L"new", L"--no-passphrase", L"--out", bad}, {});
  check_exit(refused, 2, "key new exits 2");
  check(holds(refused.err, L"argument 5 holds half of a UTF-16 surrogate pair, which names no file or text: " +
                               in_folder(L"半端\uFFFD.txt")),
        "the message names the argument: " + refused.err);
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(in_folder(L"半端*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  check(search == INVALID_HANDLE_VALUE, "no file made for it");
}

// The characters of the console's rows, trailing blanks cut.
std::vector<std::wstring> console_rows(HANDLE screen) {
  std::vector<std::wstring> rows;
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(screen, &info)) return rows;
  for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
    std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, row.data(), static_cast<DWORD>(row.size()), COORD{0, y}, &read);
    row.resize(read);
    row.erase(row.find_last_not_of(L' ') + 1);
    rows.push_back(row);
  }
  return rows;
}

void on_a_console(const std::wstring& digits) {
  step("standard error on a console shows the names as characters");
  // The driver's own console: its output stays where it was.
  const HANDLE saved_out = GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE saved_err = GetStdHandle(STD_ERROR_HANDLE);
  const HANDLE saved_in = GetStdHandle(STD_INPUT_HANDLE);
  FreeConsole();
  const bool made = AllocConsole() != FALSE;
  SetStdHandle(STD_OUTPUT_HANDLE, saved_out);
  SetStdHandle(STD_ERROR_HANDLE, saved_err);
  SetStdHandle(STD_INPUT_HANDLE, saved_in);
  if (!check(made, "a console of the driver's own")) return;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherit, OPEN_EXISTING, 0, nullptr);
  if (!check(screen != INVALID_HANDLE_VALUE, "the console's screen opens")) return;
  // Wide enough that no line wraps.
  SetConsoleScreenBufferSize(screen, COORD{400, 100});

  const std::wstring secret = in_folder(L"鈴木の秘密鍵🗝.txt");
  const ToolRun made_key =
      run_tool({L"key", L"new", L"--name", L"鈴木一郎", L"--no-passphrase", L"--out", secret}, {}, screen);
  check_exit(made_key, 0, "key new exits 0");
  const std::optional<std::string> key_block = read_file_bytes(in_folder(L"田中の鍵ブロック🔑.txt"));
  const ToolRun noted = run_tool({L"decrypt"}, key_block.value_or(""), screen);
  check_exit(noted, 0, "decrypt of a key block exits 0");

  const std::vector<std::wstring> rows = console_rows(screen);
  std::wstring shown;
  for (const std::wstring& row : rows) shown += row + L"\n";
  const std::wstring expected[] = {
      L"quiren: your secret key is in " + secret + L", not sealed under a passphrase: keep it, and give no one "
                                                   L"the file",
      L"quiren: block 1 of 1: a key block, holding no text: \"" + kName + L"\", " + digits,
  };
  for (const std::wstring& line : expected) {
    bool found = false;
    for (const std::wstring& row : rows) found = found || row == line;
    check(found, "the console shows: " + utf8(line) + "\n      it shows:\n" + utf8(shown));
  }
  // For a person to look at; Wine may give the console no window at all.
  if (const HWND window = GetConsoleWindow()) screenshot(L"console", window);
  CloseHandle(screen);
}

}  // namespace

int wmain() {
  wchar_t exchange[MAX_PATH] = {};
  if (!check(GetEnvironmentVariableW(L"QUIREN_E2E_EXCHANGE", exchange, MAX_PATH) > 0,
             "QUIREN_E2E_EXCHANGE names the folder shared with tool-unicode.sh")) {
    return exit_code();
  }
  g_exchange = exchange;
  g_folder = g_exchange + L"\\" + kFolderName;
  const std::optional<std::wstring> text = read_utf8_file(g_exchange + L"\\text.txt");
  if (!check(text && file_exists(in_folder(L"合言葉🔐.txt")) && file_exists(in_folder(L"佐藤の鍵ブロック🔑.txt")),
             "the Linux side left the text, the password file and its key block")) {
    return exit_code();
  }
  step("ANSI code page " + std::to_string(GetACP()));
  const std::wstring digits = make_key();
  with_keys(*text, digits);
  with_a_password_file(*text);
  half_a_surrogate_pair();
  on_a_console(digits);
  return exit_code();
}
