// Texts that more than one part of the tray shows word for word. Each part's
// own text header names them beside its other texts.
#pragma once

#include <string_view>

#include "block/block_rules.h"
#include "block/composed_text.h"

namespace quiren::core::texts {

// The caption of every message box and prompt unless a window names another.
inline constexpr std::u16string_view kAppTitle = u"む～くいれん";

// The buttons of the settings dialog, the about window and the input prompt.
inline constexpr std::u16string_view kButtonOk = u"OK";
inline constexpr std::u16string_view kButtonCancel = u"キャンセル";

// A password longer than the limit, typed or chosen. (Its words say "the
// limit or more"; the limit itself is accepted.)
inline constexpr auto kPasswordTooLongText =
    block::compose(u"", block::kLongestPassword, u"文字以上のパスワードは利用できません。");
inline constexpr std::u16string_view kPasswordTooLong = kPasswordTooLongText.view();

}  // namespace quiren::core::texts
