// The rules of the armoured block that every reader and writer shares: the
// tray program, the command-line tool and the tests take them from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quiren::block {

// The marker lines that frame a block, and its line break.
inline constexpr std::u16string_view kStartMarker = u"(quiren_start)";
inline constexpr std::u16string_view kEndMarker = u"(quiren_end)";
inline constexpr std::u16string_view kLineBreak = u"\r\n";

// The letter right after the start marker's line break says which kind of
// block follows: "A" or "B" a compatible one (the mode letter of its check
// value), "C" a strong one. Any other letter marks a block of a later
// version.
inline constexpr char16_t kStrongModeLetter = u'C';
constexpr bool is_compatible_mode_letter(char16_t c) { return c == u'A' || c == u'B'; }

// A strong block's body after its mode letter: its envelope in standard
// base64 without padding. Every one of these characters is in the
// compatible armour's alphabet too, so earlier versions see a block of a
// mode they do not know and say so; and none of them is one that chat
// programs turn into emoji or markup.
inline constexpr std::string_view kStrongArmourAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// What mail, chat and office programs do to a block's characters on its
// way, and the repair of received texts undoes (received_characters.h).
// Every armour and marker character is printable ASCII, so none of this is
// ambiguous:
//   - blanks around and inside the lines: space, tab, no-break space and the
//     ideographic space;
inline constexpr std::u16string_view kReceivedBlanks = u" \t\u00A0\u3000";
//   - invisible characters put in to let long words wrap or to join
//     characters: zero-width space, non-joiner and joiner, word joiner,
//     zero-width no-break space (the byte order mark) and the soft hyphen;
//     dropped inside a block's lines;
inline constexpr std::u16string_view kInvisibleInsertions = u"\u200B\u200C\u200D\u2060\uFEFF\u00AD";
//   - full-width forms of printable ASCII (U+FF01..U+FF5E, "！" to "～"),
//     read as their ASCII character in the marker and body lines, and the
//     ideographic space as a space;
inline constexpr char16_t kFirstFullWidth = u'\uFF01';
inline constexpr char16_t kLastFullWidth = u'\uFF5E';
inline constexpr char16_t kFullWidthOffset = static_cast<char16_t>(kFirstFullWidth - u'!');
//   - curly quotes from "smart punctuation", read as straight ones in a
//     compatible block's body (a strong block holds no quote).
inline constexpr std::u16string_view kCurlySingleQuotes = u"\u2018\u2019";
inline constexpr std::u16string_view kCurlyDoubleQuotes = u"\u201C\u201D";


// How blocks follow one another in a text, whatever finds the markers:
// `find(marker, from)` gives the first one at or after `from` as a
// MarkerSpan, or nullopt.
//   - The first block is the first start marker and the first end marker
//     after it.
//   - After a block whose end marker ends at `after`, a further block is
//     read while another end marker follows and a start marker comes before
//     it; a stray end marker with no start marker before it ends the
//     reading.
struct MarkerSpan {
  std::size_t begin = 0;
  std::size_t end = 0;  // one past the marker's last character
};
struct BlockMarkers {
  MarkerSpan start;
  MarkerSpan end;
};
template <class FindMarker>
std::optional<BlockMarkers> first_block_markers(FindMarker&& find) {
  const std::optional<MarkerSpan> start = find(kStartMarker, 0);
  if (!start) return std::nullopt;
  const std::optional<MarkerSpan> end = find(kEndMarker, start->end);
  if (!end) return std::nullopt;
  return BlockMarkers{*start, *end};
}
template <class FindMarker>
std::optional<BlockMarkers> next_block_markers(FindMarker&& find, std::size_t after) {
  const std::optional<MarkerSpan> end = find(kEndMarker, after);
  if (!end) return std::nullopt;
  const std::optional<MarkerSpan> start = find(kStartMarker, after);
  if (!start || start->begin > end->begin) return std::nullopt;
  return BlockMarkers{*start, *end};
}

// Wrap widths a block may be written at (the wrap width setting's range),
// and the width used when nothing else is set.
inline constexpr int kNarrowestWrap = 10;
inline constexpr int kWidestWrap = 100;
inline constexpr int kDefaultWrap = 60;

// Encryption refuses longer passwords (UTF-16 code units, the tray
// program's measure of a text's length), by the kind of block it is about
// to write: the compatible format keeps the earlier version's 30, a strong
// block takes a passphrase of several words. Messages that name a limit
// take it from here.
inline constexpr std::size_t kLongestCompatiblePassword = 30;
inline constexpr std::size_t kLongestStrongPassword = 128;
constexpr std::size_t longest_password(bool strong_block) {
  return strong_block ? kLongestStrongPassword : kLongestCompatiblePassword;
}

// The longest text a block carries, in bytes of the block's encoding, and
// the most one decrypt run gives back over all its blocks together: the
// compatible library expands no block beyond it, so nothing longer can come
// back whole, and a few small blocks that each expand that far cannot
// exhaust memory.
inline constexpr std::size_t kLongestText = std::size_t{64} << 20;

// The most rounds of key derivation a decrypt run spends without asking:
// fifty blocks at the writers' count. A text whose strong blocks ask for
// more together (each may ask for up to the readers' maximum) would hold
// the user up for minutes, whatever password is given.
inline constexpr std::uint64_t kRoundBudget = 30'000'000;

// Put between the results of consecutive blocks when they are shown
// together (viewer, tool); never part of a block.
inline constexpr std::u16string_view kResultJoint =
    u"\r\n\r\n*--*--*--*--*--*--*--*--*--*--*--*--*--*--*\r\n\r\n";

// Shown in place of a compatible block whose password check fails, as
// earlier versions show it (texts they joined hold it).
inline constexpr std::u16string_view kWrongPasswordText =
    u"パスワードが不正です。復号できません。 by む～くいれん";
// Shown in place of a strong block that does not open: a changed character
// fails its check just as a wrong password does, and nothing tells the two
// apart, so the text names both rather than send the user retyping a right
// password.
inline constexpr std::u16string_view kStrongNotOpenedText = u"パスワードが違うか、暗号文が途中で変更されています";

}  // namespace quiren::block
