// The program's pieces behind the shell's interfaces: the cipher flows as
// CipherCommands and the password list editor as a modeless window.
#pragma once

#include "tray/flows/clipboard_flows.h"
#include "tray/program_state.h"
#include "tray/shell/desktop.h"
#include "tray/shell/shell_windows.h"

namespace quiren::app {

class FlowCommands : public CipherCommands {
 public:
  explicit FlowCommands(ClipboardFlows& flows) : flows_(flows) {}
  void clipcheck() override { flows_.clipcheck(); }
  void encrypt_from_menu() override { flows_.mnuango_Click(); }
  void decrypt_from_menu() override { flows_.hukugoclip(); }

 private:
  ClipboardFlows& flows_;
};

class PasswordEditorWindow : public ModelessWindow {
 public:
  PasswordEditorWindow(ProgramState& state, Desktop& desktop) : state_(state), desktop_(desktop) {}
  void show() override;
  void close() override;
  bool is_open() const override;

 private:
  ProgramState& state_;
  Desktop& desktop_;
};

}  // namespace quiren::app
