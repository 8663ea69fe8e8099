#include "tray/core/win32/input_prompt.h"

#include <windows.h>

#include <string>

#include "tray/core/prompt_form.h"
#include "tray/core/shared_texts.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/dialog_message.h"
#include "tray/win32kit/dpi.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/wide_text.h"
#include "tray/win32kit/window_class.h"
#include "tray/win32kit/window_proc.h"

namespace quiren::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
constexpr int kFontPoints = 9;

// The prompt's layout in twips: the label grows to the prompt text's
// height, everything below moves down with it.
constexpr int kMargin = 165;
constexpr int kWidth = 5400;
constexpr int kEditHeight = 345;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
constexpr int kGap = 120;
constexpr int kButtonGap = 180;  // above the buttons

// The prompt window: label, edit box, OK and Cancel. Enter is OK, Escape
// Cancel; closing it is Cancel. Its logic is PromptForm.
class PromptFrame {
 public:
  explicit PromptFrame(PromptForm& form) : form_(form) {}
  ~PromptFrame() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  PromptFrame(const PromptFrame&) = delete;
  PromptFrame& operator=(const PromptFrame&) = delete;

  bool open();
  bool done() const { return hwnd_ == nullptr; }

 private:
  friend class quiren::win32::WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void finish(bool accepted);
  int label_height_twips(int width_twips) const;

  PromptForm& form_;
  HWND hwnd_ = nullptr;
  Dpi dpi_;
  ScopedFont font_;
};

int PromptFrame::label_height_twips(int width_twips) const {
  ScopedDC dc(nullptr);
  if (!dc) return 0;
  SelectedObject selected(dc.get(), font_.get());
  const std::wstring text = form_.prompt().empty() ? std::wstring(L" ") : to_wide(form_.prompt());
  RECT r{0, 0, px_from_twips(width_twips, dpi_.x), 0};
  DrawTextW(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  const int px = r.bottom > tm.tmHeight ? r.bottom : static_cast<int>(tm.tmHeight);
  return twips_from_px(px, dpi_.y);
}

bool PromptFrame::open() {
  if (!register_window_class(kPromptClass, WindowProc::of<PromptFrame>, face_brush())) return false;
  dpi_ = screen_dpi();
  font_ = make_ui_font(kFontPoints, dpi_);

  const int inner = kWidth - 2 * kMargin;
  const TwipsRect label{kMargin, kMargin, inner, label_height_twips(inner)};
  const TwipsRect edit{kMargin, label.top + label.height + kGap, inner, kEditHeight};
  const int buttons_top = edit.top + edit.height + kButtonGap;
  const TwipsRect cancel{kWidth - kMargin - kButtonWidth, buttons_top, kButtonWidth, kButtonHeight};
  const TwipsRect ok{cancel.left - kGap - kButtonWidth, buttons_top, kButtonWidth, kButtonHeight};
  const int client_height = buttons_top + kButtonHeight + kMargin;

  hwnd_ = CreateWindowExW(kExStyle, kPromptClass, to_wide(form_.title()).c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  size_and_centre(hwnd_, kWidth, client_height, dpi_);
  make_child(hwnd_, {.text = form_.prompt(), .style = SS_LEFT | SS_NOPREFIX, .id = kPromptLabelId, .place = label,
                     .font = font_.get()}, dpi_);
  HWND edit_box = make_child(hwnd_, {.window_class = L"EDIT", .style = WS_TABSTOP | ES_AUTOHSCROLL,
                                     .ex_style = WS_EX_CLIENTEDGE, .id = kPromptEditId, .place = edit,
                                     .font = font_.get()}, dpi_);
  make_child(hwnd_, {.window_class = L"BUTTON", .text = core::texts::kButtonOk,
                     .style = WS_TABSTOP | BS_DEFPUSHBUTTON, .id = kPromptOkId, .place = ok, .font = font_.get()},
             dpi_);
  make_child(hwnd_, {.window_class = L"BUTTON", .text = core::texts::kButtonCancel,
                     .style = WS_TABSTOP | BS_PUSHBUTTON, .id = kPromptCancelId, .place = cancel,
                     .font = font_.get()}, dpi_);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  SetFocus(edit_box);
  return true;
}

void PromptFrame::finish(bool accepted) {
  if (accepted) {
    form_.ok(window_text(GetDlgItem(hwnd_, kPromptEditId)));
  } else {
    form_.cancel();
  }
  DestroyWindow(hwnd_);
}

LRESULT PromptFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kPromptOkId || LOWORD(wp) == kPromptCancelId) {
        finish(LOWORD(wp) == kPromptOkId);
        return 0;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kPromptOkId, DC_HASDEFID);
    case WM_CLOSE:
      finish(false);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace

std::u16string run_input_prompt(std::u16string_view prompt, std::u16string_view title) {
  PromptForm form(prompt, title);
  PromptFrame frame(form);
  if (!frame.open()) return {};
  bool quit = false;
  WPARAM quit_code = 0;
  MSG msg;
  while (!frame.done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quit_code = msg.wParam;
      break;
    }
    if (got == -1) break;
    if (dialog_message(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Left without OK (a WM_QUIT): the prompt closes as if cancelled.
  if (!form.closed()) form.cancel();
  if (quit) PostQuitMessage(static_cast<int>(quit_code));
  return form.take_answer();
}

}  // namespace quiren::win32
