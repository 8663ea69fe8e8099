#include "tray/shell/startup.h"

#include <exception>

#include "tray/core/boxes.h"
#include "tray/core/settings_store.h"
#include "tray/shell/shell_texts.h"
#include "tray/shell/start_with_windows.h"

namespace quiren {

SplashForm::SplashForm(ProgramState& state, Desktop& desktop, SplashView& view)
    : state_(state), desktop_(desktop), view_(view) {}

StartupOutcome SplashForm::load() {
  try {
    return load_step();
  } catch (const std::exception&) {
    tell(desktop_, shell::texts::kStartupError, Icon::critical);
    return StartupOutcome::failed;
  }
}

StartupOutcome SplashForm::load_step() {
  if (desktop_.another_copy_running()) {
    tell(desktop_, shell::texts::kRunningTwice, Icon::exclamation);
    return StartupOutcome::refused;
  }
  view_.shape_as_ellipse(desktop_.twips_per_pixel());
  view_.raise_to_top();
  state_.version_text = std::u16string(shell::texts::kVersionText);
  view_.show_version(state_.version_text);

  settings::StartupRead read = settings::load_startup_settings(desktop_);
  if (!read.ok()) {
    tell(desktop_, shell::texts::kStartupError, Icon::critical);
    return StartupOutcome::failed;
  }
  state_.settings = read.values;
  offer_logon_entry_update(desktop_);
  return StartupOutcome::splash;
}

}  // namespace quiren
