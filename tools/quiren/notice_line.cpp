#include "tools/quiren/notice_line.h"

#include <cstdio>

#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {

namespace {

bool printable_ascii(unsigned char c) { return c >= 0x20 && c < 0x7F; }

void append_escaped(std::string& out, unsigned char c) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x%02X", c);
  out += hex;
}

// UTF-8 as it is, with control characters escaped. Should it not be UTF-8
// after all, every byte outside printable ASCII is escaped instead of
// sending broken sequences to the terminal.
std::string readable_utf8(std::string_view text) {
  const bool valid = decode_utf8(text).has_value();
  std::string out;
  for (unsigned char c : text) {
    if (printable_ascii(c) || (valid && c >= 0x80)) {
      out += static_cast<char>(c);
    } else {
      append_escaped(out, c);
    }
  }
  return out;
}

// Bytes of the caller's input, in its ANSI code page: a lone byte of it
// need not be a whole character, so only printable ASCII is shown as is.
std::string readable_input_bytes(std::string_view bytes) {
  if (bytes.size() == 1 && !printable_ascii(static_cast<unsigned char>(bytes[0]))) {
    char named[16];
    std::snprintf(named, sizeof named, "byte 0x%02X", static_cast<unsigned char>(bytes[0]));
    return named;
  }
  std::string out = "'";
  for (unsigned char c : bytes) {
    if (printable_ascii(c)) {
      out += static_cast<char>(c);
    } else {
      append_escaped(out, c);
    }
  }
  out += "'";
  return out;
}

}  // namespace

std::string notice_line(std::string_view caption, std::string_view text, cipher::NoticeText encoding) {
  std::string line = readable_utf8(caption);
  line += ": ";
  if (encoding == cipher::NoticeText::utf8) {
    line += readable_utf8(text);
    return line;
  }
  if (caption == cipher::kBadCharacterCaption) {
    line += texts::kOutsideArmourAlphabet;
    line += ": ";
  }
  line += readable_input_bytes(text);
  return line;
}

void send_notices_to(std::function<void(std::string_view line)> print_line) {
  cipher::set_notice_sink([print = std::move(print_line)](std::string_view caption, std::string_view text,
                                                          cipher::NoticeText encoding) {
    print("quiren: " + notice_line(caption, text, encoding));
  });
}

}  // namespace quiren::tool
