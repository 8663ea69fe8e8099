// The main window on Win32: hidden most of the time; owns the tray icon
// and its menu, sits in the clipboard-viewer chain, and shows itself as the
// settings dialog, whose controls SettingsFrame keeps. The logic is
// MainForm; this class only mirrors it into the window.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "tray/shell/main_form.h"
#include "tray/shell/main_view.h"
#include "tray/shell/win32/settings_frame.h"
#include "tray/win32kit/owned_handle.h"
#include "tray/win32kit/owned_window.h"

namespace quiren::win32 {

class MainFrame : public MainView, public ViewerChain {
 public:
  // `on_destroyed` runs once the window has gone (its unload step done).
  MainFrame(ProgramState& state, Desktop& desktop, block::CryptoProvider& random, CipherCommands& flows,
            ModelessWindow& password_editor, ListFileProtection& password_list_file, ModelessWindow& about,
            DecryptedTextViewer& viewer, std::function<void()> on_destroyed);
  ~MainFrame() override;
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  // Creates the hidden window and runs its load step.
  bool open();
  HWND hwnd() const { return window_.get(); }
  MainForm& logic() { return *logic_; }

  // MainView
  void add_tray_icon() override;
  void remove_tray_icon() override;
  void pop_up_menu() override;
  void show_settings() override;
  void hide_settings() override;
  void refresh_settings() override;
  void unload() override;

  // ViewerChain
  WindowHandle join() override;
  void leave(WindowHandle next_viewer) override;
  void forward_draw(WindowHandle next_viewer) override;
  std::uint32_t clipboard_sequence() override;
  void forward_chain_change(WindowHandle next_viewer, WindowHandle leaving,
                            WindowHandle following) override;

 private:
  friend class WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void after_nc_destroy();
  void create_menu();
  void on_command(int id, int code);

  std::optional<MainForm> logic_;
  std::optional<SettingsFrame> settings_frame_;
  std::function<void()> on_destroyed_;
  ScopedMenu menu_;
  HICON small_icon_ = nullptr;
  UINT taskbar_created_ = 0;
  OwnedWindow window_;
};

}  // namespace quiren::win32
