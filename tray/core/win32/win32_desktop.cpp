#include "tray/core/win32/win32_desktop.h"

#include <windows.h>

#include <array>
#include <cstdint>

#include "tray/core/win32/ansi_text.h"
#include "tray/core/win32/background_wait.h"
#include "tray/core/win32/clipboard.h"
#include "tray/core/win32/file_dialogs.h"
#include "tray/core/win32/input_prompt.h"
#include "tray/core/win32/logon_entry.h"
#include "tray/core/win32/message_box.h"
#include "tray/core/win32/password_prompt.h"
#include "tray/core/win32/plain_files.h"
#include "tray/core/win32/process_info.h"
#include "tray/core/win32/registry_settings.h"
#include "tray/core/win32/user_protection.h"
#include "tray/win32kit/dpi.h"

namespace quiren::win32 {

HWND Win32Desktop::clipboard_owner() {
  if (!clipboard_owner_) {
    clipboard_owner_.reset(CreateWindowExW(0, L"STATIC", L"mu-quiren clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, GetModuleHandleW(nullptr), nullptr));
  }
  return clipboard_owner_.get();
}

Answer Win32Desktop::message_box(const MessageBoxSpec& box) { return show_message_box(nullptr, box); }

std::u16string Win32Desktop::input_prompt(std::u16string_view prompt, std::u16string_view title) {
  return run_input_prompt(prompt, title);
}

block::SecretText Win32Desktop::password_prompt(const PasswordQuestion& question) {
  return run_password_prompt(question);
}

bool Win32Desktop::clipboard_has_text() { return win32::clipboard_has_text(); }

bool Win32Desktop::clipboard_kept_from_monitors() {
  return win32::clipboard_kept_from_monitors(clipboard_owner());
}

std::u16string Win32Desktop::clipboard_text() { return read_clipboard_text(clipboard_owner()).value_or(u""); }

bool Win32Desktop::clipboard_put_text(std::u16string_view text) {
  return put_clipboard_text(clipboard_owner(), text);
}

std::u16string Win32Desktop::program_directory() { return directory_of(program_file_path()); }

std::u16string Win32Desktop::program_path() { return program_file_path(); }

bool Win32Desktop::another_copy_running() { return win32::another_copy_running(); }

// Every loop that waits (a message box's, a prompt's, a background wait's)
// ends at WM_QUIT and posts it again for the loop around it.
void Win32Desktop::quit() { PostQuitMessage(0); }

AnsiText Win32Desktop::to_ansi(std::u16string_view text) { return to_ansi_text(text); }

std::u16string Win32Desktop::from_ansi(std::string_view bytes) { return from_ansi_text(bytes); }

TwipsPerPixel Win32Desktop::twips_per_pixel() {
  const Dpi dpi = screen_dpi();
  return {win32::twips_per_pixel(dpi.x), win32::twips_per_pixel(dpi.y)};
}

std::optional<LocalTime> Win32Desktop::local_time(std::uint64_t utc_seconds) {
  // A FILETIME counts 100 ns from 1601-01-01 UTC.
  constexpr std::uint64_t kSecondsFrom1601To1970 = 11'644'473'600ULL;
  constexpr std::uint64_t kTicksPerSecond = 10'000'000ULL;
  if (utc_seconds > UINT64_MAX / kTicksPerSecond - kSecondsFrom1601To1970) return std::nullopt;
  const std::uint64_t ticks = (utc_seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
  const FILETIME file_time{static_cast<DWORD>(ticks & 0xFFFF'FFFFULL), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  if (!FileTimeToSystemTime(&file_time, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return std::nullopt;
  }
  return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
}

bool Win32Desktop::run_in_background(const std::shared_ptr<block::BackgroundJob>& job, ProgressForm& progress) {
  return win32::run_in_background(job, progress);
}

std::optional<std::u16string> Win32Desktop::read_setting(std::u16string_view key) {
  return read_registry_setting(key);
}

void Win32Desktop::write_setting(std::u16string_view key, std::u16string_view value) {
  write_registry_setting(key, value);
}

std::optional<std::u16string> Win32Desktop::read_logon_entry() { return win32::read_logon_entry(); }

bool Win32Desktop::write_logon_entry(std::u16string_view command) { return win32::write_logon_entry(command); }

bool Win32Desktop::remove_logon_entry() { return win32::remove_logon_entry(); }

std::optional<std::string> Win32Desktop::protect_for_user(std::string_view plain) {
  return win32::protect_for_user(plain);
}

std::optional<block::SecretBytes> Win32Desktop::unprotect_for_user(std::string_view sealed) {
  return win32::unprotect_for_user(sealed);
}

std::optional<std::u16string> Win32Desktop::choose_file_to_save(std::u16string_view title,
                                                                std::u16string_view suggested_name) {
  return win32::choose_file(win32::FileDialog::save, title, suggested_name);
}

std::optional<std::u16string> Win32Desktop::choose_file_to_open(std::u16string_view title) {
  return win32::choose_file(win32::FileDialog::open, title, u"");
}

std::u16string Win32Desktop::user_name() {
  // UNLEN (256) and its terminator.
  std::array<wchar_t, 257> name{};
  DWORD length = static_cast<DWORD>(name.size());
  if (!GetUserNameW(name.data(), &length) || length == 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(name.data()), length - 1);
}

FileRead Win32Desktop::read_plain_file(std::u16string_view path) { return win32::read_plain_file(path); }

bool Win32Desktop::replace_file(std::u16string_view path, std::string_view bytes) {
  return win32::replace_file(path, bytes);
}

NewFile Win32Desktop::write_new_file(std::u16string_view path, std::string_view bytes) {
  return win32::write_new_file(path, bytes);
}

}  // namespace quiren::win32
