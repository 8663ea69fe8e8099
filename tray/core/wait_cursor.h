// The wait cursor for as long as this lives: around a slow step such as
// deriving a strong block's key.
#pragma once

#include "tray/core/desktop.h"

namespace quiren {

class WaitCursor {
 public:
  explicit WaitCursor(Desktop& desktop) : desktop_(desktop) { desktop_.show_wait_cursor(true); }
  ~WaitCursor() { desktop_.show_wait_cursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Desktop& desktop_;
};

}  // namespace quiren
