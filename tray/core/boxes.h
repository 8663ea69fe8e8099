// Message boxes as the tray's windows and flows show them: questions (Yes
// and No, question icon, brought to the front) and one-button notices.
#pragma once

#include <string_view>

#include "tray/core/desktop.h"

namespace quiren {

inline Answer ask(Desktop& desktop, std::u16string_view question) {
  return desktop.message_box({std::u16string(question), Buttons::yes_no, Icon::question, true});
}

inline void tell(Desktop& desktop, std::u16string_view text, Icon icon, bool to_front = false) {
  desktop.message_box({std::u16string(text), Buttons::ok, icon, to_front});
}

}  // namespace quiren
