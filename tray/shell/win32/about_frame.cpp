#include "tray/shell/win32/about_frame.h"

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/dpi.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/wide_text.h"
#include "tray/win32kit/window_class.h"

namespace quiren::win32 {
namespace {

constexpr int kClientWidth = 7200;
constexpr int kClientHeight = 3600;

}  // namespace

AboutFrame::AboutFrame(ProgramState& state) : logic_(state) {}

AboutFrame::~AboutFrame() { close(); }

void AboutFrame::show() {
  if (hwnd_) {
    SetForegroundWindow(hwnd_);
    return;
  }
  if (!register_window_class(kAboutClass, WindowProc::of<AboutFrame>, face_brush())) return;

  const Dpi dpi = screen_dpi();
  if (!font_) font_ = make_ui_font(12, dpi);
  if (!button_font_) button_font_ = make_ui_font(9, dpi);
  const std::wstring title = to_wide(shell::texts::kAboutTitle);
  hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kAboutClass, title.c_str(),
                          WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                          hidden_owner(), nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  size_and_centre(hwnd_, kClientWidth, kClientHeight, dpi);

  logic_.open();
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
  // OK first: it takes the focus and the tab order starts there.
  HWND ok = make_child(hwnd_, {.window_class = L"BUTTON", .text = shell::texts::kButtonOk,
                               .style = WS_TABSTOP | BS_DEFPUSHBUTTON, .id = IDOK, .place = {5700, 3060, 1260, 375},
                               .font = button_font_.get()}, dpi);
  HWND icon = make_child(hwnd_, {.style = SS_ICON, .id = kAboutIconId, .place = {240, 240, 480, 480}}, dpi);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(program_icon(32)), 0);
  make_child(hwnd_, {.text = logic_.title, .style = kLabel, .id = kAboutTitleId, .place = {1050, 240, 5000, 360},
                     .font = font_.get()}, dpi);
  make_child(hwnd_, {.text = shell::texts::kAboutRelease, .style = kLabel, .id = kAboutReleaseId,
                     .place = {1050, 620, 5000, 360}, .font = font_.get()}, dpi);
  make_child(hwnd_, {.text = shell::texts::kAboutAuthor, .style = kLabel, .id = kAboutAuthorId,
                     .place = {1050, 1080, 5000, 360}, .font = font_.get()}, dpi);
  make_child(hwnd_, {.text = shell::texts::kAboutContact, .style = kLabel, .id = kAboutContactId,
                     .place = {1050, 1500, 5000, 720}, .font = font_.get()}, dpi);
  make_child(hwnd_, {.text = shell::texts::kAboutStrong, .style = kLabel, .id = kAboutStrongId,
                     .place = {240, 2340, 6720, 360}, .font = font_.get()}, dpi);
  make_child(hwnd_, {.style = SS_ETCHEDHORZ, .place = {240, 2760, 6720, 30}}, dpi);
  make_child(hwnd_, {.text = shell::texts::kAboutCredits, .style = kLabel, .id = kAboutCreditsId,
                     .place = {240, 2940, 5280, 600}, .font = font_.get()}, dpi);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(ok);
}

void AboutFrame::close() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT AboutFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // OK, Enter (IDOK) and Escape (IDCANCEL) all close the window.
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) close();
      return 0;
    case WM_DESTROY:
      logic_.close();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace quiren::win32
