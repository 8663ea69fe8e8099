// One password list window: creates the controls the layout table lists,
// forwards their events to PasswordListForm and mirrors its state back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tray/passlist/password_list_form.h"
#include "tray/win32kit/dpi.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/subclass.h"
#include "tray/win32kit/window_proc.h"

namespace quiren::win32 {

class PasswordListFrame {
 public:
  PasswordListFrame(PasswordListMode mode, Busy& busy, Desktop& desktop);
  ~PasswordListFrame();
  PasswordListFrame(const PasswordListFrame&) = delete;
  PasswordListFrame& operator=(const PasswordListFrame&) = delete;

  // Creates the window hidden and runs the logic's load step; then shows it
  // unless the load already closed it. False when the window is not open.
  bool open();
  HWND hwnd() const { return hwnd_; }
  bool is_open() const { return hwnd_ != nullptr; }
  void bring_to_front();
  // The chooser's pick, once it has closed.
  std::optional<block::SecretText> take_pick() { return logic_.take_pick(); }

 private:
  friend class WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT list_message(HWND list, UINT msg, WPARAM wp, LPARAM lp);
  using ListSubclass = Subclass<PasswordListFrame, &PasswordListFrame::list_message>;
  void after_nc_destroy();
  void create_controls();
  int list_selection() const;
  // Runs a step of the logic that may show modal boxes: the window is
  // disabled meanwhile so that no second step starts inside it.
  template <typename Step>
  void run_modal_step(Step step);
  void sync();  // mirror the logic's state into the controls
  void close_if_done();

  PasswordListForm logic_;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HWND info_ = nullptr;
  std::vector<HWND> buttons_;
  Dpi dpi_;
  ScopedFont font_;
  std::vector<std::u16string> shown_lines_;
  int modal_depth_ = 0;
  bool close_pending_ = false;
};

}  // namespace quiren::win32
