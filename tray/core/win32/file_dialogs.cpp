#include "tray/core/win32/file_dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

std::optional<std::u16string> choose_file(FileDialog kind, std::u16string_view title,
                                          std::u16string_view suggested_name) {
  // Long paths fit; a longer one is refused by the dialog, not cut.
  std::vector<wchar_t> path(32768, L'\0');
  const std::wstring suggested = to_wide(suggested_name.substr(0, path.size() - 1));
  std::copy(suggested.begin(), suggested.end(), path.begin());
  const std::wstring caption = to_wide(title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.lpstrFilter = L"Text (*.txt)\0*.txt\0All (*.*)\0*.*\0";
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = caption.c_str();
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (kind == FileDialog::open) dialog.Flags |= OFN_FILEMUSTEXIST;
  const BOOL chosen = kind == FileDialog::open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return from_wide(path.data());
}

}  // namespace quiren::win32
