#include "tray/core/win32/prompt_window.h"

#include <string>

#include "tray/core/shared_texts.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32::prompt_window {

int label_height(std::u16string_view text, HFONT font, Dpi dpi, int width) {
  ScopedDC dc(nullptr);
  if (!dc) return 0;
  SelectedObject selected(dc.get(), font);
  const std::wstring wide = text.empty() ? std::wstring(L" ") : to_wide(text);
  RECT r{0, 0, px_from_twips(width, dpi.x), 0};
  DrawTextW(dc.get(), wide.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  const int px = r.bottom > tm.tmHeight ? r.bottom : static_cast<int>(tm.tmHeight);
  return twips_from_px(px, dpi.y);
}

int add_buttons(HWND window, int top, HFONT font, Dpi dpi) {
  const TwipsRect cancel{kWidth - kMargin - kButtonWidth, top, kButtonWidth, kButtonHeight};
  const TwipsRect ok{cancel.left - kGap - kButtonWidth, top, kButtonWidth, kButtonHeight};
  make_child(window, {.window_class = L"BUTTON", .text = core::texts::kButtonOk,
                      .style = WS_TABSTOP | BS_DEFPUSHBUTTON, .id = kPromptOkId, .place = ok, .font = font},
             dpi);
  make_child(window, {.window_class = L"BUTTON", .text = core::texts::kButtonCancel,
                      .style = WS_TABSTOP | BS_PUSHBUTTON, .id = kPromptCancelId, .place = cancel, .font = font},
             dpi);
  return top + kButtonHeight + kMargin;
}

void show(HWND window, int client_height, Dpi dpi, HWND focus) {
  size_and_centre(window, kWidth, client_height, dpi);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(focus);
}

}  // namespace quiren::win32::prompt_window
