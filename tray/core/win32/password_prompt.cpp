#include "tray/core/win32/password_prompt.h"

#include <windows.h>

#include "tray/core/password_prompt_form.h"
#include "tray/core/shared_texts.h"
#include "tray/core/win32/message_box.h"
#include "tray/core/win32/password_field.h"
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

// The prompt window; its logic is PasswordPromptForm. Whatever way it
// closes, both fields are wiped before they go.
class PasswordPromptFrame {
 public:
  explicit PasswordPromptFrame(PasswordPromptForm& form) : form_(form) {}
  ~PasswordPromptFrame() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  PasswordPromptFrame(const PasswordPromptFrame&) = delete;
  PasswordPromptFrame& operator=(const PasswordPromptFrame&) = delete;

  bool open();
  bool done() const { return hwnd_ == nullptr; }

 private:
  friend class quiren::win32::WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void ok();
  void show_form();
  HWND item(int id) const { return GetDlgItem(hwnd_, id); }

  PasswordPromptForm& form_;
  HWND hwnd_ = nullptr;
  Dpi dpi_;
  ScopedFont font_;
  wchar_t mask_ = L'*';
};

bool PasswordPromptFrame::open() {
  if (!register_window_class(kPasswordPromptClass, WindowProc::of<PasswordPromptFrame>, face_brush())) {
    return false;
  }
  dpi_ = screen_dpi();
  font_ = make_ui_font(layout::kFontPoints, dpi_);
  HFONT font = font_.get();

  hwnd_ = CreateWindowExW(layout::kExStyle, kPasswordPromptClass, to_wide(form_.title()).c_str(), layout::kStyle, 0,
                          0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;

  const ChildArgs field{.window_class = L"EDIT", .style = WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
                        .ex_style = WS_EX_CLIENTEDGE, .font = font};
  int top = layout::kMargin;
  const int label_height = layout::label_height(form_.prompt(), font, dpi_, layout::kInner);
  make_child(hwnd_, {.text = form_.prompt(), .style = SS_LEFT | SS_NOPREFIX, .id = kPromptLabelId,
                     .place = {layout::kMargin, top, layout::kInner, label_height}, .font = font}, dpi_);
  top += label_height + layout::kGap;
  ChildArgs password = field;
  password.id = kPromptEditId;
  password.place = {layout::kMargin, top, layout::kInner, layout::kEditHeight};
  HWND password_box = make_child(hwnd_, password, dpi_);
  top += layout::kEditHeight + layout::kGap;

  if (form_.asks_confirmation()) {
    const int again_height = layout::label_height(core::texts::kConfirmPassword, font, dpi_, layout::kInner);
    make_child(hwnd_, {.text = core::texts::kConfirmPassword, .style = SS_LEFT | SS_NOPREFIX,
                       .id = kPromptConfirmLabelId, .place = {layout::kMargin, top, layout::kInner, again_height},
                       .font = font}, dpi_);
    top += again_height + layout::kGap;
    ChildArgs again = field;
    again.id = kPromptConfirmEditId;
    again.place = {layout::kMargin, top, layout::kInner, layout::kEditHeight};
    make_child(hwnd_, again, dpi_);
    top += layout::kEditHeight + layout::kGap;
  }

  make_child(hwnd_, {.window_class = L"BUTTON", .text = core::texts::kShowPassword,
                     .style = WS_TABSTOP | BS_AUTOCHECKBOX, .id = kPromptShowCheckId,
                     .place = {layout::kMargin, top, layout::kInner, layout::kCheckHeight}, .font = font}, dpi_);
  top += layout::kCheckHeight;

  // The character the system masks with (a dot with visual styles, "*"
  // without), for masking again after the show box.
  if (const auto mask = static_cast<wchar_t>(SendMessageW(password_box, EM_GETPASSWORDCHAR, 0, 0))) mask_ = mask;
  const int client_height = layout::add_buttons(hwnd_, top + layout::kButtonGap, font, dpi_);
  show_form();
  layout::show(hwnd_, client_height, dpi_, password_box);
  return true;
}

void PasswordPromptFrame::show_form() {
  const bool shown = form_.password_shown();
  SendMessageW(item(kPromptShowCheckId), BM_SETCHECK, shown ? BST_CHECKED : BST_UNCHECKED, 0);
  show_password_field(item(kPromptEditId), shown, mask_);
  if (HWND again = item(kPromptConfirmEditId)) {
    EnableWindow(again, form_.confirmation_enabled());
    EnableWindow(item(kPromptConfirmLabelId), form_.confirmation_enabled());
  }
}

void PasswordPromptFrame::ok() {
  HWND password_box = item(kPromptEditId);
  HWND again = item(kPromptConfirmEditId);
  const block::SecretText confirmation = again ? read_password_field(again) : block::SecretText();
  if (form_.ok(read_password_field(password_box), confirmation) == PasswordPromptForm::Ok::differs) {
    // Owned by the prompt, so nothing in it can be pressed meanwhile.
    show_message_box(hwnd_, {std::u16string(core::texts::kPasswordsDiffer), Buttons::ok, Icon::exclamation});
    wipe_password_field(password_box);
    wipe_password_field(again);
    SetFocus(password_box);
    return;
  }
  DestroyWindow(hwnd_);
}

LRESULT PasswordPromptFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kPromptOkId:
          ok();
          return 0;
        case kPromptCancelId:
          form_.cancel();
          DestroyWindow(hwnd_);
          return 0;
        case kPromptShowCheckId:
          if (HIWORD(wp) == BN_CLICKED) {
            form_.show_password(SendMessageW(item(kPromptShowCheckId), BM_GETCHECK, 0, 0) == BST_CHECKED);
            show_form();
          }
          return 0;
        default:
          break;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kPromptOkId, DC_HASDEFID);
    case WM_CLOSE:
      form_.cancel();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      // The children still exist here, whatever closed the window.
      wipe_password_field(item(kPromptEditId));
      wipe_password_field(item(kPromptConfirmEditId));
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace

block::SecretText run_password_prompt(const PasswordQuestion& question) {
  PasswordPromptForm form(question);
  PasswordPromptFrame frame(form);
  if (!frame.open()) return {};
  layout::run_until([&frame] { return frame.done(); });
  if (!form.closed()) form.cancel();
  return form.take_answer();
}

}  // namespace quiren::win32
