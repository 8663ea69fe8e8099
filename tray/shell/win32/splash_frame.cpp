#include "tray/shell/win32/splash_frame.h"

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/resource.h"
#include "tray/win32kit/wide_text.h"

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

SplashFrame::~SplashFrame() = default;

bool SplashFrame::create() {
  picture_.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(QUIREN_IDB_SPLASH),
                                                 IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  // Owned by a hidden window, so no task-bar button; no minimise or
  // maximise box. The window's font is the version's.
  if (!window_.create(*this, {.window_class = kSplashClass, .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                              .caption = shell::texts::kSplashTitle, .owner = hidden_owner(),
                              .background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                              .font_points = 18})) {
    return false;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  credits_font_ = make_ui_font(12, dpi);
  size_and_centre(hwnd, kClientWidth, kClientHeight, dpi);
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
  make_child(hwnd, {.style = kLabel, .id = kSplashVersionId, .place = kVersionPlace, .font = window_.font()}, dpi);
  HWND credits = make_child(hwnd, {.text = shell::texts::kSplashCredits, .style = kLabel, .id = kSplashCreditsId,
                                   .place = kCreditsPlace, .font = credits_font_.get()},
                            dpi);
  widen_to_fit(credits, credits_font_.get());
  SetTimer(hwnd, kTimerId, kSplashMilliseconds, nullptr);
  return true;
}

void SplashFrame::destroy() { window_.destroy(); }

void SplashFrame::shape_as_ellipse(TwipsPerPixel twips) {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  // The outer size in twips, back in whole pixels.
  const int width_twips = (r.right - r.left) * twips.x;
  const int height_twips = (r.bottom - r.top) * twips.y;
  const int width = twips.x > 0 ? width_twips / twips.x : r.right - r.left;
  const int height = twips.y > 0 ? height_twips / twips.y : r.bottom - r.top;
  // The system owns the region from here on.
  SetWindowRgn(hwnd(), CreateEllipticRgn(0, 0, width, height), TRUE);
}

void SplashFrame::raise_to_top() {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void SplashFrame::show_version(std::u16string_view text) {
  HWND label = GetDlgItem(hwnd(), kSplashVersionId);
  set_window_text(label, text);
  widen_to_fit(label, window_.font());
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
        KillTimer(hwnd(), kTimerId);
        if (on_timer_) on_timer_();
        destroy();
      }
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kTimerId);
      if (!timer_fired_ && on_closed_early_) on_closed_early_();
      return 0;
    default:
      return DefWindowProcW(hwnd(), msg, wp, lp);
  }
}

void SplashFrame::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (picture_) {
    BITMAP bm{};
    GetObjectW(picture_.get(), sizeof bm, &bm);
    ScopedMemoryDC memory(dc);
    SelectedObject selected(memory.get(), picture_.get());
    SetStretchBltMode(dc, HALFTONE);
    const Dpi dpi = window_.dpi();
    StretchBlt(dc, 0, 0, px_from_twips(kClientWidth, dpi.x), px_from_twips(kPictureHeight, dpi.y), memory.get(), 0, 0,
               bm.bmWidth, bm.bmHeight, SRCCOPY);
  }
  EndPaint(hwnd(), &ps);
}

}  // namespace quiren::win32
