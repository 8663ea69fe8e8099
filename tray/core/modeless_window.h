// A window the main window opens modelessly and closes on the way out (the
// about window, the password list editor).
#pragma once

namespace quiren {

class ModelessWindow {
 public:
  virtual ~ModelessWindow() = default;
  // Opens the window, or brings an open one to the front without reloading.
  virtual void show() = 0;
  // Closes an open window; nothing when it is closed.
  virtual void close() = 0;
  virtual bool is_open() const = 0;
};

}  // namespace quiren
