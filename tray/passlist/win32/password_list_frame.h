// One password list window: creates the controls the layout table lists,
// forwards their events to PasswordListWindow and mirrors its state back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tray/passlist/password_list_window.h"
#include "tray/shell/win32/window_proc.h"

namespace quiren::win32 {

class PasswordListFrame {
 public:
  PasswordListFrame(ProgramState& state, Desktop& desktop);
  ~PasswordListFrame();
  PasswordListFrame(const PasswordListFrame&) = delete;
  PasswordListFrame& operator=(const PasswordListFrame&) = delete;

  // Creates the window hidden and runs the logic's load step; then shows it
  // unless the load already closed it. False when the window is not open.
  bool open();
  HWND hwnd() const { return hwnd_; }
  bool is_open() const { return hwnd_ != nullptr; }
  void bring_to_front();

 private:
  friend class WindowProc;
  static LRESULT CALLBACK list_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR data);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void after_nc_destroy();
  void create_controls();
  int list_selection() const;
  // Runs a step of the logic that may show modal boxes: the window is
  // disabled meanwhile so that no second step starts inside it.
  template <typename Step>
  void run_modal_step(Step step);
  void sync();  // mirror the logic's state into the controls
  void close_if_done();

  ProgramState& state_;
  Desktop& desktop_;
  PasswordListWindow logic_;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HWND info_ = nullptr;
  std::vector<HWND> buttons_;
  HFONT font_ = nullptr;
  std::vector<std::u16string> shown_lines_;
  int modal_depth_ = 0;
  bool close_pending_ = false;
};

}  // namespace quiren::win32
