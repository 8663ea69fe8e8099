#include "tray/win32kit/dialog_message.h"

namespace quiren::win32 {

bool dialog_message(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !IsWindowVisible(root)) return false;
  if ((GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) == 0) return false;
  return IsDialogMessageW(root, &msg) != FALSE;
}

}  // namespace quiren::win32
