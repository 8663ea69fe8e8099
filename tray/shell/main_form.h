// The main window's logic: its load and unload steps, the tray icon's
// callback, the tray menu's commands, and the settings dialog's buttons.
#pragma once

#include <cstdint>

#include "tray/core/cipher_commands.h"
#include "tray/core/desktop.h"
#include "tray/core/modeless_window.h"
#include "tray/core/program_state.h"
#include "tray/shell/clipboard_watch.h"
#include "tray/shell/main_view.h"
#include "tray/shell/settings_form.h"

namespace quiren {

class DecryptedTextViewer;

// The tray icon's callback message (it arrives as a mouse move) and the
// mouse codes it carries in lParam.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x200;
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t kMouseMove = 0x200;
inline constexpr std::uint32_t kLeftButtonDown = 0x201;
inline constexpr std::uint32_t kRightButtonDown = 0x204;

// The tray menu's commands; the numbers are the menu items' IDs.
enum class MenuCommand : std::uint16_t {
  mnuango = 101,
  mnuhukugo = 102,
  mnusettei = 104,
  mnupassword = 105,
  mnuversion = 107,
  mnuend = 109,
};

// The windows the main window opens and closes.
struct MainFormParts {
  MainView& view;
  CipherCommands& flows;
  ModelessWindow& password_editor;  // frmeditpass in editor mode
  ModelessWindow& about;            // frmAbout
  DecryptedTextViewer& viewer;      // frmprint
};

class MainForm {
 public:
  MainForm(ProgramState& state, Desktop& desktop, ViewerChain& chain, MainFormParts parts);

  void Form_Load();
  // The window goes away (exit command or the dialog's close box).
  void Form_Unload();
  // The program may end once the main window has unloaded and no password
  // list editor is open.
  bool program_may_end() const;

  // The tray icon's message, with the mouse code from lParam.
  void Form_MouseMove(std::uint32_t mouse_code);
  // A command picked from the tray menu.
  void run(MenuCommand command);

  // The settings dialog's buttons.
  void Command1_Click();
  void Command2_Click();

  ClipboardWatch& watch() { return watch_; }
  SettingsForm& dialog() { return dialog_; }
  bool loaded() const { return loaded_; }
  bool dialog_visible() const { return dialog_visible_; }

 private:
  ProgramState& state_;
  Desktop& desktop_;
  MainFormParts parts_;
  ClipboardWatch watch_;
  SettingsForm dialog_;
  bool loaded_ = false;
  bool dialog_visible_ = false;
};

}  // namespace quiren
