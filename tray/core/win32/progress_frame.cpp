#include "tray/core/win32/progress_frame.h"

#include <commctrl.h>

#include "tray/core/shared_texts.h"
#include "tray/core/win32/progress_ids.h"
#include "tray/win32kit/controls.h"

namespace quiren::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
constexpr int kFontPoints = 9;
constexpr UINT_PTR kShowTimer = 1;

// The layout in twips.
constexpr int kMargin = 165;
constexpr int kWidth = 5400;
constexpr int kTextHeight = 300;
constexpr int kBarHeight = 270;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
constexpr int kGap = 120;

}  // namespace

ProgressFrame::ProgressFrame(ProgressForm& form) : form_(form) { create(); }

ProgressFrame::~ProgressFrame() = default;

void ProgressFrame::create() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  const int inner = kWidth - 2 * kMargin;
  const TwipsRect text{kMargin, kMargin, inner, kTextHeight};
  const TwipsRect bar{kMargin, text.top + text.height + kGap, inner, kBarHeight};
  const TwipsRect cancel{kWidth - kMargin - kButtonWidth, bar.top + bar.height + kGap + kGap, kButtonWidth,
                         kButtonHeight};
  const int client_height = cancel.top + cancel.height + kMargin;

  if (!window_.create(*this, {.window_class = kProgressClass, .style = kStyle, .ex_style = kExStyle,
                              .caption = core::texts::kAppTitle, .owner = hidden_owner(),
                              .font_points = kFontPoints})) {
    return;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  size_and_centre(hwnd, kWidth, client_height, dpi);
  make_child(hwnd, {.style = SS_LEFT | SS_NOPREFIX, .id = kProgressTextId, .place = text, .font = window_.font()},
             dpi);
  make_child(hwnd, {.window_class = PROGRESS_CLASSW, .id = kProgressBarId, .place = bar}, dpi);
  make_child(hwnd, {.window_class = L"BUTTON", .text = core::texts::kButtonCancel,
                    .style = WS_TABSTOP | BS_DEFPUSHBUTTON, .id = kProgressCancelId, .place = cancel,
                    .font = window_.font()},
             dpi);
  SetTimer(hwnd, kShowTimer, ProgressForm::kShowAfterMs, nullptr);
}

void ProgressFrame::refresh() {
  if (!window_.get()) return;
  set_window_text(GetDlgItem(window_.get(), kProgressTextId), form_.text());
  HWND bar = GetDlgItem(window_.get(), kProgressBarId);
  SendMessageW(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(form_.bar_range()));
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(form_.bar_position()), 0);
  EnableWindow(GetDlgItem(window_.get(), kProgressCancelId), form_.cancelled() ? FALSE : TRUE);
  if (form_.shown() && !visible_) {
    visible_ = true;
    ShowWindow(window_.get(), SW_SHOWNORMAL);
    SetForegroundWindow(window_.get());
  }
}

LRESULT ProgressFrame::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kShowTimer) {
        KillTimer(window_.get(), kShowTimer);
        form_.delay_passed();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wparam) == kProgressCancelId) {
        form_.cancel();
        return 0;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kProgressCancelId, DC_HASDEFID);
    case WM_CLOSE:
      form_.cancel();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wparam, lparam);
}

}  // namespace quiren::win32
