// The about window frmAbout on Win32: modeless, fixed size, centred, no
// task-bar button. Its logic is AboutForm.
#pragma once

#include <windows.h>

#include "tray/shell/about_form.h"
#include "tray/shell/shell_windows.h"
#include "tray/shell/win32/window_proc.h"

namespace quiren::win32 {

inline constexpr wchar_t kAboutClass[] = L"muquiren_frmAbout";
inline constexpr int kAboutIconId = 201;         // Image1
inline constexpr int kAboutTitleId = 202;        // lblTitle
inline constexpr int kAboutVersionId = 203;      // lblVersion
inline constexpr int kAboutDescriptionId = 204;  // lblDescription
inline constexpr int kAboutDisclaimerId = 205;   // lblDisclaimer
// cmdOK is IDOK, so Enter and Escape both reach it.

class AboutWindow : public ModelessWindow {
 public:
  explicit AboutWindow(ProgramState& state);
  ~AboutWindow() override;
  AboutWindow(const AboutWindow&) = delete;
  AboutWindow& operator=(const AboutWindow&) = delete;

  void show() override;
  void close() override;
  bool is_open() const override { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }

 private:
  friend class WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

  AboutForm logic_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HFONT button_font_ = nullptr;
};

}  // namespace quiren::win32
