// The main window's logic. The window is hidden nearly all the time: it
// owns the tray icon and its menu, it sits in the clipboard-viewer chain
// (the clipboard watch), and it shows itself as the settings dialog. Here:
// its load and unload steps, the tray icon's callback, the menu's commands,
// and the settings dialog's buttons.
#pragma once

#include <cstdint>

#include "tray/core/cipher_commands.h"
#include "tray/core/desktop.h"
#include "tray/core/modeless_window.h"
#include "tray/core/program_state.h"
#include "tray/shell/clipboard_watch.h"
#include "tray/shell/main_view.h"
#include "tray/core/list_file_protection.h"
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
  encrypt = 101,
  decrypt = 102,
  settings = 104,
  password_list = 105,
  about = 107,
  exit = 109,
};

// The windows the main window opens and closes.
struct MainFormParts {
  MainView& view;
  CipherCommands& flows;
  ModelessWindow& password_editor;  // the password list in editor mode
  ModelessWindow& about;
  DecryptedTextViewer& viewer;
  ListFileProtection& password_list_file;  // the settings dialog rewrites it
};

class MainForm {
 public:
  // `random` is the source of the settings dialog's generated passphrases.
  MainForm(ProgramState& state, Desktop& desktop, block::CryptoProvider& random, ViewerChain& chain,
           MainFormParts parts);

  void load();
  // The window goes away (exit command or the dialog's close box).
  void unload();
  // The program may end once the main window has unloaded and no password
  // list editor is open.
  bool program_may_end() const;

  // The tray icon's message, with the mouse code from lParam.
  void on_tray_icon(std::uint32_t mouse_code);
  // A command picked from the tray menu.
  void run(MenuCommand command);

  // The settings dialog's buttons.
  void settings_ok();
  void settings_cancel();

  ClipboardWatch& watch() { return watch_; }
  SettingsForm& settings() { return settings_; }
  bool loaded() const { return loaded_; }
  bool settings_visible() const { return settings_visible_; }

 private:
  // Hides the dialog; its boxes give up the passwords they held.
  void hide_settings();

  ProgramState& state_;
  Desktop& desktop_;
  MainFormParts parts_;
  ClipboardWatch watch_;
  SettingsForm settings_;
  bool loaded_ = false;
  bool settings_visible_ = false;
};

}  // namespace quiren
