// The decrypted text viewer on Win32: a resizable modeless window holding
// one multi-line edit control. The ViewerForm logic decides sizes and the
// stored settings; this class only mirrors them into the window.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/desktop.h"
#include "tray/flows/viewer_form.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/owned_window.h"
#include "tray/win32kit/subclass.h"

namespace quiren::win32 {

class ViewerFrame : public DecryptedTextViewer {
 public:
  // The edit control's ID and the window class: the end-to-end driver finds
  // the viewer by these.
  static constexpr int kTextBoxId = 101;
  static constexpr int kStatusLineId = 102;
  static constexpr const wchar_t* kClassName = L"quiren_frmprint";

  explicit ViewerFrame(Desktop& desktop);
  ~ViewerFrame() override;
  ViewerFrame(const ViewerFrame&) = delete;
  ViewerFrame& operator=(const ViewerFrame&) = delete;

  void show() override;
  bool is_open() const override { return static_cast<bool>(window_); }
  std::u16string text() const override;
  void set_text(std::u16string_view text) override;
  void set_formats(BlockFormats formats) override;
  std::u16string status_line() const override { return logic_.status_line(); }
  void close() override;

  HWND hwnd() const { return window_.get(); }

 private:
  friend class WindowProc;
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT text_box_message(HWND text_box, UINT message, WPARAM wparam, LPARAM lparam);
  using TextBoxSubclass = Subclass<ViewerFrame, &ViewerFrame::text_box_message>;
  void create();
  void on_size(WPARAM kind);
  void on_destroy();
  TwipsSize twips_of(const RECT& outer) const;
  // Copies the text box's selection to the clipboard, kept out of the
  // clipboard history; false when nothing is selected.
  bool copy_selection();
  // The text box's context menu, with copy and cut through copy_selection().
  void context_menu(LPARAM where);

  ViewerForm logic_;
  HWND text_box_ = nullptr;
  HWND status_line_ = nullptr;
  ScopedFont status_font_;
  OwnedWindow window_;
};

}  // namespace quiren::win32
