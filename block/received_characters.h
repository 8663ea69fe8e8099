// The characters of a received block as the repair reads them: what
// programs put into a block's lines and how each is undone. The lists are
// in block_rules.h.
#pragma once

namespace quiren::block {

// Space, tab, no-break space and ideographic space: never part of a body.
bool is_blank(char16_t c);

// The invisible characters dropped inside a block's lines.
bool is_invisible_insertion(char16_t c);

// A full-width form of printable ASCII as that character, the ideographic
// space as a space; any other character as it is.
char16_t ascii_form(char16_t c);

// A curly quote as the straight one; any other character as it is.
char16_t straight_quote(char16_t c);

}  // namespace quiren::block
