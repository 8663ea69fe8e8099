#include "tray/shell/win32/about_window.h"

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/wide_text.h"
#include "tray/shell/win32/window_kit.h"

namespace quiren::win32 {
namespace {

constexpr int kClientWidth = 6240;
constexpr int kClientHeight = 3000;

}  // namespace

AboutWindow::AboutWindow(ProgramState& state) : logic_(state) {}

AboutWindow::~AboutWindow() {
  close();
  if (font_) DeleteObject(font_);
  if (button_font_) DeleteObject(button_font_);
}

void AboutWindow::show() {
  if (hwnd_) {
    SetForegroundWindow(hwnd_);
    return;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static const ATOM registered = register_window_class(
      kAboutClass, WindowProc::of<AboutWindow>,
      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!registered) return;

  const Dpi dpi = screen_dpi();
  if (!font_) font_ = make_ui_font(12, dpi);
  if (!button_font_) button_font_ = make_ui_font(9, dpi);
  const std::wstring title = to_wide(texts::kAboutTitle);
  hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kAboutClass, title.c_str(),
                          WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                          hidden_owner(), nullptr, instance, this);
  if (!hwnd_) return;
  size_and_centre(hwnd_, kClientWidth, kClientHeight, dpi);

  logic_.Form_Load();
  // cmdOK first: it takes the focus and the tab order starts there.
  HWND ok = make_child(hwnd_, L"BUTTON", texts::kButtonOk, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                       {4800, 2460, 1260, 375}, dpi, button_font_);
  HWND icon = make_child(hwnd_, L"STATIC", u"", SS_ICON, kAboutIconId, {240, 240, 480, 480}, dpi, nullptr);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(program_icon(32)), 0);
  make_child(hwnd_, L"STATIC", logic_.lblTitle, SS_LEFT | SS_NOPREFIX, kAboutTitleId,
             {1050, 240, 5000, 360}, dpi, font_);
  make_child(hwnd_, L"STATIC", texts::kAboutAuthor, SS_LEFT | SS_NOPREFIX, kAboutVersionId,
             {1050, 720, 5000, 360}, dpi, font_);
  make_child(hwnd_, L"STATIC", texts::kAboutContact, SS_LEFT | SS_NOPREFIX, kAboutDescriptionId,
             {1050, 1140, 5000, 720}, dpi, font_);
  make_child(hwnd_, L"STATIC", u"", SS_ETCHEDHORZ, 0, {240, 2040, 5760, 30}, dpi, nullptr);
  make_child(hwnd_, L"STATIC", texts::kAboutCredits, SS_LEFT | SS_NOPREFIX, kAboutDisclaimerId,
             {240, 2220, 4440, 720}, dpi, font_);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(ok);
}

void AboutWindow::close() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT AboutWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // OK, Enter (IDOK) and Escape (IDCANCEL) all close the window.
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) close();
      return 0;
    case WM_DESTROY:
      logic_.Form_Unload();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace quiren::win32
