// What the main window's logic asks of its Win32 side: the clipboard-viewer
// chain and the window's visible face. Tests use recording fakes.
#pragma once

#include <cstdint>

namespace quiren {

// A platform window handle, carried opaquely through portable code.
using WindowHandle = std::uintptr_t;

// The clipboard-viewer chain, as seen by the main window.
class ViewerChain {
 public:
  virtual ~ViewerChain() = default;
  // Joins the chain; returns the next viewer (0: none). The platform may
  // deliver a clipboard notice to the window during this call.
  virtual WindowHandle join() = 0;
  // Leaves the chain, naming the window that followed ours.
  virtual void leave(WindowHandle next_viewer) = 0;
  // Passes a clipboard-change notice on.
  virtual void forward_draw(WindowHandle next_viewer) = 0;
  // The clipboard's change count: it moves on with every change of the
  // contents and stays put while they stay the same.
  virtual std::uint32_t clipboard_sequence() = 0;
  // Passes a chain-change notice on with its own arguments.
  virtual void forward_chain_change(WindowHandle next_viewer, WindowHandle leaving,
                                    WindowHandle following) = 0;
};

// The visible side of the main window: its icon in the notification area,
// the pop-up menu and the settings dialog face.
class MainView {
 public:
  virtual ~MainView() = default;
  virtual void add_tray_icon() = 0;
  virtual void remove_tray_icon() = 0;
  // Shows the tray menu at the mouse position and runs the chosen command.
  virtual void pop_up_menu() = 0;
  virtual void show_settings() = 0;
  virtual void hide_settings() = 0;
  // Copies the settings controls' state into the visible controls.
  virtual void refresh_settings() = 0;
  // Destroys the main window; its unload step runs on the way.
  virtual void unload() = 0;
};

}  // namespace quiren
