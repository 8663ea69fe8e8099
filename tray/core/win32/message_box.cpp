#include "tray/core/win32/message_box.h"

#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

UINT message_box_flags(const MessageBoxSpec& box) {
  UINT flags = box.buttons == Buttons::yes_no ? MB_YESNO : MB_OK;
  switch (box.icon) {
    case Icon::none: break;
    case Icon::critical: flags |= MB_ICONSTOP; break;
    case Icon::question: flags |= MB_ICONQUESTION; break;
    case Icon::exclamation: flags |= MB_ICONEXCLAMATION; break;
    case Icon::information: flags |= MB_ICONINFORMATION; break;
  }
  flags |= box.second_is_default ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
  if (box.to_front) flags |= MB_SETFOREGROUND | MB_TOPMOST;
  return flags;
}

Answer show_message_box(HWND owner, const MessageBoxSpec& box) {
  const std::wstring text = to_wide(box.text);
  const std::wstring title = to_wide(box.title);
  switch (MessageBoxW(owner, text.c_str(), title.c_str(), message_box_flags(box))) {
    case IDYES: return Answer::yes;
    case IDNO: return Answer::no;
    case IDOK: return Answer::ok;
    default: return box.buttons == Buttons::yes_no ? Answer::no : Answer::ok;
  }
}

}  // namespace quiren::win32
