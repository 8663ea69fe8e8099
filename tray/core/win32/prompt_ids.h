// The prompts' window classes and control IDs: the contract with the
// end-to-end driver, which finds the prompts and their controls by these.
#pragma once

namespace quiren::win32 {

// The one-line input prompt (a password list entry's description).
inline constexpr wchar_t kPromptClass[] = L"MuQuirenPrompt";
// The password prompt: the same label, field and buttons, the field masked,
// a show box and, where asked for, the confirmation field with its label.
inline constexpr wchar_t kPasswordPromptClass[] = L"MuQuirenPasswordPrompt";
inline constexpr int kPromptLabelId = 100;
inline constexpr int kPromptEditId = 101;
inline constexpr int kPromptConfirmEditId = 102;
inline constexpr int kPromptShowCheckId = 103;
inline constexpr int kPromptConfirmLabelId = 104;
// Where the prompt offers a generated passphrase: "パスワードを生成" and the
// choice of its form beside it.
inline constexpr int kPromptGenerateId = 105;
inline constexpr int kPromptKanaCheckId = 106;
// Where the prompt offers "宛先を選ぶ": its label, then one check box per
// contact, in the list's order, from kPromptRecipientFirstId on.
inline constexpr int kPromptRecipientsLabelId = 107;
inline constexpr int kPromptRecipientFirstId = 200;
inline constexpr int kPromptOkId = 1;      // IDOK
inline constexpr int kPromptCancelId = 2;  // IDCANCEL

}  // namespace quiren::win32
