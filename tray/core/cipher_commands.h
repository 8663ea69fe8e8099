// The entry points of the cipher flows that the main window calls.
#pragma once

namespace quiren {

class CipherCommands {
 public:
  virtual ~CipherCommands() = default;
  virtual void on_clipboard_change() = 0;      // the watch, on a clipboard change
  virtual void encrypt_clipboard() = 0;  // the menu's encrypt command
  virtual void decrypt_clipboard() = 0;     // the menu's decrypt command
  // The program ends: a run that waits for its worker thread stops as if
  // the user had cancelled it, and shows nothing more.
  virtual void cancel_run() = 0;
};

}  // namespace quiren
