// The start-up window's load step: refuse a second copy, shape and raise the
// splash, set the version text, read the start-up settings.
#pragma once

#include <string_view>

#include "tray/core/desktop.h"
#include "tray/core/program_state.h"

namespace quiren {

// The splash window as the load step uses it.
class SplashView {
 public:
  virtual ~SplashView() = default;
  // Clips the window to the ellipse inscribed in its outer rectangle.
  virtual void shape_as_ellipse(TwipsPerPixel twips) = 0;
  // Puts the window above all non-topmost windows.
  virtual void settopmost() = 0;
  virtual void show_version(std::u16string_view text) = 0;
};

enum class StartupOutcome {
  splash,   // go on: the timer opens the main window
  refused,  // another copy runs; this one ends
  failed,   // the load step failed; the program ends at once
};

StartupOutcome frmmain_Form_Load(ProgramState& state, Desktop& desktop, SplashView& splash);

}  // namespace quiren
