// Runs one desktop service on command and writes its result, UTF-8, to the
// file named first:  desktop_subject <result-file> <command> [args...]
#include <windows.h>

#include <string>
#include <vector>

#include "tray/core/win32/plain_files.h"
#include "tray/core/win32/user_protection.h"
#include "tray/core/win32/win32_desktop.h"
#include "tray/flows/win32/quiren_library.h"
#include "tray/win32kit/wide_text.h"

namespace {

using quiren::win32::from_wide;
using quiren::win32::to_wide;

std::string utf8(std::u16string_view text) {
  const std::wstring w = to_wide(text);
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

bool write_result(const std::wstring& path, std::u16string_view text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string bytes = utf8(text);
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok;
}

quiren::Answer show_box(quiren::Desktop& desktop, const std::vector<std::u16string>& a) {
  quiren::MessageBoxSpec box;
  box.buttons = a.at(0) == u"yesno" ? quiren::Buttons::yes_no : quiren::Buttons::ok;
  const std::u16string& icon = a.at(1);
  box.icon = icon == u"critical"      ? quiren::Icon::critical
             : icon == u"question"    ? quiren::Icon::question
             : icon == u"exclamation" ? quiren::Icon::exclamation
             : icon == u"information" ? quiren::Icon::information
                                      : quiren::Icon::none;
  box.to_front = a.at(2) == u"1";
  box.text = a.at(3);
  if (a.size() > 4) box.title = a[4];
  return desktop.message_box(box);
}

std::u16string answer_name(quiren::Answer answer) {
  switch (answer) {
    case quiren::Answer::ok: return u"ok";
    case quiren::Answer::yes: return u"yes";
    case quiren::Answer::no: return u"no";
  }
  return u"?";
}

std::u16string hex(std::string_view bytes) {
  static const char16_t digits[] = u"0123456789abcdef";
  std::u16string out;
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

std::u16string from_utf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
  return from_wide(w);
}

std::string from_hex(std::u16string_view text) {
  const auto nibble = [](char16_t c) { return c <= u'9' ? c - u'0' : c - u'a' + 10; };
  std::string out;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    out.push_back(static_cast<char>(nibble(text[i]) * 16 + nibble(text[i + 1])));
  }
  return out;
}

// replace_file with its swap step failing half-way as the platform's
// replace call can: `old-deleted` (ERROR_UNABLE_TO_MOVE_REPLACEMENT without a
// backup name: the old file is gone) or `old-at-backup`
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file went to the backup name).
// The damage is done for real, so the recovery runs on real files.
std::u16string replace_staged(std::u16string_view path, const std::string& bytes, std::u16string_view how) {
  const bool deleted = how == u"old-deleted";
  const auto swap_in = [deleted](const std::wstring& target, const std::wstring&, const std::wstring& backup) {
    const BOOL done = deleted ? DeleteFileW(target.c_str()) : MoveFileExW(target.c_str(), backup.c_str(), 0);
    return done ? quiren::StepError::other : quiren::StepError::busy;
  };
  return quiren::win32::replace_file(path, bytes, swap_in) ? u"true" : u"false";
}

std::u16string run(const std::u16string& command, const std::vector<std::u16string>& a) {
  quiren::win32::Win32Desktop desktop;
  if (command == u"box") return answer_name(show_box(desktop, a));
  if (command == u"prompt") return a.size() > 1 ? desktop.input_prompt(a.at(0), a[1]) : desktop.input_prompt(a.at(0));
  if (command == u"clip-read") {
    const bool has = desktop.clipboard_has_text();
    return (has ? u"1:" : u"0:") + desktop.clipboard_text();
  }
  if (command == u"clip-put") return desktop.clipboard_put_text(a.at(0)) ? u"true" : u"false";
  if (command == u"setting-write") {
    desktop.write_setting(a.at(0), a.at(1));
    return u"done";
  }
  if (command == u"setting-read") {
    auto value = desktop.read_setting(a.at(0));
    return value ? u"=" + *value : u"absent";
  }
  if (command == u"ansi") {
    quiren::AnsiText ansi = desktop.to_ansi(a.at(0));
    return (ansi.lossless ? u"lossless " : u"lossy ") + hex(ansi.bytes) + u" " + desktop.from_ansi(ansi.bytes);
  }
  if (command == u"encrypt") {
    quiren::win32::QuirenLibrary library;
    auto result = library.encrypt(desktop.to_ansi(a.at(0)).bytes, desktop.to_ansi(a.at(1)).bytes);
    return result ? u"=" + desktop.from_ansi(*result) : u"nullopt";
  }
  if (command == u"progdir") return desktop.program_directory();
  if (command == u"progpath") return desktop.program_path();
  if (command == u"logon-read") {
    auto entry = desktop.read_logon_entry();
    return entry ? u"=" + *entry : u"absent";
  }
  if (command == u"logon-write") return desktop.write_logon_entry(a.at(0)) ? u"true" : u"false";
  if (command == u"logon-remove") return desktop.remove_logon_entry() ? u"true" : u"false";
  if (command == u"another-copy") return desktop.another_copy_running() ? u"running" : u"alone";
  if (command == u"hold") {
    // Claims the single-instance name, then waits in a box until released.
    const bool running = desktop.another_copy_running();
    desktop.message_box({u"hold", quiren::Buttons::ok, quiren::Icon::none, false, u"hold"});
    return running ? u"running" : u"alone";
  }
  if (command == u"twips") {
    quiren::TwipsPerPixel t = desktop.twips_per_pixel();
    return from_wide(std::to_wstring(t.x) + L" " + std::to_wstring(t.y));
  }
  if (command == u"file-replace") return desktop.replace_file(a.at(0), utf8(a.at(1))) ? u"true" : u"false";
  if (command == u"file-replace-staged") return replace_staged(a.at(0), utf8(a.at(1)), a.at(2));
  if (command == u"file-read") {
    quiren::FileRead file = desktop.read_plain_file(a.at(0));
    switch (file.status) {
      case quiren::FileStatus::absent: return u"absent";
      case quiren::FileStatus::read: return u"=" + hex(file.bytes.view());
      case quiren::FileStatus::not_plain: return u"not-plain";
      case quiren::FileStatus::unreadable: return u"unreadable";
    }
    return u"?";
  }
  if (command == u"file-create") {
    switch (desktop.write_new_file(a.at(0), utf8(a.at(1)))) {
      case quiren::NewFile::written: return u"written";
      case quiren::NewFile::exists: return u"exists";
      case quiren::NewFile::failed: return u"failed";
    }
    return u"?";
  }
  // Data protection: the text (UTF-8) sealed with the program's entropy, as
  // hex; a sealed text back, with the program's entropy or the one given.
  if (command == u"protect") {
    const std::optional<std::string> sealed = desktop.protect_for_user(utf8(a.at(0)));
    return sealed ? u"=" + hex(*sealed) : u"refused";
  }
  if (command == u"unprotect") {
    const std::string sealed = from_hex(a.at(0));
    const std::optional<quiren::block::SecretBytes> plain =
        a.size() > 1 ? quiren::win32::unprotect_for_user(sealed, utf8(a[1])) : desktop.unprotect_for_user(sealed);
    if (!plain) return u"refused";
    return u"=" + from_utf8(plain->view());
  }
  return u"unknown command";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  std::vector<std::u16string> args;
  for (int i = 3; i < argc; ++i) args.push_back(from_wide(argv[i]));
  try {
    return write_result(argv[1], run(from_wide(argv[2]), args)) ? 0 : 3;
  } catch (const std::exception&) {
    write_result(argv[1], u"bad arguments");
    return 4;
  }
}
