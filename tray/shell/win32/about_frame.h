// The about window on Win32: modeless, fixed size, centred, no
// task-bar button. Its logic is AboutForm.
#pragma once

#include <windows.h>

#include "tray/core/modeless_window.h"
#include "tray/shell/about_form.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/owned_window.h"

namespace quiren::win32 {

inline constexpr wchar_t kAboutClass[] = L"muquiren_frmAbout";
// The controls, by what they show.
inline constexpr int kAboutIconId = 201;
inline constexpr int kAboutTitleId = 202;    // the running version
inline constexpr int kAboutAuthorId = 203;
inline constexpr int kAboutContactId = 204;  // and where the guide is
inline constexpr int kAboutCreditsId = 205;
inline constexpr int kAboutReleaseId = 206;  // this release
inline constexpr int kAboutStrongId = 207;   // the strong blocks it reads and writes
inline constexpr int kAboutWordListCreditsId = 208;  // the passphrase word lists and their licences
// The OK button is IDOK, so Enter and Escape both reach it.

class AboutFrame : public ModelessWindow {
 public:
  explicit AboutFrame(ProgramState& state);
  ~AboutFrame() override;
  AboutFrame(const AboutFrame&) = delete;
  AboutFrame& operator=(const AboutFrame&) = delete;

  void show() override;
  void close() override;
  bool is_open() const override { return static_cast<bool>(window_); }
  HWND hwnd() const { return window_.get(); }

 private:
  friend class WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

  AboutForm logic_;
  ScopedFont button_font_;
  OwnedWindow window_;
};

}  // namespace quiren::win32
