#include "tray/shell/main_form.h"

#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/settings_store.h"

namespace quiren {

MainForm::MainForm(ProgramState& state, Desktop& desktop, block::CryptoProvider& random, ViewerChain& chain,
                   MainFormParts parts)
    : state_(state),
      desktop_(desktop),
      parts_(parts),
      watch_(state.busy, chain, parts.flows),
      settings_(state, desktop, random, watch_, parts.password_list_file) {}

void MainForm::load() {
  {
    const Busy::Token loading = state_.busy.hold();
    if (settings::watch_enabled(desktop_)) watch_.install();
    parts_.view.add_tray_icon();
    parts_.view.hide_settings();
  }
  // The hidden dialog keeps no password: an opening reads them again.
  settings_.load();
  settings_.forget_passwords();
  parts_.view.refresh_settings();
  loaded_ = true;
}

void MainForm::unload() {
  if (!loaded_) return;
  loaded_ = false;
  settings_visible_ = false;
  parts_.view.remove_tray_icon();
  parts_.flows.cancel_run();
  watch_.remove();
  parts_.viewer.close();
  parts_.about.close();
  // A flow may still wait in a box or a prompt, its icon gone: it closes,
  // and the program ends, unless a password list editor keeps it.
  if (program_may_end()) desktop_.quit();
}

bool MainForm::program_may_end() const { return !loaded_ && !parts_.password_editor.is_open(); }

void MainForm::on_tray_icon(std::uint32_t mouse_code) {
  // Only the press of the right button opens the menu; moves, the left
  // button, releases and double-clicks do nothing.
  if (mouse_code == kRightButtonDown) parts_.view.pop_up_menu();
}

void MainForm::run(MenuCommand command) {
  switch (command) {
    case MenuCommand::encrypt:
      parts_.flows.encrypt_clipboard();
      break;
    case MenuCommand::decrypt:
      parts_.flows.decrypt_clipboard();
      break;
    case MenuCommand::settings:
      // The dialog always opens with the stored values. It keeps nothing
      // busy: clipboard changes go on being handled meanwhile.
      settings_visible_ = true;
      parts_.view.show_settings();
      settings_.load();
      parts_.view.refresh_settings();
      settings_.tell_unreadable_passwords();
      break;
    case MenuCommand::password_list:
      parts_.password_editor.show();
      break;
    case MenuCommand::about:
      parts_.about.show();
      break;
    case MenuCommand::exit:
      parts_.view.unload();
      break;
  }
}

void MainForm::settings_ok() {
  if (!settings_.ok()) return;
  hide_settings();
}

void MainForm::settings_cancel() { hide_settings(); }

void MainForm::hide_settings() {
  settings_visible_ = false;
  parts_.view.hide_settings();
  // The passwords leave the boxes with the dialog.
  settings_.forget_passwords();
  parts_.view.refresh_settings();
}

}  // namespace quiren
