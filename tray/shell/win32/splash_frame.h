// The start-up window: an elliptic, topmost splash with the program picture,
// the version and a credits line. Its logic is SplashForm. Its timer opens
// the main window after three seconds; closing it earlier ends the program.
#pragma once

#include <windows.h>

#include <functional>

#include "tray/shell/startup.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/owned_window.h"

namespace quiren::win32 {

inline constexpr wchar_t kSplashClass[] = L"muquiren_frmmain";
inline constexpr int kSplashVersionId = 101;
inline constexpr int kSplashCreditsId = 102;
inline constexpr UINT kSplashMilliseconds = 3000;

class SplashFrame : public SplashView {
 public:
  // on_timer runs once, when the three seconds are up, before the splash
  // closes; on_closed_early when the user closed it before that.
  SplashFrame(ProgramState& state, Desktop& desktop, std::function<void()> on_timer,
              std::function<void()> on_closed_early);
  ~SplashFrame() override;
  SplashFrame(const SplashFrame&) = delete;
  SplashFrame& operator=(const SplashFrame&) = delete;

  // Creates the window hidden and centred; the timer starts at once.
  bool create();
  // The load step (SplashForm::load), once the window is there.
  StartupOutcome load() { return logic_.load(); }
  void destroy();
  HWND hwnd() const { return window_.get(); }

  void shape_as_ellipse(TwipsPerPixel twips) override;
  void raise_to_top() override;
  void show_version(std::u16string_view text) override;

 private:
  friend class WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void paint();

  SplashForm logic_;
  std::function<void()> on_timer_;
  std::function<void()> on_closed_early_;
  ScopedBitmap picture_;
  ScopedFont credits_font_;
  bool timer_fired_ = false;
  OwnedWindow window_;
};

}  // namespace quiren::win32
