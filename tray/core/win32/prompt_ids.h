// The input prompt's window class and control IDs: the contract with the
// end-to-end driver, which finds the prompt and its controls by these.
#pragma once

namespace quiren::win32 {

inline constexpr wchar_t kPromptClass[] = L"MuQuirenPrompt";
inline constexpr int kPromptLabelId = 100;
inline constexpr int kPromptEditId = 101;
inline constexpr int kPromptOkId = 1;      // IDOK
inline constexpr int kPromptCancelId = 2;  // IDCANCEL

}  // namespace quiren::win32
