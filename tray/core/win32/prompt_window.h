// What the input prompt and the password prompt share: their layout in
// twips, the label that grows to its text, the OK and Cancel buttons.
#pragma once

#include <windows.h>

#include <string_view>

#include "tray/win32kit/dpi.h"

namespace quiren::win32::prompt_window {

inline constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
inline constexpr int kFontPoints = 9;

// The layout in twips: the label grows to the prompt text's height,
// everything below moves down with it.
inline constexpr int kMargin = 165;
inline constexpr int kWidth = 5400;
inline constexpr int kInner = kWidth - 2 * kMargin;
inline constexpr int kEditHeight = 345;
inline constexpr int kCheckHeight = 300;
inline constexpr int kButtonWidth = 1200;
inline constexpr int kButtonHeight = 375;
inline constexpr int kGap = 120;
inline constexpr int kButtonGap = 180;  // above the buttons
// The passphrase row: the generate button, then its form's check box.
inline constexpr int kGenerateWidth = 1800;
inline constexpr int kKanaCheckWidth = kInner - kGenerateWidth - kGap;
// "宛先を選ぶ": the contacts' check boxes in two columns, row by row.
inline constexpr int kRecipientColumns = 2;
inline constexpr int kRecipientWidth = (kInner - kGap) / kRecipientColumns;

// The height in twips `text` takes, wrapped at `width` twips, in `font`;
// at least one line.
int label_height(std::u16string_view text, HFONT font, Dpi dpi, int width);

// OK (the default button) and Cancel at the foot, their tops at `top`; the
// client height that ends below them.
int add_buttons(HWND window, int top, HFONT font, Dpi dpi);

// Shows the prompt centred above other windows with the focus in `focus`.
void show(HWND window, int client_height, Dpi dpi, HWND focus);

}  // namespace quiren::win32::prompt_window
