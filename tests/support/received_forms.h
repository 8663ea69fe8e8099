// The forms a block comes back in from mail and chat programs, made from a
// block as it was written (CR LF line breaks). One table for the block
// reader's, the tool's, the decrypt flow's and the end-to-end tests, so each
// level is checked against the same forms. Header-only: the Windows driver
// programs use it too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quiren::testing {

struct ReceivedForm {
  std::string name;
  std::u16string text;
};

// A text's lines without their CR LF, and lines put together again with
// `before` each and `between` them: the tools the forms are made with.
inline std::vector<std::u16string> lines_of(std::u16string_view text) {
  std::vector<std::u16string> lines;
  for (std::size_t pos = 0;;) {
    std::size_t end = text.find(u"\r\n", pos);
    lines.emplace_back(text.substr(pos, end == std::u16string_view::npos ? end : end - pos));
    if (end == std::u16string_view::npos) return lines;
    pos = end + 2;
  }
}

inline std::u16string joined(const std::vector<std::u16string>& lines, std::u16string_view before,
                             std::u16string_view between) {
  std::u16string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += between;
    out += before;
    out += lines[i];
  }
  return out;
}

// The block's body (the lines between its markers) run together and cut
// again every `width` characters, as a mail program re-wraps a paragraph.
inline std::vector<std::u16string> rewrapped(const std::vector<std::u16string>& lines, std::size_t width) {
  std::u16string body;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) body += lines[i];
  std::vector<std::u16string> out{lines.front()};
  for (std::size_t pos = 0; pos < body.size(); pos += width) out.push_back(body.substr(pos, width));
  out.push_back(lines.back());
  return out;
}

// Every form of one block, from "as sent" to the whole block run together on
// one line. Quoted forms stand in a reply, with quoted text around them.
inline std::vector<ReceivedForm> received_forms(std::u16string_view block) {
  const std::vector<std::u16string> lines = lines_of(block);
  auto quoted_lines = [](const std::vector<std::u16string>& these, std::u16string_view quote,
                         std::u16string_view eol) {
    return std::u16string(quote) + u"On Monday you wrote:" + std::u16string(eol) + joined(these, quote, eol) +
           std::u16string(eol) + std::u16string(quote) + std::u16string(eol) + u"Thanks, see above.";
  };
  auto quoted = [&](std::u16string_view quote, std::u16string_view eol) { return quoted_lines(lines, quote, eol); };
  auto blank_inside = [&](char16_t blank) {
    std::vector<std::u16string> out = lines;
    for (std::size_t i = 1; i + 1 < out.size(); ++i) out[i].insert(out[i].size() / 2, 1, blank);
    return joined(out, u"", u"\r\n");
  };
  // Alternates ">> " and "> > " line by line, in a reply quoted once.
  std::u16string mixed = u"> She wrote:\r\n";
  for (std::size_t i = 0; i < lines.size(); ++i) mixed += (i % 2 ? u"> > " : u">> ") + lines[i] + u"\r\n";
  mixed += u"> Did you get it?\r\nYes.";

  return {
      {"as sent", std::u16string(block)},
      {"LF only", joined(lines, u"", u"\n")},
      {"CR only", joined(lines, u"", u"\r")},
      {"quoted '> ', CR LF", quoted(u"> ", u"\r\n")},
      {"quoted '> ', LF", quoted(u"> ", u"\n")},
      {"quoted '>> ', CR LF", quoted(u">> ", u"\r\n")},
      {"quoted '>> ', LF", quoted(u">> ", u"\n")},
      {"quoted '| ', CR LF", quoted(u"| ", u"\r\n")},
      {"quoted '>' without space, LF", quoted(u">", u"\n")},
      {"mixed depth and spacing", mixed},
      {"indented 4 spaces", u"Here it is:\r\n" + joined(lines, u"    ", u"\r\n")},
      {"indented with a tab", u"Here it is:\r\n" + joined(lines, u"\t", u"\r\n")},
      {"U+00A0 after lines", joined(lines, u"", u"\u00A0\r\n") + u"\u00A0"},
      {"U+3000 after lines", joined(lines, u"", u"\u3000\r\n") + u"\u3000"},
      {"U+00A0 inside lines", blank_inside(u'\u00A0')},
      {"U+3000 inside lines", blank_inside(u'\u3000')},
      {"U+3000 indent, U+00A0 after lines", joined(lines, u"\u3000", u"\u00A0\r\n")},
      {"re-wrapped at 30", joined(rewrapped(lines, 30), u"", u"\r\n")},
      {"re-wrapped at 76", joined(rewrapped(lines, 76), u"", u"\r\n")},
      {"quoted '> ', LF, re-wrapped at 76", quoted_lines(rewrapped(lines, 76), u"> ", u"\n")},
      {"joined on one line", joined(lines, u"", u" ")},
      {"joined on one line, quoted '> '", u"> " + joined(lines, u"", u" ") + u"\r\n> \r\nok"},
      {"joined on one line, no spaces", joined(lines, u"", u"")},
  };
}

// Two blocks in one text, one of them quoted: read in order, each as sent.
inline std::vector<ReceivedForm> received_pairs(std::u16string_view first, std::u16string_view second) {
  const std::u16string quoted_first = joined(lines_of(first), u"> ", u"\r\n");
  const std::u16string quoted_second = joined(lines_of(second), u"> ", u"\n");
  return {
      {"first as sent, second quoted", std::u16string(first) + u"\r\n\r\nYou wrote:\r\n" + quoted_second},
      {"first quoted, second as sent", u"You wrote:\r\n" + quoted_first + u"\r\n> \r\nHere is mine:\r\n" +
                                           std::u16string(second)},
  };
}

}  // namespace quiren::testing
