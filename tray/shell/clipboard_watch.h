// The clipboard watch of the main window: membership of the clipboard-viewer
// chain (install / remove) and the handling of the two chain notices.
#pragma once

#include <cstdint>

#include "tray/core/busy.h"
#include "tray/core/cipher_commands.h"
#include "tray/shell/main_view.h"

namespace quiren {

class ClipboardWatch {
 public:
  ClipboardWatch(Busy& busy, ViewerChain& chain, CipherCommands& flows);

  // Installs the watch. The program is busy while the chain is joined, so
  // the notice the platform sends on joining examines nothing.
  void install();
  // Removes the watch; nothing when it is off.
  void remove();
  bool installed() const { return installed_; }

  // WM_DRAWCLIPBOARD: passed on along the chain, then on to the flows'
  // on_clipboard_change when the watch is on, nothing is busy and the
  // contents are ones the watch has not met before. A notice can come again
  // for contents already seen (a late or repeated one, or one read after a
  // later change had already been examined); it starts nothing.
  void on_clipboard_changed();
  // WM_CHANGECBCHAIN: `leaving` leaves the chain, `following` came after it.
  void on_chain_changed(WindowHandle leaving, WindowHandle following);

  WindowHandle next_viewer() const { return next_viewer_; }

 private:
  Busy& busy_;
  ViewerChain& chain_;
  CipherCommands& flows_;
  bool installed_ = false;
  WindowHandle next_viewer_ = 0;
  // The change count at the last notice, examined or not.
  std::uint32_t seen_sequence_ = 0;
};

}  // namespace quiren
