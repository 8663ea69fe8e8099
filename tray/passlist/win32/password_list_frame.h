// One password list window: creates the controls the layout table lists,
// forwards their events to PasswordListForm and mirrors its state back.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "tray/passlist/password_list_form.h"
#include "tray/win32kit/owned_window.h"
#include "tray/win32kit/subclass.h"

namespace quiren::win32 {

class PasswordListFrame {
 public:
  PasswordListFrame(PasswordListMode mode, Busy& busy, Desktop& desktop);
  PasswordListFrame(const PasswordListFrame&) = delete;
  PasswordListFrame& operator=(const PasswordListFrame&) = delete;

  // Creates the window hidden and runs the logic's load step; then shows it
  // unless the load already closed it. False when the window is not open.
  bool open();
  HWND hwnd() const { return window_.get(); }
  bool is_open() const { return static_cast<bool>(window_); }
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
  void show_lines();
  void close_if_done();

  PasswordListForm logic_;
  HWND list_ = nullptr;
  HWND info_ = nullptr;
  HWND show_box_ = nullptr;
  std::vector<HWND> buttons_;
  // What the list box shows (masked or not), to refill it only on a change.
  std::vector<block::SecretText> shown_lines_;
  int modal_depth_ = 0;
  bool close_pending_ = false;
  OwnedWindow window_;
};

}  // namespace quiren::win32
