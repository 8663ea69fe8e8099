// How a password shows in the password list while the show box is not
// ticked: its first two characters, then one mask character for each
// further one; a password of one or two characters shows as mask
// characters only. Characters are Unicode code points, as a user counts
// them: a surrogate pair is one character, shown whole or masked whole,
// never split (an unpaired surrogate counts as one character too).
#pragma once

#include <string_view>

#include "block/secret.h"

namespace quiren::passlist {

// The mask character, "●" (U+25CF).
inline constexpr char16_t kMaskCharacter = u'\u25CF';

block::SecretText masked_password(std::u16string_view password);

}  // namespace quiren::passlist
