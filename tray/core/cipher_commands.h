// The entry points of the cipher flows that the main window calls.
#pragma once

namespace quiren {

class CipherCommands {
 public:
  virtual ~CipherCommands() = default;
  virtual void on_clipboard_change() = 0;      // the watch, on a clipboard change
  virtual void encrypt_clipboard() = 0;  // the menu's encrypt command
  virtual void decrypt_clipboard() = 0;     // the menu's decrypt command
};

}  // namespace quiren
