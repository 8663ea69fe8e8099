#include "tray/core/win32/input_prompt.h"

#include <windows.h>

#include <string>

#include "tray/core/prompt_form.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/core/win32/prompt_window.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/dpi.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/wide_text.h"
#include "tray/win32kit/window_class.h"
#include "tray/win32kit/window_proc.h"

namespace quiren::win32 {
namespace {

namespace layout = prompt_window;

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

  PromptForm& form_;
  HWND hwnd_ = nullptr;
  Dpi dpi_;
  ScopedFont font_;
};

bool PromptFrame::open() {
  if (!register_window_class(kPromptClass, WindowProc::of<PromptFrame>, face_brush())) return false;
  dpi_ = screen_dpi();
  font_ = make_ui_font(layout::kFontPoints, dpi_);

  const TwipsRect label{layout::kMargin, layout::kMargin, layout::kInner,
                        layout::label_height(form_.prompt(), font_.get(), dpi_, layout::kInner)};
  const TwipsRect edit{layout::kMargin, label.top + label.height + layout::kGap, layout::kInner, layout::kEditHeight};

  hwnd_ = CreateWindowExW(layout::kExStyle, kPromptClass, to_wide(form_.title()).c_str(), layout::kStyle, 0, 0, 0,
                          0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  make_child(hwnd_, {.text = form_.prompt(), .style = SS_LEFT | SS_NOPREFIX, .id = kPromptLabelId, .place = label,
                     .font = font_.get()}, dpi_);
  HWND edit_box = make_child(hwnd_, {.window_class = L"EDIT", .style = WS_TABSTOP | ES_AUTOHSCROLL,
                                     .ex_style = WS_EX_CLIENTEDGE, .id = kPromptEditId, .place = edit,
                                     .font = font_.get()}, dpi_);
  const int client_height =
      layout::add_buttons(hwnd_, edit.top + edit.height + layout::kButtonGap, font_.get(), dpi_);
  layout::show(hwnd_, client_height, dpi_, edit_box);
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
  layout::run_until([&frame] { return frame.done(); });
  // Left without OK (a WM_QUIT): the prompt closes as if cancelled.
  if (!form.closed()) form.cancel();
  return form.take_answer();
}

}  // namespace quiren::win32
