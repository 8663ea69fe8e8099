// The table of received forms (tests/vectors/received-forms.json) as the
// C++ tests and the Windows driver programs take it, and the helpers they
// make their own forms with. Header-only: the driver programs use it too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "block/block_damage.h"
#include "block/block_rules.h"
#include "vectors/received_forms.h"

namespace quiren::testing {

using vectors::ReceivedForm;
using vectors::SourceBlock;

inline const SourceBlock& source_of(const ReceivedForm& form, std::size_t i = 0) {
  return vectors::kSourceBlocks[form.sources[i]];
}

inline const SourceBlock& source_named(std::string_view name) {
  for (const SourceBlock& block : vectors::kSourceBlocks)
    if (block.name == name) return block;
  return vectors::kSourceBlocks[0];
}

// What the viewer shows for a form that reads: each block's text, joined as
// the results of consecutive blocks are.
inline std::u16string shown_text(const ReceivedForm& form) {
  std::u16string shown;
  for (std::size_t i = 0; i < form.sources.size(); ++i) {
    if (i > 0) shown += block::kResultJoint;
    shown += source_of(form, i).text;
  }
  return shown;
}

// Where a damaged form's block must be said to be damaged.
inline block::BlockDamage expected_damage(const ReceivedForm& form) {
  block::DamageKind kind = block::DamageKind::foreign_character;
  if (form.damage.kind == vectors::DamageKind::short_line) kind = block::DamageKind::short_line;
  if (form.damage.kind == vectors::DamageKind::length) kind = block::DamageKind::uneven_length;
  return {kind, form.damage.line, form.damage.column, form.damage.character};
}

// The forms that read as their blocks, all of whose blocks are of `format`
// (any format when `mixed`).
inline std::vector<const ReceivedForm*> readable_forms(vectors::BlockFormat format, bool mixed = false) {
  std::vector<const ReceivedForm*> out;
  for (const ReceivedForm& form : vectors::kReceivedForms) {
    if (form.expect != vectors::Expect::source) continue;
    bool all = true;
    for (std::size_t i = 0; i < form.sources.size(); ++i) all = all && source_of(form, i).format == format;
    if (all || mixed) out.push_back(&form);
  }
  return out;
}

// A received text with its invisible and non-ASCII characters spelt out,
// for failure messages.
inline std::string printable(std::u16string_view s) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (char16_t c : s) {
    if (c == u'\r') out += "\\r";
    else if (c == u'\n') out += "\\n";
    else if (c == u'\t') out += "\\t";
    else if (c >= 0x20 && c < 0x7F) out.push_back(static_cast<char>(c));
    else out += {'<', digits[c >> 12], digits[(c >> 8) & 15], digits[(c >> 4) & 15], digits[c & 15], '>'};
  }
  return out;
}

// A text's lines without their CR LF, and lines put together again with
// `before` each and `between` them.
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

}  // namespace quiren::testing
