#include "tray/shell/win32/splash_frame.h"

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/resource.h"
#include "tray/win32kit/wide_text.h"
#include "tray/win32kit/window_class.h"

namespace quiren::win32 {
namespace {

// The designed label widths fit their texts only in the designed font; a
// substitute may be wider, and a line must not wrap or be cut.
void widen_to_fit(HWND label, HFONT font) {
  const std::wstring text = to_wide(window_text(label));
  SIZE extent{};
  {
    ScopedDC dc(label);
    if (!dc) return;
    SelectedObject selected(dc.get(), font);
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  }
  RECT r{};
  GetWindowRect(label, &r);
  const int needed = extent.cx + 4;
  if (needed > r.right - r.left) {
    SetWindowPos(label, nullptr, 0, 0, needed, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  }
}

constexpr UINT_PTR kTimerId = 1;
constexpr int kClientWidth = 5520;
constexpr int kClientHeight = 3990;
constexpr int kPictureHeight = 3915;  // 261 pixels at 96 DPI
constexpr TwipsRect kVersionPlace{600, 2280, 2895, 495};
constexpr TwipsRect kCreditsPlace{1440, 2880, 2535, 615};

}  // namespace

SplashFrame::SplashFrame(ProgramState& state, Desktop& desktop, std::function<void()> on_timer,
                         std::function<void()> on_closed_early)
    : logic_(state, desktop, *this), on_timer_(std::move(on_timer)), on_closed_early_(std::move(on_closed_early)) {}

SplashFrame::~SplashFrame() { destroy(); }

bool SplashFrame::create() {
  if (!register_window_class(kSplashClass, WindowProc::of<SplashFrame>,
                             static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)))) {
    return false;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  dpi_ = screen_dpi();
  picture_.reset(static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(QUIREN_IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  version_font_ = make_ui_font(18, dpi_);
  credits_font_ = make_ui_font(12, dpi_);

  const std::wstring title = to_wide(shell::texts::kSplashTitle);
  // Owned by a hidden window, so no task-bar button; no minimise or
  // maximise box.
  hwnd_ = CreateWindowExW(0, kSplashClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, hidden_owner(), nullptr, instance, this);
  if (!hwnd_) return false;
  size_and_centre(hwnd_, kClientWidth, kClientHeight, dpi_);
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
  make_child(hwnd_, {.style = kLabel, .id = kSplashVersionId, .place = kVersionPlace, .font = version_font_.get()},
             dpi_);
  HWND credits = make_child(hwnd_, {.text = shell::texts::kSplashCredits, .style = kLabel, .id = kSplashCreditsId,
                                    .place = kCreditsPlace, .font = credits_font_.get()},
                            dpi_);
  widen_to_fit(credits, credits_font_.get());
  SetTimer(hwnd_, kTimerId, kSplashMilliseconds, nullptr);
  return true;
}

void SplashFrame::destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void SplashFrame::shape_as_ellipse(TwipsPerPixel twips) {
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

void SplashFrame::raise_to_top() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void SplashFrame::show_version(std::u16string_view text) {
  HWND label = GetDlgItem(hwnd_, kSplashVersionId);
  set_window_text(label, text);
  widen_to_fit(label, version_font_.get());
}

LRESULT SplashFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
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

void SplashFrame::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (picture_) {
    BITMAP bm{};
    GetObjectW(picture_.get(), sizeof bm, &bm);
    ScopedMemoryDC memory(dc);
    SelectedObject selected(memory.get(), picture_.get());
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, px_from_twips(kClientWidth, dpi_.x), px_from_twips(kPictureHeight, dpi_.y), memory.get(), 0,
               0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace quiren::win32
