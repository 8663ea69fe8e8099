// Reads received texts the way the tray and the tool do, for tests that
// compare another reader with this one (the reader page's): for each text
// on standard input (UTF-8, each ended by a NUL byte) it writes the
// repaired text, a NUL, what the block reader makes of it, and a NUL. The
// reading is one word per block: "compatible", "strong:<envelope in hex>",
// "later_version" or "unreadable", separated by commas.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/received_text.h"
#include "block/utf8.h"

namespace {

std::string reading(const std::vector<quiren::block::BlockItem>& items) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (const quiren::block::BlockItem& item : items) {
    if (!out.empty()) out += ',';
    if (item.problem == quiren::block::BlockProblem::version_cannot_read) {
      out += "later_version";
    } else if (item.problem == quiren::block::BlockProblem::unreadable) {
      out += "unreadable";
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
    std::cout << quiren::block::utf8_from_utf16(repaired) << '\0' << reading(quiren::block::read_blocks(repaired))
              << '\0';
    at = end + 1;
  }
  return 0;
}
