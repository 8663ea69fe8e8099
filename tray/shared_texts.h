// Texts that more than one part of the tray shows word for word. Each part's
// own text header names them beside its other texts.
#pragma once

#include <string_view>

namespace quiren::shared_texts {

// A password longer than 30 characters, typed or chosen.
inline constexpr std::u16string_view kPasswordTooLong = u"30文字以上のパスワードは利用できません。";

}  // namespace quiren::shared_texts
