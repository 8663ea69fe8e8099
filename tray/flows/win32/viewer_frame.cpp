#include "tray/flows/win32/viewer_frame.h"

#include <windowsx.h>

#include <algorithm>

#include "tray/core/win32/clipboard.h"
#include "tray/flows/flow_texts.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/edit_box.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/owned_handle.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

constexpr DWORD kTextBoxStyle =
    WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL;

enum MenuCommand : UINT { kUndo = 1, kCut, kCopy, kPaste, kDelete, kSelectAll };

constexpr int kStatusIndent = 90;  // twips

}  // namespace

ViewerFrame::ViewerFrame(Desktop& desktop) : logic_(desktop) {}

ViewerFrame::~ViewerFrame() = default;

void ViewerFrame::show() {
  if (window_) {
    // Already open: to the front, nothing reloaded.
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    SetForegroundWindow(hwnd());
    return;
  }
  logic_.load();
  create();
}

void ViewerFrame::create() {
  if (!window_.create(*this, {.window_class = kClassName, .style = WS_OVERLAPPEDWINDOW,
                              .caption = ViewerForm::kCaption, .font_points = ViewerForm::kFontPoints,
                              .outer = logic_.outer_size()})) {
    logic_.unload();
    return;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  text_box_ = make_child(hwnd, {.window_class = L"EDIT", .style = kTextBoxStyle, .ex_style = WS_EX_CLIENTEDGE,
                                .id = kTextBoxId, .font = window_.font()},
                         dpi);
  SendMessageW(text_box_, EM_SETLIMITTEXT, 0, 0);
  status_font_ = make_ui_font(ViewerForm::kStatusFontPoints, dpi);
  status_line_ = make_child(hwnd, {.text = logic_.status_line(), .style = SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                                   .id = kStatusLineId, .font = status_font_.get()},
                            dpi);
  // Copying out of the viewer goes through copy_selection().
  TextBoxSubclass::attach(text_box_, this);

  on_size(SIZE_RESTORED);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
}

std::u16string ViewerFrame::text() const { return text_box_ ? window_text(text_box_) : logic_.text(); }

void ViewerFrame::set_text(std::u16string_view text) {
  logic_.set_text(text);
  if (text_box_) set_window_text(text_box_, text);
}

void ViewerFrame::set_formats(BlockFormats formats) {
  logic_.set_formats(formats);
  if (status_line_) set_window_text(status_line_, logic_.status_line());
}

void ViewerFrame::close() { window_.destroy(); }

LRESULT ViewerFrame::handle(UINT message, WPARAM wparam, LPARAM lparam) {
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
      return DefWindowProcW(hwnd(), message, wparam, lparam);
  }
}

TwipsSize ViewerFrame::twips_of(const RECT& outer) const {
  const Dpi dpi = window_.dpi();
  return {twips_from_px(outer.right - outer.left, dpi.x), twips_from_px(outer.bottom - outer.top, dpi.y)};
}

void ViewerFrame::on_size(WPARAM kind) {
  RECT outer{};
  GetWindowRect(hwnd(), &outer);
  WindowState state = WindowState::normal;
  if (kind == SIZE_MINIMIZED) state = WindowState::minimized;
  if (kind == SIZE_MAXIMIZED) state = WindowState::maximized;
  logic_.resize(twips_of(outer), state);
  if (text_box_ && state != WindowState::minimized) {
    const Dpi dpi = window_.dpi();
    const TwipsSize box = logic_.text_box_size();
    MoveWindow(text_box_, 0, 0, px_from_twips(box.width, dpi.x), px_from_twips(box.height, dpi.y), TRUE);
    const TwipsRect status = logic_.status_line_place();
    // A little room on the left, so the words do not touch the frame.
    const int indent = px_from_twips(kStatusIndent, dpi.x);
    MoveWindow(status_line_, indent, px_from_twips(status.top, dpi.y),
               std::max(0, px_from_twips(status.width, dpi.x) - indent), px_from_twips(status.height, dpi.y), TRUE);
  }
}

void ViewerFrame::on_destroy() {
  // A window closed minimised or maximised stores the size it restores to.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(hwnd(), &placement)) logic_.note_restored_size(twips_of(placement.rcNormalPosition));
  // The edit control keeps its text in a buffer of its own, freed but not
  // cleared when the window goes.
  wipe_edit_box(text_box_);
  logic_.unload();
  text_box_ = nullptr;
  status_line_ = nullptr;
}

bool ViewerFrame::copy_selection() {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(text_box_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (end <= start) return false;
  // A decrypted text: read and cut out without a copy that is not wiped.
  const block::SecretText all = read_secret_text(text_box_);
  if (start >= all.size()) return false;
  put_private_clipboard_text(hwnd(), all.view().substr(start, std::min<std::size_t>(end, all.size()) - start));
  return true;
}

void ViewerFrame::context_menu(LPARAM where) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(text_box_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const UINT if_selected = end > start ? MF_ENABLED : MF_GRAYED;
  const ScopedMenu menu(CreatePopupMenu());
  if (!menu) return;
  auto add = [&](UINT id, std::u16string_view caption, UINT flags) {
    AppendMenuW(menu.get(), MF_STRING | flags, id, to_wide(caption).c_str());
  };
  add(kUndo, flows::texts::kMenuUndo, SendMessageW(text_box_, EM_CANUNDO, 0, 0) ? MF_ENABLED : MF_GRAYED);
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  add(kCut, flows::texts::kMenuCut, if_selected);
  add(kCopy, flows::texts::kMenuCopy, if_selected);
  add(kPaste, flows::texts::kMenuPaste, IsClipboardFormatAvailable(CF_UNICODETEXT) ? MF_ENABLED : MF_GRAYED);
  add(kDelete, flows::texts::kMenuDelete, if_selected);
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  add(kSelectAll, flows::texts::kMenuSelectAll, MF_ENABLED);

  POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  if (at.x == -1 && at.y == -1) {  // from the keyboard
    at = {0, 0};
    ClientToScreen(text_box_, &at);
  }
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr));
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

LRESULT ViewerFrame::text_box_message(HWND text_box, UINT message, WPARAM wparam, LPARAM lparam) {
  // Decrypted text must not land in the clipboard history or the cloud.
  switch (message) {
    case WM_COPY:
      copy_selection();
      return 0;
    case WM_CUT:
      if (copy_selection()) SendMessageW(text_box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
      return 0;
    case WM_CONTEXTMENU:
      // The edit control's own menu may copy without sending WM_COPY.
      context_menu(lparam);
      return 0;
    default:
      return DefSubclassProc(text_box, message, wparam, lparam);
  }
}

}  // namespace quiren::win32
