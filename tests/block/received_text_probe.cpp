// Reads received texts the way the tray and the tool do, for tests that
// compare another reader with this one (the reader page's): for each text
// on standard input (UTF-8, each ended by a NUL byte) it writes the
// repaired text, a NUL, what the block reader makes of it, and a NUL. The
// reading is one word per block: "compatible", "strong:<envelope in hex>",
// or the outcome of a block with a problem ("later_format",
// "refused_settings" or "damaged"), separated by commas; a damaged block
// whose damage can be told is followed by where, as
// "@<kind>:<line>:<column>:<code point in hex>" (kind foreign_character,
// short_line or uneven_length; column and code point 0 for the last two).
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/block_damage.h"
#include "block/received_text.h"
#include "block/utf8.h"

namespace {

std::string damage_kind(quiren::block::DamageKind kind) {
  switch (kind) {
    case quiren::block::DamageKind::foreign_character:
      return "foreign_character";
    case quiren::block::DamageKind::short_line:
      return "short_line";
    case quiren::block::DamageKind::uneven_length:
      return "uneven_length";
  }
  return "?";
}

std::string where(std::u16string_view received, std::size_t index) {
  const std::optional<quiren::block::BlockDamage> damage = quiren::block::find_block_damage(received, index);
  if (!damage) return {};
  char code[16];
  std::snprintf(code, sizeof code, "%x", static_cast<unsigned>(damage->character));
  // Appended piece by piece: GCC 12 at -O3 reports a false overlap
  // (-Werror=restrict) in `"@" + damage_kind(...)`, which stops a Release build.
  std::string out = "@";
  out += damage_kind(damage->kind);
  out += ':';
  out += std::to_string(damage->line);
  out += ':';
  out += std::to_string(damage->column);
  out += ':';
  out += code;
  return out;
}

std::string reading(std::u16string_view received, const std::vector<quiren::block::BlockItem>& items) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (std::size_t index = 0; index < items.size(); ++index) {
    const quiren::block::BlockItem& item = items[index];
    if (!out.empty()) out += ',';
    if (item.problem) {
      out += quiren::block::outcome_name(*item.problem);
      if (item.problem == quiren::block::Outcome::damaged) out += where(received, index);
    } else if (item.kind == quiren::block::BlockKind::compatible) {
      out += "compatible";
    } else {
      out += "strong:";
      for (std::uint8_t b : item.envelope) {
        out += digits[b >> 4];
        out += digits[b & 15];
      }
    }
  }
  return out;
}

}  // namespace

int main() {
  std::string input;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) input.append(buffer, n);
  std::size_t at = 0;
  while (at < input.size()) {
    std::size_t end = input.find('\0', at);
    if (end == std::string::npos) end = input.size();
    const std::optional<std::u16string> text = quiren::block::utf16_from_utf8(input.substr(at, end - at));
    if (!text) {
      std::cerr << "received_text_probe: a text is not UTF-8\n";
      return 2;
    }
    const std::u16string repaired = quiren::block::repair_received_text(*text);
    std::cout << quiren::block::utf8_from_utf16(repaired) << '\0' << reading(*text, quiren::block::read_blocks(repaired))
              << '\0';
    at = end + 1;
  }
  return 0;
}
