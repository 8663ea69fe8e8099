// Where a block that cannot be read is damaged, told as the user sees the
// text they copied, so the tray program and the tool can point at it: a
// character that no block holds, or a body whose length is not whole armour
// groups (a line that lost characters).
//
// Lines are the lines of the received text, ended by CR LF, LF or CR, from
// 1; columns count code points from 1 (an emoji is one character, as the
// user sees it). The block is looked at in the repair's view
// (received_blocks.h): quote prefixes, blanks and invisible characters are
// passed over, full-width forms and, in a compatible block, curly quotes
// count as the ASCII they stand for, so what is pointed at is what the
// repair could not mend.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quiren::block {

enum class DamageKind {
  foreign_character,  // a character that no block of its kind holds
  short_line,         // the length is not whole armour groups, and this line is shorter than the others
  uneven_length,      // the length is not whole armour groups, and no line is shorter: `line` is the last
};

struct BlockDamage {
  DamageKind kind = DamageKind::foreign_character;
  std::size_t line = 0;
  std::size_t column = 0;   // foreign_character only
  char32_t character = 0;   // foreign_character only
};

// The damage of the block that read_blocks(repair_received_text(received))
// gives as item `block_index` (counted from 0), when it can say where:
// nullopt for a block it finds nothing wrong with (a separator missing, an
// envelope damaged inside), or that is not there.
std::optional<BlockDamage> find_block_damage(std::u16string_view received, std::size_t block_index);

// Whether a character shows as something in a message; false for controls,
// format characters, blanks and unpaired surrogates, which a message names
// by their code alone.
bool is_visible_character(char32_t c);

}  // namespace quiren::block
