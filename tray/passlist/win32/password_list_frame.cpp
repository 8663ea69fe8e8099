#include "tray/passlist/win32/password_list_frame.h"

#include "block/secure_wipe.h"
#include "tray/passlist/password_list_layout.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/wide_text.h"
#include "tray/win32kit/window_class.h"

namespace quiren::win32 {
namespace {

namespace layout = passlist::layout;

constexpr wchar_t kClassName[] = L"quiren_frmeditpass";
constexpr int kFontPoints = 9;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

PasswordListFrame::PasswordListFrame(PasswordListMode mode, Busy& busy, Desktop& desktop)
    : logic_(mode, busy, desktop) {}

PasswordListFrame::~PasswordListFrame() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool PasswordListFrame::open() {
  if (!register_window_class(kClassName, WindowProc::of<PasswordListFrame>, face_brush())) return false;
  dpi_ = screen_dpi();
  hwnd_ = CreateWindowExW(kExStyle, kClassName, to_wide(logic_.caption()).c_str(), kStyle, 0, 0, 0, 0,
                          hidden_owner(), nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  font_ = make_ui_font(kFontPoints, dpi_);
  create_controls();

  logic_.load();
  if (logic_.closed()) {
    DestroyWindow(hwnd_);
    return false;
  }
  size_and_centre(hwnd_, layout::kClientWidth, layout::kClientHeight, dpi_);
  if (auto height = logic_.outer_height_twips()) {
    // The chooser cuts the window off below the list: the button row falls
    // outside it.
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int outer_height = px_from_twips(*height, dpi_.y);
    const POINT at = centred_on_work_area(r.right - r.left, outer_height);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, r.right - r.left, outer_height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  sync();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(list_);
  return true;
}

void PasswordListFrame::bring_to_front() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void PasswordListFrame::create_controls() {
  for (const layout::ControlLayout& c : layout::kControls) {
    ChildArgs args{.text = c.caption, .id = c.id, .place = c.rect, .font = font_.get()};
    switch (c.kind) {
      case layout::ControlKind::label:
        // The list heading's designed rectangle reaches into the list box; a
        // label is painted as if beneath the other controls, so it is
        // clipped by them.
        args.style = SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS;
        break;
      case layout::ControlKind::list_box:
        args.window_class = L"LISTBOX";
        args.style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER;
        args.ex_style = WS_EX_CLIENTEDGE;
        break;
      case layout::ControlKind::button:
        args.window_class = L"BUTTON";
        args.style = WS_TABSTOP | BS_PUSHBUTTON;
        break;
    }
    HWND control = make_child(hwnd_, args, dpi_);
    if (c.id == layout::kListId) list_ = control;
    if (c.id == layout::kDescriptionId) info_ = control;
    if (c.kind == layout::ControlKind::button) buttons_.push_back(control);
    if (c.kind == layout::ControlKind::label) {
      // Labels take no focus, so moving them down leaves the tab order as is.
      SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  ListSubclass::attach(list_, this);
}

int PasswordListFrame::list_selection() const {
  return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
}

template <typename Step>
void PasswordListFrame::run_modal_step(Step step) {
  HWND focus = GetFocus();
  bool had_focus = focus && (focus == hwnd_ || IsChild(hwnd_, focus));
  ++modal_depth_;
  EnableWindow(hwnd_, FALSE);
  step();
  EnableWindow(hwnd_, TRUE);
  --modal_depth_;
  if (had_focus && hwnd_) {
    SetForegroundWindow(hwnd_);
    SetFocus(IsWindowEnabled(focus) ? focus : list_);
  }
}

void PasswordListFrame::sync() {
  if (!hwnd_) return;
  set_window_text(hwnd_, logic_.caption());
  if (shown_lines_ != logic_.lines()) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const std::u16string& line : logic_.lines()) {
      std::wstring wide = to_wide(line);
      SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
      block::wipe(wide);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    block::wipe_each(shown_lines_);
    shown_lines_ = logic_.lines();
  }
  if (list_selection() != logic_.selected()) {
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(logic_.selected()), 0);
  }
  set_window_text(info_, logic_.info_text());
  for (HWND button : buttons_) EnableWindow(button, logic_.buttons_enabled());
}

void PasswordListFrame::close_if_done() {
  if (!hwnd_) return;
  if (close_pending_ && modal_depth_ == 0) {
    close_pending_ = false;
    run_modal_step([this] { logic_.unload(); });
  }
  if (logic_.closed() && modal_depth_ == 0) DestroyWindow(hwnd_);
}

void PasswordListFrame::after_nc_destroy() {
  list_ = nullptr;
  info_ = nullptr;
  buttons_.clear();
  block::wipe_each(shown_lines_);
  // The window may close inside a message sent from another thread, which
  // GetMessage handles without returning; a posted message wakes the loop
  // waiting for this window to close.
  PostMessageW(nullptr, WM_NULL, 0, 0);
}

LRESULT PasswordListFrame::list_message(HWND list, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYUP && hwnd_) {
    LRESULT result = DefSubclassProc(list, msg, wp, lp);
    logic_.on_list_key_up(static_cast<int>(wp), list_selection());
    sync();
    close_if_done();
    return result;
  }
  if (msg == WM_GETDLGCODE && lp) {
    // Let Enter reach the list instead of being turned into a default
    // button press; its key-up is what picks.
    const MSG* key = reinterpret_cast<const MSG*>(lp);
    if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
  }
  return DefSubclassProc(list, msg, wp, lp);
}

LRESULT PasswordListFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp);
      int code = HIWORD(wp);
      if (id == layout::kListId && code == LBN_SELCHANGE) {
        logic_.on_list_click(list_selection());
      } else if (id == layout::kListId && code == LBN_DBLCLK) {
        logic_.on_list_double_click(list_selection());
      } else if (code == BN_CLICKED && id == layout::kAddId) {
        run_modal_step([this] { logic_.add(); });
      } else if (code == BN_CLICKED && id == layout::kDeleteId) {
        logic_.delete_selected();
      } else if (code == BN_CLICKED && id == layout::kSaveId) {
        run_modal_step([this] { logic_.save(); });
      } else {
        break;
      }
      sync();
      close_if_done();
      return 0;
    }
    case WM_CLOSE:
      close_pending_ = true;
      close_if_done();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace quiren::win32
