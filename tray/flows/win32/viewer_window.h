// frmprint on Win32: a resizable modeless window holding one multi-line
// edit control. The Frmprint logic decides sizes and the stored settings;
// this class only mirrors them into the window.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "tray/flows/decrypted_text_viewer.h"
#include "tray/flows/frmprint.h"
#include "tray/shell/desktop.h"
#include "tray/shell/win32/window_proc.h"

namespace quiren::win32 {

class ViewerWindow : public DecryptedTextViewer {
 public:
  // The edit control's ID and the window class: the end-to-end driver finds
  // the viewer by these.
  static constexpr int kTextBoxId = 101;
  static constexpr const wchar_t* kClassName = L"quiren_frmprint";

  ViewerWindow(ProgramState& state, Desktop& desktop);
  ~ViewerWindow() override;
  ViewerWindow(const ViewerWindow&) = delete;
  ViewerWindow& operator=(const ViewerWindow&) = delete;

  void show() override;
  bool is_open() const override { return hwnd_ != nullptr; }
  std::u16string text() const override;
  void set_text(std::u16string_view text) override;
  void close() override;

  HWND hwnd() const { return hwnd_; }

 private:
  friend class WindowProc;
  static LRESULT CALLBACK text_box_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  void create();
  void on_size(WPARAM kind);
  void on_destroy();
  // Copies the text box's selection to the clipboard, kept out of the
  // clipboard history; false when nothing is selected.
  bool copy_selection();
  // The text box's context menu, with copy and cut through copy_selection().
  void context_menu(LPARAM where);

  Desktop& desktop_;
  Frmprint logic_;
  TwipsPerPixel twips_;
  HWND hwnd_ = nullptr;
  HWND text_box_ = nullptr;
  HFONT font_ = nullptr;
  WNDPROC text_box_default_ = nullptr;
};

}  // namespace quiren::win32
