#include "tray/shell/main_form.h"

#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/settings_store.h"

namespace quiren {

MainForm::MainForm(ProgramState& state, Desktop& desktop, ViewerChain& chain, MainFormParts parts)
    : state_(state),
      desktop_(desktop),
      parts_(parts),
      watch_(state.busy, chain, parts.flows),
      dialog_(state, desktop, watch_) {}

void MainForm::Form_Load() {
  {
    const Busy::Token loading = state_.busy.hold();
    if (settings::watch_enabled(desktop_)) watch_.Hook();
    parts_.view.add_tray_icon();
    parts_.view.hide_dialog();
  }
  dialog_.loadsettei();
  parts_.view.refresh_controls();
  loaded_ = true;
}

void MainForm::Form_Unload() {
  if (!loaded_) return;
  loaded_ = false;
  dialog_visible_ = false;
  parts_.view.remove_tray_icon();
  watch_.Unhook();
  parts_.viewer.close();
  parts_.about.close();
}

bool MainForm::program_may_end() const { return !loaded_ && !parts_.password_editor.is_open(); }

void MainForm::Form_MouseMove(std::uint32_t mouse_code) {
  // Only the press of the right button opens the menu; moves, the left
  // button, releases and double-clicks do nothing.
  if (mouse_code == kRightButtonDown) parts_.view.pop_up_menu();
}

void MainForm::run(MenuCommand command) {
  switch (command) {
    case MenuCommand::mnuango:
      parts_.flows.mnuango_Click();
      break;
    case MenuCommand::mnuhukugo:
      parts_.flows.hukugoclip();
      break;
    case MenuCommand::mnusettei:
      // The dialog always opens with the stored values. It keeps nothing
      // busy: clipboard changes go on being handled meanwhile.
      dialog_visible_ = true;
      parts_.view.show_dialog();
      dialog_.loadsettei();
      parts_.view.refresh_controls();
      break;
    case MenuCommand::mnupassword:
      parts_.password_editor.show();
      break;
    case MenuCommand::mnuversion:
      parts_.about.show();
      break;
    case MenuCommand::mnuend:
      parts_.view.unload();
      break;
  }
}

void MainForm::Command1_Click() {
  if (!dialog_.Command1_Click()) return;
  dialog_visible_ = false;
  parts_.view.hide_dialog();
}

void MainForm::Command2_Click() {
  dialog_visible_ = false;
  parts_.view.hide_dialog();
}

}  // namespace quiren
