// The desktop services on Win32.
#pragma once

#include <windows.h>

#include "tray/core/desktop.h"
#include "tray/win32kit/owned_handle.h"

namespace quiren::win32 {

class Win32Desktop : public Desktop {
 public:
  Win32Desktop() = default;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  Answer message_box(const MessageBoxSpec& box) override;
  std::u16string input_prompt(std::u16string_view prompt, std::u16string_view title = kAppTitle) override;
  block::SecretText password_prompt(const PasswordQuestion& question) override;

  bool clipboard_has_text() override;
  bool clipboard_kept_from_monitors() override;
  std::u16string clipboard_text() override;
  bool clipboard_put_text(std::u16string_view text) override;

  std::u16string program_directory() override;
  std::u16string program_path() override;
  bool another_copy_running() override;
  void quit() override;

  AnsiText to_ansi(std::u16string_view text) override;
  std::u16string from_ansi(std::string_view bytes) override;

  TwipsPerPixel twips_per_pixel() override;
  std::optional<LocalTime> local_time(std::uint64_t utc_seconds) override;
  bool run_in_background(const std::shared_ptr<block::BackgroundJob>& job, ProgressForm& progress) override;

  std::optional<std::u16string> read_setting(std::u16string_view key) override;
  void write_setting(std::u16string_view key, std::u16string_view value) override;

  std::optional<std::u16string> read_logon_entry() override;
  bool write_logon_entry(std::u16string_view command) override;
  bool remove_logon_entry() override;

  std::optional<std::string> protect_for_user(std::string_view plain) override;
  std::optional<block::SecretBytes> unprotect_for_user(std::string_view sealed) override;
  std::u16string user_name() override;
  std::optional<std::u16string> choose_file_to_save(std::u16string_view title,
                                                    std::u16string_view suggested_name) override;
  std::optional<std::u16string> choose_file_to_open(std::u16string_view title) override;

  FileRead read_plain_file(std::u16string_view path) override;
  bool replace_file(std::u16string_view path, std::string_view bytes) override;
  NewFile write_new_file(std::u16string_view path, std::string_view bytes) override;

  // The window that owns what this program puts on the clipboard: a hidden
  // message-only window, made at first use, destroyed with this object.
  HWND clipboard_owner();

 private:
  ScopedWindow clipboard_owner_;
};

}  // namespace quiren::win32
