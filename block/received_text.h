// Repairs what mail and chat programs do to a block on its way, before the
// block reader sees it: line breaks turned into bare LF or CR, and quote
// prefixes put before the lines of a reply.
#pragma once

#include <string>
#include <string_view>

namespace quiren::block {

// For each start marker whose line begins with a quote prefix (">", "|" and
// spaces only, such as "> " or ">> "), that prefix is removed from every
// line of that block, the start marker's line to the end marker's line.
// Spaces do not count when matching the prefix (the reader drops spaces
// anyway). Only the prefix seen on the marker's line is removed, so a body
// line keeps a ">" of its own. Expects CR LF line breaks.
std::u16string unquote_blocks(std::u16string_view text);

// Both repairs: line breaks made CR LF, then quote prefixes removed.
std::u16string repair_received_text(std::u16string_view text);

}  // namespace quiren::block
