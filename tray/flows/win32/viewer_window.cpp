#include "tray/flows/win32/viewer_window.h"

#include <windowsx.h>

#include <algorithm>

#include "tray/flows/flow_messages.h"
#include "tray/shell/desktop.h"
#include "tray/shell/win32/clipboard.h"
#include "tray/shell/win32/wide_text.h"

namespace quiren::win32 {
namespace {

constexpr DWORD kTextBoxStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL;

enum MenuCommand : UINT { kUndo = 1, kCut, kCopy, kPaste, kDelete, kSelectAll };

}  // namespace

ViewerWindow::ViewerWindow(ProgramState& state, Desktop& desktop)
    : desktop_(desktop), logic_(state, desktop) {}

ViewerWindow::~ViewerWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void ViewerWindow::show() {
  if (hwnd_) {
    // Already open: to the front, nothing reloaded.
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    return;
  }
  logic_.Form_Load();
  create();
}

void ViewerWindow::create() {
  static const ATOM window_class = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc::of<ViewerWindow>;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  (void)window_class;
  twips_ = desktop_.twips_per_pixel();
  const TwipsSize outer = logic_.outer_size();
  hwnd_ = CreateWindowExW(0, kClassName, to_wide(Frmprint::kCaption).c_str(), WS_OVERLAPPEDWINDOW,
                          CW_USEDEFAULT, CW_USEDEFAULT, outer.width / twips_.x, outer.height / twips_.y,
                          nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    logic_.Form_Unload();
    return;
  }

  text_box_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kTextBoxStyle, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextBoxId)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(text_box_, EM_SETLIMITTEXT, 0, 0);
  // Copying out of the viewer goes through copy_selection().
  SetWindowLongPtrW(text_box_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  text_box_default_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      text_box_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ViewerWindow::text_box_proc)));

  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(Frmprint::kFontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                      to_wide(Frmprint::kFontName).c_str());
  SendMessageW(text_box_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  on_size(SIZE_RESTORED);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
}

std::u16string ViewerWindow::text() const {
  if (!text_box_) return logic_.text();
  const int length = GetWindowTextLengthW(text_box_);
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(text_box_, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(std::max(got, 0)));
  return from_wide(buffer);
}

void ViewerWindow::set_text(std::u16string_view text) {
  logic_.set_text(text);
  if (text_box_) SetWindowTextW(text_box_, to_wide(text).c_str());
}

void ViewerWindow::close() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT ViewerWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (text_box_) on_size(wparam);
      return 0;
    case WM_SETFOCUS:
      if (text_box_) SetFocus(text_box_);
      return 0;
    case WM_DESTROY:
      on_destroy();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

void ViewerWindow::on_size(WPARAM kind) {
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  const TwipsSize size{(outer.right - outer.left) * twips_.x, (outer.bottom - outer.top) * twips_.y};
  WindowState state = WindowState::normal;
  if (kind == SIZE_MINIMIZED) state = WindowState::minimized;
  if (kind == SIZE_MAXIMIZED) state = WindowState::maximized;
  logic_.Form_Resize(size, state);
  if (text_box_ && state != WindowState::minimized) {
    const TwipsSize box = logic_.text_box_size();
    MoveWindow(text_box_, 0, 0, box.width / twips_.x, box.height / twips_.y, TRUE);
  }
}

void ViewerWindow::on_destroy() {
  // A window closed minimised or maximised stores the size it restores to.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(hwnd_, &placement)) {
    const RECT& normal = placement.rcNormalPosition;
    logic_.note_restored_size(
        {(normal.right - normal.left) * twips_.x, (normal.bottom - normal.top) * twips_.y});
  }
  logic_.set_text(text());
  logic_.Form_Unload();
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  text_box_ = nullptr;
  if (font_) DeleteObject(font_);
  font_ = nullptr;
}

bool ViewerWindow::copy_selection() {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(text_box_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (end <= start) return false;
  const std::u16string all = text();
  if (start >= all.size()) return false;
  const std::u16string selected = all.substr(start, std::min<std::size_t>(end, all.size()) - start);
  put_private_clipboard_text(hwnd_, selected);
  return true;
}

void ViewerWindow::context_menu(LPARAM where) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(text_box_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const UINT if_selected = end > start ? MF_ENABLED : MF_GRAYED;
  HMENU menu = CreatePopupMenu();
  auto add = [&](UINT id, std::u16string_view caption, UINT flags) {
    AppendMenuW(menu, MF_STRING | flags, id, to_wide(caption).c_str());
  };
  add(kUndo, flow_text::kMenuUndo, SendMessageW(text_box_, EM_CANUNDO, 0, 0) ? MF_ENABLED : MF_GRAYED);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kCut, flow_text::kMenuCut, if_selected);
  add(kCopy, flow_text::kMenuCopy, if_selected);
  add(kPaste, flow_text::kMenuPaste, IsClipboardFormatAvailable(CF_UNICODETEXT) ? MF_ENABLED : MF_GRAYED);
  add(kDelete, flow_text::kMenuDelete, if_selected);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kSelectAll, flow_text::kMenuSelectAll, MF_ENABLED);

  POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  if (at.x == -1 && at.y == -1) {  // from the keyboard
    at = {0, 0};
    ClientToScreen(text_box_, &at);
  }
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr));
  DestroyMenu(menu);
  switch (command) {
    case kUndo: SendMessageW(text_box_, WM_UNDO, 0, 0); break;
    case kCut: SendMessageW(text_box_, WM_CUT, 0, 0); break;
    case kCopy: SendMessageW(text_box_, WM_COPY, 0, 0); break;
    case kPaste: SendMessageW(text_box_, WM_PASTE, 0, 0); break;
    case kDelete: SendMessageW(text_box_, WM_CLEAR, 0, 0); break;
    case kSelectAll: SendMessageW(text_box_, EM_SETSEL, 0, -1); break;
    default: break;
  }
}

LRESULT CALLBACK ViewerWindow::text_box_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<ViewerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    // Decrypted text must not land in the clipboard history or the cloud.
    if (message == WM_COPY) {
      self->copy_selection();
      return 0;
    }
    if (message == WM_CUT) {
      if (self->copy_selection()) SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
      return 0;
    }
    // The edit control's own menu may copy without sending WM_COPY.
    if (message == WM_CONTEXTMENU) {
      self->context_menu(lparam);
      return 0;
    }
    return CallWindowProcW(self->text_box_default_, hwnd, message, wparam, lparam);
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace quiren::win32
