#include "tray/core/win32/input_prompt.h"

#include <windows.h>

#include <string>

#include "tray/core/prompt_form.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/core/win32/prompt_window.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/owned_window.h"
#include "tray/win32kit/thread_messages.h"

namespace quiren::win32 {
namespace {

namespace layout = prompt_window;

// The prompt window: label, edit box, OK and Cancel. Enter is OK, Escape
// Cancel; closing it is Cancel. Its logic is PromptForm.
class PromptFrame {
 public:
  explicit PromptFrame(PromptForm& form) : form_(form) {}

  bool open();
  bool done() const { return !window_; }
  // Closes it as Cancel does.
  void cancel() {
    if (window_) finish(false);
  }

 private:
  friend class quiren::win32::WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void finish(bool accepted);

  PromptForm& form_;
  OwnedWindow window_;
};

bool PromptFrame::open() {
  if (!window_.create(*this, {.window_class = kPromptClass, .style = layout::kStyle, .ex_style = layout::kExStyle,
                              .caption = form_.title(), .font_points = layout::kFontPoints})) {
    return false;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  HFONT font = window_.font();
  const TwipsRect label{layout::kMargin, layout::kMargin, layout::kInner,
                        layout::label_height(form_.prompt(), font, dpi, layout::kInner)};
  const TwipsRect edit{layout::kMargin, label.top + label.height + layout::kGap, layout::kInner, layout::kEditHeight};
  make_child(hwnd, {.text = form_.prompt(), .style = SS_LEFT | SS_NOPREFIX, .id = kPromptLabelId, .place = label,
                    .font = font}, dpi);
  HWND edit_box = make_child(hwnd, {.window_class = L"EDIT", .style = WS_TABSTOP | ES_AUTOHSCROLL,
                                    .ex_style = WS_EX_CLIENTEDGE, .id = kPromptEditId, .place = edit, .font = font},
                             dpi);
  const int client_height = layout::add_buttons(hwnd, edit.top + edit.height + layout::kButtonGap, font, dpi);
  layout::show(hwnd, client_height, dpi, edit_box);
  return true;
}

void PromptFrame::finish(bool accepted) {
  if (accepted) {
    form_.ok(window_text(GetDlgItem(window_.get(), kPromptEditId)));
  } else {
    form_.cancel();
  }
  window_.destroy();
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
  return DefWindowProcW(window_.get(), msg, wp, lp);
}

}  // namespace

std::u16string run_input_prompt(std::u16string_view prompt, std::u16string_view title) {
  PromptForm form(prompt, title);
  PromptFrame frame(form);
  if (!frame.open()) return {};
  run_modal_until([&frame] { return frame.done(); }, [&frame] { frame.cancel(); });
  return form.take_answer();
}

}  // namespace quiren::win32
