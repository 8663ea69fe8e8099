// The progress window's class and control IDs: the contract with the
// end-to-end driver, which finds the window and its controls by these.
#pragma once

namespace quiren::win32 {

inline constexpr wchar_t kProgressClass[] = L"quiren_progress";
inline constexpr int kProgressTextId = 100;
inline constexpr int kProgressBarId = 101;
inline constexpr int kProgressCancelId = 2;  // IDCANCEL, so Escape presses it

}  // namespace quiren::win32
