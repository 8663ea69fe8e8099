#include "tray/passlist/win32/password_list_frame.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "tray/passlist/password_list_layout.h"
#include "tray/shell/win32/screen_metrics.h"

namespace quiren::win32 {
namespace {

namespace layout = passlist_layout;

constexpr wchar_t kClassName[] = L"quiren_frmeditpass";
constexpr UINT_PTR kListSubclassId = 1;

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

int px(int twips, int twips_per_pixel) {
  return MulDiv(twips, 1, std::max(1, twips_per_pixel));
}

int CALLBACK font_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool font_installed(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &query, font_found, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// The designed face first; where it is missing (Wine) a face with Japanese
// glyphs, then the system's message font.
HFONT make_font() {
  static constexpr std::array<const wchar_t*, 4> kFaces = {
      L"ＭＳ Ｐゴシック", L"MS PGothic", L"IPAPGothic", L"IPAGothic"};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  HDC dc = GetDC(nullptr);
  font.lfHeight = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(nullptr, dc);
  for (const wchar_t* face : kFaces) {
    if (font_installed(face)) {
      lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
      font.lfCharSet = SHIFTJIS_CHARSET;
      break;
    }
  }
  return CreateFontIndirectW(&font);
}

// Owned windows get no task-bar button; this hidden one owns them all.
HWND owner_window() {
  static HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  return owner;
}

void register_class(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  registered = RegisterClassExW(&wc) != 0;
}

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

PasswordListFrame::PasswordListFrame(ProgramState& state, Desktop& desktop)
    : state_(state), desktop_(desktop), logic_(state, desktop) {}

PasswordListFrame::~PasswordListFrame() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

bool PasswordListFrame::open() {
  register_class(WindowProc::of<PasswordListFrame>);
  TwipsPerPixel tpp = desktop_.twips_per_pixel();
  RECT outer{0, 0, px(layout::kClientWidth, tpp.x), px(layout::kClientHeight, tpp.y)};
  AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
  hwnd_ = CreateWindowExW(kExStyle, kClassName, wide(logic_.caption()).c_str(), kStyle, 0, 0,
                          outer.right - outer.left, outer.bottom - outer.top, owner_window(),
                          nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  font_ = make_font();
  create_controls();

  logic_.Form_Load();
  if (logic_.closed()) {
    DestroyWindow(hwnd_);
    return false;
  }
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  if (auto h = logic_.outer_height_twips()) height = px(*h, tpp.y);
  const POINT at = centred_on_work_area(width, height);
  SetWindowPos(hwnd_, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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
  TwipsPerPixel tpp = desktop_.twips_per_pixel();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const layout::ControlLayout& c : layout::kControls) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD ex_style = 0;
    switch (c.kind) {
      case layout::ControlKind::label:
        // Label1's designed rectangle reaches into the list box; a label is
        // painted as if beneath the other controls, so it is clipped by them.
        style |= SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS;
        break;
      case layout::ControlKind::list_box:
        cls = L"LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER;
        ex_style = WS_EX_CLIENTEDGE;
        break;
      case layout::ControlKind::button:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    }
    HWND control = CreateWindowExW(
        ex_style, cls, wide(c.caption).c_str(), style, px(c.rect.left, tpp.x),
        px(c.rect.top, tpp.y), px(c.rect.width, tpp.x), px(c.rect.height, tpp.y), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (c.id == layout::kList1Id) list_ = control;
    if (c.id == layout::kInfoId) info_ = control;
    if (c.kind == layout::ControlKind::button) buttons_.push_back(control);
    if (c.kind == layout::ControlKind::label) {
      // Labels take no focus, so moving them down leaves the tab order as is.
      SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  SetWindowSubclass(list_, list_proc, kListSubclassId, reinterpret_cast<DWORD_PTR>(this));
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
  SetWindowTextW(hwnd_, wide(logic_.caption()).c_str());
  if (shown_lines_ != logic_.lines()) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const std::u16string& line : logic_.lines()) {
      SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(line).c_str()));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    shown_lines_ = logic_.lines();
  }
  if (list_selection() != logic_.selected()) {
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(logic_.selected()), 0);
  }
  SetWindowTextW(info_, wide(logic_.info_text()).c_str());
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
  // The window may close inside a message sent from another thread, which
  // GetMessage handles without returning; a posted message wakes the loop
  // waiting for this window to close.
  PostMessageW(nullptr, WM_NULL, 0, 0);
}

LRESULT CALLBACK PasswordListFrame::list_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                              DWORD_PTR data) {
  auto* self = reinterpret_cast<PasswordListFrame*>(data);
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, list_proc, kListSubclassId);
  if (msg == WM_KEYUP && self->hwnd_) {
    LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    self->logic_.List1_KeyUp(static_cast<int>(wp), self->list_selection());
    self->sync();
    self->close_if_done();
    return result;
  }
  if (msg == WM_GETDLGCODE && lp) {
    // Let Enter reach the list instead of being turned into a default
    // button press; its key-up is what picks.
    const MSG* key = reinterpret_cast<const MSG*>(lp);
    if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT PasswordListFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp);
      int code = HIWORD(wp);
      if (id == layout::kList1Id && code == LBN_SELCHANGE) {
        logic_.List1_Click(list_selection());
      } else if (id == layout::kList1Id && code == LBN_DBLCLK) {
        logic_.List1_DblClick(list_selection());
      } else if (code == BN_CLICKED && id == layout::kAddId) {
        run_modal_step([this] { logic_.Command1_Click(); });
      } else if (code == BN_CLICKED && id == layout::kDeleteId) {
        logic_.Command2_Click();
      } else if (code == BN_CLICKED && id == layout::kSaveId) {
        run_modal_step([this] { logic_.Command3_Click(); });
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
