#include "tray/shell/startup.h"

#include <exception>

#include "tray/shell/settings_store.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

void tell(Desktop& desktop, std::u16string_view text, Icon icon) {
  MessageBoxSpec box;
  box.text = std::u16string(text);
  box.buttons = Buttons::ok;
  box.icon = icon;
  desktop.message_box(box);
}

StartupOutcome load_step(ProgramState& state, Desktop& desktop, SplashView& splash) {
  if (desktop.another_copy_running()) {
    tell(desktop, texts::kRunningTwice, Icon::exclamation);
    return StartupOutcome::refused;
  }
  splash.shape_as_ellipse(desktop.twips_per_pixel());
  splash.settopmost();
  state.versiontext = std::u16string(texts::kVersionText);
  splash.show_version(state.versiontext);

  settings::StartupRead read = settings::load_startup_settings(desktop);
  if (!read.ok()) {
    tell(desktop, texts::kStartupError, Icon::critical);
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
    tell(desktop, texts::kStartupError, Icon::critical);
    return StartupOutcome::failed;
  }
}

}  // namespace quiren
