#include "tray/passlist/win32/password_list_frame.h"

#include <algorithm>
#include <utility>

#include "tray/passlist/password_list_layout.h"
#include "tray/win32kit/controls.h"

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

bool PasswordListFrame::open() {
  if (!window_.create(*this, {.window_class = kClassName, .style = kStyle, .ex_style = kExStyle,
                              .caption = logic_.caption(), .owner = hidden_owner(), .font_points = kFontPoints})) {
    return false;
  }
  create_controls();

  logic_.load();
  if (logic_.closed()) {
    window_.destroy();
    return false;
  }
  // The chooser's window ends above the buttons, which it has no use for.
  const int client_height = logic_.client_height_twips().value_or(layout::kClientHeight);
  if (logic_.chooser()) {
    for (HWND button : buttons_) ShowWindow(button, SW_HIDE);
  }
  size_and_centre(hwnd(), layout::kClientWidth, client_height, window_.dpi());
  sync();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(list_);
  return true;
}

void PasswordListFrame::bring_to_front() {
  if (!window_) return;
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void PasswordListFrame::create_controls() {
  for (const layout::ControlLayout& c : layout::kControls) {
    ChildArgs args{.text = c.caption, .id = c.id, .place = c.rect, .font = window_.font()};
    switch (c.kind) {
      case layout::ControlKind::label:
        args.style = SS_LEFT | SS_NOPREFIX;
        break;
      case layout::ControlKind::list_box:
        args.window_class = L"LISTBOX";
        args.style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER;
        args.ex_style = WS_EX_CLIENTEDGE;
        break;
      case layout::ControlKind::check_box:
        args.window_class = L"BUTTON";
        args.style = WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
      case layout::ControlKind::button:
        args.window_class = L"BUTTON";
        args.style = WS_TABSTOP | BS_PUSHBUTTON;
        break;
    }
    HWND control = make_child(hwnd(), args, window_.dpi());
    if (c.id == layout::kListId) list_ = control;
    if (c.id == layout::kDescriptionId) info_ = control;
    if (c.id == layout::kShowPasswordsId) show_box_ = control;
    if (c.kind == layout::ControlKind::button) buttons_.push_back(control);
  }
  ListSubclass::attach(list_, this);
}

int PasswordListFrame::list_selection() const {
  return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
}

template <typename Step>
void PasswordListFrame::run_modal_step(Step step) {
  HWND focus = GetFocus();
  bool had_focus = focus && (focus == hwnd() || IsChild(hwnd(), focus));
  ++modal_depth_;
  EnableWindow(hwnd(), FALSE);
  step();
  EnableWindow(hwnd(), TRUE);
  --modal_depth_;
  if (had_focus && window_) {
    SetForegroundWindow(hwnd());
    SetFocus(IsWindowEnabled(focus) ? focus : list_);
  }
}

void PasswordListFrame::sync() {
  if (!window_) return;
  set_window_text(hwnd(), logic_.caption());
  show_lines();
  if (list_selection() != logic_.selected()) {
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(logic_.selected()), 0);
  }
  set_window_text(info_, logic_.info_text());
  SendMessageW(show_box_, BM_SETCHECK, logic_.passwords_shown() ? BST_CHECKED : BST_UNCHECKED, 0);
  for (HWND button : buttons_) EnableWindow(button, logic_.buttons_enabled());
}

void PasswordListFrame::show_lines() {
  std::vector<block::SecretText> lines = logic_.lines();
  const bool same = std::equal(lines.begin(), lines.end(), shown_lines_.begin(), shown_lines_.end(),
                               [](const block::SecretText& a, const block::SecretText& b) { return a == b; });
  if (same) return;
  // The selection goes with the lines; sync() sets it again after.
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const block::SecretText& line : lines) {
    block::SecretText with_nul = line.copy();
    with_nul.push_back(u'\0');
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(with_nul.data()));
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  shown_lines_ = std::move(lines);
}

void PasswordListFrame::close_if_done() {
  if (!window_) return;
  if (close_pending_ && modal_depth_ == 0) {
    close_pending_ = false;
    run_modal_step([this] { logic_.unload(); });
  }
  if (logic_.closed() && modal_depth_ == 0) window_.destroy();
}

void PasswordListFrame::after_nc_destroy() {
  list_ = nullptr;
  info_ = nullptr;
  show_box_ = nullptr;
  buttons_.clear();
  shown_lines_.clear();
  // The window may close inside a message sent from another thread, which
  // GetMessage handles without returning; a posted message wakes the loop
  // waiting for this window to close.
  PostMessageW(nullptr, WM_NULL, 0, 0);
}

LRESULT PasswordListFrame::list_message(HWND list, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYUP && window_) {
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
      } else if (code == BN_CLICKED && id == layout::kShowPasswordsId) {
        logic_.show_passwords(SendMessageW(show_box_, BM_GETCHECK, 0, 0) == BST_CHECKED);
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
  return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace quiren::win32
