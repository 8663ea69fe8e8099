#include "tray/shell/startup.h"

#include <exception>

#include "tray/core/boxes.h"
#include "tray/core/settings_store.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

StartupOutcome load_step(ProgramState& state, Desktop& desktop, SplashView& splash) {
  if (desktop.another_copy_running()) {
    tell(desktop, shell::texts::kRunningTwice, Icon::exclamation);
    return StartupOutcome::refused;
  }
  splash.shape_as_ellipse(desktop.twips_per_pixel());
  splash.settopmost();
  state.versiontext = std::u16string(shell::texts::kVersionText);
  splash.show_version(state.versiontext);

  settings::StartupRead read = settings::load_startup_settings(desktop);
  if (!read.ok()) {
    tell(desktop, shell::texts::kStartupError, Icon::critical);
    return StartupOutcome::failed;
  }
  state.settings = read.values;
  return StartupOutcome::splash;
}

}  // namespace

StartupOutcome frmmain_Form_Load(ProgramState& state, Desktop& desktop, SplashView& splash) {
  try {
    return load_step(state, desktop, splash);
  } catch (const std::exception&) {
    // Any failure of the step ends the program with the one fixed message.
    tell(desktop, shell::texts::kStartupError, Icon::critical);
    return StartupOutcome::failed;
  }
}

}  // namespace quiren
