// The start-up window's logic, the splash: refuse a second copy, shape and
// raise the splash, show the version, read the start-up settings, offer to
// mend an entry that starts the program at log-on from another path. Its
// Win32 frame (tray/shell/win32/splash_frame.h) opens the main window three
// seconds later.
#pragma once

#include <string_view>

#include "tray/core/desktop.h"
#include "tray/core/program_state.h"

namespace quiren {

// The splash window as its logic drives it.
class SplashView {
 public:
  virtual ~SplashView() = default;
  // Clips the window to the ellipse inscribed in its outer rectangle.
  virtual void shape_as_ellipse(TwipsPerPixel twips) = 0;
  // Puts the window above all non-topmost windows.
  virtual void raise_to_top() = 0;
  virtual void show_version(std::u16string_view text) = 0;
};

enum class StartupOutcome {
  splash,   // go on: the timer opens the main window
  refused,  // another copy runs; this one ends
  failed,   // the load step failed; the program ends at once
};

class SplashForm {
 public:
  SplashForm(ProgramState& state, Desktop& desktop, SplashView& view);
  // The load step; any failure in it ends the program with one message.
  StartupOutcome load();

 private:
  StartupOutcome load_step();

  ProgramState& state_;
  Desktop& desktop_;
  SplashView& view_;
};

}  // namespace quiren
