// The progress window on Win32: a line of text, a progress bar and
// キャンセル. It is made hidden when a run first waits, shows itself when
// the form's delay has passed (a timer of its own), and mirrors its
// ProgressForm; Cancel, Escape and the close box cancel the form.
#pragma once

#include <windows.h>

#include "tray/core/progress_form.h"
#include "tray/win32kit/owned_window.h"

namespace quiren::win32 {

class ProgressFrame final : public ProgressView {
 public:
  explicit ProgressFrame(ProgressForm& form);
  ~ProgressFrame() override;
  ProgressFrame(const ProgressFrame&) = delete;
  ProgressFrame& operator=(const ProgressFrame&) = delete;

  void refresh() override;

 private:
  friend class WindowProc;
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  void create();

  ProgressForm& form_;
  bool visible_ = false;
  OwnedWindow window_;
};

}  // namespace quiren::win32
