#include "tray/keys/win32/key_offer_frame.h"

#include <windows.h>

#include <string>

#include "tray/core/shared_texts.h"
#include "tray/core/win32/prompt_window.h"
#include "tray/keys/key_texts.h"
#include "tray/keys/win32/key_window_ids.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/owned_window.h"
#include "tray/win32kit/thread_messages.h"

namespace quiren::win32 {
namespace {

namespace layout = prompt_window;

// Wider than a prompt, so that a line of digits reads as one.
inline constexpr int kWidth = 6600;
inline constexpr int kInner = kWidth - 2 * layout::kMargin;
inline constexpr int kLabelWidth = 1000;
inline constexpr int kDigitsPoints = 16;

// Three groups a line: read aloud, they are taken in turns.
std::u16string digits_in_two_lines(std::u16string_view digits) {
  std::u16string text(digits);
  std::size_t space = 0;
  for (int group = 0; group < 3 && space != std::u16string::npos; ++group) space = text.find(u' ', space + 1);
  if (space != std::u16string::npos) text.replace(space, 1, u"\r\n");
  return text;
}

class KeyOfferFrame {
 public:
  explicit KeyOfferFrame(keys::KeyOfferForm& form) : form_(form) {}

  bool open();
  bool done() const { return !window_; }
  void cancel() {
    if (window_) window_.destroy();
  }

 private:
  friend class quiren::win32::WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void accept();

  keys::KeyOfferForm& form_;
  ScopedFont digits_font_;
  OwnedWindow window_;
};

bool KeyOfferFrame::open() {
  if (!window_.create(*this, {.window_class = kKeyOfferClass, .style = layout::kStyle, .ex_style = layout::kExStyle,
                              .caption = keys::texts::kOfferTitle, .font_points = layout::kFontPoints})) {
    return false;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  HFONT font = window_.font();
  digits_font_ = make_ui_font(kDigitsPoints, dpi);
  const int m = layout::kMargin;
  const int field_left = m + kLabelWidth + layout::kGap;
  const int field_width = kWidth - m - field_left;

  int top = m;
  make_child(hwnd, {.text = keys::texts::kOfferName, .style = SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                    .id = kOfferNameLabelId, .place = {m, top, kLabelWidth, layout::kEditHeight}, .font = font},
             dpi);
  HWND name = make_child(hwnd, {.window_class = L"EDIT", .text = form_.name(), .style = WS_TABSTOP | ES_AUTOHSCROLL,
                                .ex_style = WS_EX_CLIENTEDGE, .id = kOfferNameEditId,
                                .place = {field_left, top, field_width, layout::kEditHeight}, .font = font},
                         dpi);
  top += layout::kEditHeight + layout::kGap;

  const std::u16string digits = digits_in_two_lines(form_.digits());
  const int digits_height = layout::label_height(digits, digits_font_.get(), dpi, field_width);
  make_child(hwnd, {.text = keys::texts::kOfferDigits, .style = SS_LEFT | SS_NOPREFIX, .id = kOfferDigitsLabelId,
                    .place = {m, top, kLabelWidth, layout::kEditHeight}, .font = font},
             dpi);
  make_child(hwnd, {.text = digits, .style = SS_LEFT | SS_NOPREFIX, .id = kOfferDigitsId,
                    .place = {field_left, top, field_width, digits_height}, .font = digits_font_.get()},
             dpi);
  top += digits_height + layout::kGap;

  const int advice_height = layout::label_height(keys::texts::kOfferAdvice, font, dpi, kInner);
  make_child(hwnd, {.text = keys::texts::kOfferAdvice, .style = SS_LEFT | SS_NOPREFIX, .id = kOfferAdviceId,
                    .place = {m, top, kInner, advice_height}, .font = font},
             dpi);
  top += advice_height + layout::kGap;

  const std::u16string warning = form_.warning();
  if (!warning.empty()) {
    const int warning_height = layout::label_height(warning, font, dpi, kInner);
    make_child(hwnd, {.text = warning, .style = SS_LEFT | SS_NOPREFIX, .id = kOfferWarningId,
                      .place = {m, top, kInner, warning_height}, .font = font},
               dpi);
    top += warning_height + layout::kGap;
  }

  make_child(hwnd, {.window_class = L"BUTTON", .text = keys::texts::kOfferConfirmed,
                    .style = WS_TABSTOP | BS_AUTOCHECKBOX, .id = kOfferConfirmedId,
                    .place = {m, top, kInner, layout::kCheckHeight}, .font = font},
             dpi);
  top += layout::kCheckHeight + layout::kButtonGap;

  const TwipsRect cancel{kWidth - m - layout::kButtonWidth, top, layout::kButtonWidth, layout::kButtonHeight};
  const TwipsRect accept{cancel.left - layout::kGap - layout::kButtonWidth, top, layout::kButtonWidth,
                         layout::kButtonHeight};
  make_child(hwnd, {.window_class = L"BUTTON", .text = form_.accept_label(), .style = WS_TABSTOP | BS_DEFPUSHBUTTON,
                    .id = kOfferAcceptId, .place = accept, .font = font},
             dpi);
  make_child(hwnd, {.window_class = L"BUTTON", .text = core::texts::kButtonCancel,
                    .style = WS_TABSTOP | BS_PUSHBUTTON, .id = kOfferCancelId, .place = cancel, .font = font},
             dpi);
  size_and_centre(hwnd, kWidth, top + layout::kButtonHeight + m, dpi);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
  SetFocus(name);
  return true;
}

void KeyOfferFrame::accept() {
  HWND hwnd = window_.get();
  form_.set_name(window_text(GetDlgItem(hwnd, kOfferNameEditId)));
  form_.set_confirmed(IsDlgButtonChecked(hwnd, kOfferConfirmedId) == BST_CHECKED);
  if (form_.accept()) window_.destroy();
}

LRESULT KeyOfferFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kOfferAcceptId) {
        accept();
        return 0;
      }
      if (LOWORD(wp) == kOfferCancelId) {
        window_.destroy();
        return 0;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kOfferAcceptId, DC_HASDEFID);
    case WM_CLOSE:
      window_.destroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), msg, wp, lp);
}

}  // namespace

void Win32KeyOfferWindow::run(keys::KeyOfferForm& form) {
  KeyOfferFrame frame(form);
  if (!frame.open()) return;
  run_modal_until([&frame] { return frame.done(); }, [&frame] { frame.cancel(); });
}

}  // namespace quiren::win32
