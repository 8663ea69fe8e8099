// The message for a block that cannot be read: the fixed text, and under
// it, when the damage can be located, a line that says where.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quiren::flows {

// `received` is the clipboard text as copied; `block_index` the unreadable
// block's place among the blocks read from it (from 0).
std::u16string invalid_ciphertext_message(std::u16string_view received, std::size_t block_index);

}  // namespace quiren::flows
