// Message boxes as the tray's windows and flows show them: questions (Yes
// and No, question icon, brought to the front) and one-button notices.
#pragma once

#include <string_view>

#include "tray/core/desktop.h"

namespace quiren {

inline Answer ask(Desktop& desktop, std::u16string_view question) {
  return desktop.message_box({std::u16string(question), Buttons::yes_no, Icon::question, true});
}

// A question whose answer costs the user dearly: Enter answers No.
inline Answer ask_no_by_default(Desktop& desktop, std::u16string_view question) {
  MessageBoxSpec box{std::u16string(question), Buttons::yes_no, Icon::question, true};
  box.second_is_default = true;
  return desktop.message_box(box);
}

inline void tell(Desktop& desktop, std::u16string_view text, Icon icon, bool to_front = false) {
  desktop.message_box({std::u16string(text), Buttons::ok, icon, to_front});
}

}  // namespace quiren
