#include "tray/shell/win32/splash_window.h"

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/wide_text.h"
#include "tray/shell/win32/window_kit.h"

namespace quiren::win32 {
namespace {

// The designed label widths fit their texts only in the designed font; a
// substitute may be wider, and a line must not wrap or be cut.
void widen_to_fit(HWND label, HFONT font) {
  const int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(label, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  HDC dc = GetDC(label);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  RECT r{};
  GetWindowRect(label, &r);
  const int needed = extent.cx + 4;
  if (needed > r.right - r.left) {
    SetWindowPos(label, nullptr, 0, 0, needed, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  }
}

constexpr UINT_PTR kTimerId = 1;
constexpr int kSplashPictureId = 2;
constexpr int kClientWidth = 5520;
constexpr int kClientHeight = 3990;
constexpr int kPictureHeight = 3915;  // 261 pixels at 96 DPI
constexpr Twips kVersionPlace{600, 2280, 2895, 495};
constexpr Twips kCreditsPlace{1440, 2880, 2535, 615};

}  // namespace

BOOL settopmost(HWND window, std::int16_t mode) {
  constexpr UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
  if (mode == 1) return SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
  if (mode == 0) return SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  return FALSE;
}

SplashWindow::SplashWindow(std::function<void()> on_timer, std::function<void()> on_closed_early)
    : on_timer_(std::move(on_timer)), on_closed_early_(std::move(on_closed_early)) {}

SplashWindow::~SplashWindow() {
  destroy();
  if (picture_) DeleteObject(picture_);
  if (version_font_) DeleteObject(version_font_);
  if (credits_font_) DeleteObject(credits_font_);
}

bool SplashWindow::create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static const ATOM registered = register_window_class(
      kSplashClass, WindowProc::of<SplashWindow>,
      static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!registered) return false;

  dpi_ = screen_dpi();
  picture_ = static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(kSplashPictureId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  version_font_ = make_ui_font(18, dpi_);
  credits_font_ = make_ui_font(12, dpi_);

  const std::wstring title = to_wide(texts::kSplashTitle);
  // Owned by a hidden window, so no task-bar button; no minimise or
  // maximise box.
  hwnd_ = CreateWindowExW(0, kSplashClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, hidden_owner(), nullptr, instance,
                          this);
  if (!hwnd_) return false;
  size_and_centre(hwnd_, kClientWidth, kClientHeight, dpi_);
  make_child(hwnd_, L"STATIC", u"", SS_LEFT | SS_NOPREFIX, kSplashVersionId, kVersionPlace, dpi_,
             version_font_);
  make_child(hwnd_, L"STATIC", texts::kSplashCredits, SS_LEFT | SS_NOPREFIX, kSplashCreditsId,
             kCreditsPlace, dpi_, credits_font_);
  widen_to_fit(GetDlgItem(hwnd_, kSplashCreditsId), credits_font_);
  SetTimer(hwnd_, kTimerId, kSplashMilliseconds, nullptr);
  return true;
}

void SplashWindow::destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void SplashWindow::shape_as_ellipse(TwipsPerPixel twips) {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  // The outer size in twips, back in whole pixels.
  const int width_twips = (r.right - r.left) * twips.x;
  const int height_twips = (r.bottom - r.top) * twips.y;
  const int width = twips.x > 0 ? width_twips / twips.x : r.right - r.left;
  const int height = twips.y > 0 ? height_twips / twips.y : r.bottom - r.top;
  // The system owns the region from here on.
  SetWindowRgn(hwnd_, CreateEllipticRgn(0, 0, width, height), TRUE);
}

void SplashWindow::settopmost() { win32::settopmost(hwnd_, 1); }

void SplashWindow::show_version(std::u16string_view text) {
  HWND label = GetDlgItem(hwnd_, kSplashVersionId);
  SetWindowTextW(label, to_wide(text).c_str());
  widen_to_fit(label, version_font_);
}

LRESULT SplashWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The labels lie on the picture: text only, no background.
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 96));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_TIMER:
      if (wp == kTimerId && !timer_fired_) {
        timer_fired_ = true;
        KillTimer(hwnd_, kTimerId);
        if (on_timer_) on_timer_();
        destroy();
      }
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kTimerId);
      if (!timer_fired_ && on_closed_early_) on_closed_early_();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

void SplashWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (picture_) {
    BITMAP bm{};
    GetObjectW(picture_, sizeof bm, &bm);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, picture_);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, twips_to_px(kClientWidth, dpi_.x), twips_to_px(kPictureHeight, dpi_.y), mem, 0,
               0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace quiren::win32
