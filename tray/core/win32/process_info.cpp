#include "tray/core/win32/process_info.h"

#include <windows.h>

#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

std::u16string program_file_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    // A full buffer means the path may have been cut: grow and ask again.
    if (got < path.size()) {
      path.resize(got);
      return from_wide(path);
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

std::u16string directory_of(std::u16string_view file_path) {
  const std::size_t slash = file_path.find_last_of(u"\\/");
  if (slash == std::u16string_view::npos) return {};
  std::u16string dir(file_path.substr(0, slash));
  // "C:" alone names the drive's current folder; its root is "C:\".
  if (dir.size() == 2 && dir[1] == u':') dir.push_back(u'\\');
  return dir;
}

bool another_copy_running() {
  static const bool running = [] {
    // Deliberately never closed: the name must stay claimed while we run.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\mu-quiren-single-instance");
    const DWORD error = GetLastError();
    if (!mutex) return error == ERROR_ACCESS_DENIED;
    return error == ERROR_ALREADY_EXISTS;
  }();
  return running;
}

}  // namespace quiren::win32
