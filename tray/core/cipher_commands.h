// The entry points of the cipher flows that the main window calls.
#pragma once

namespace quiren {

class CipherCommands {
 public:
  virtual ~CipherCommands() = default;
  virtual void clipcheck() = 0;      // the watch, on a clipboard change
  virtual void mnuango_Click() = 0;  // the menu's encrypt command
  virtual void hukugoclip() = 0;     // the menu's decrypt command
};

}  // namespace quiren
