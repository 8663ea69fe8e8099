// The rules of the armoured block that every reader and writer shares: the
// tray program, the command-line tool and the tests take them from here.
#pragma once

#include <cstddef>
#include <string_view>

namespace quiren::block {

// The marker lines that frame a block, and its line break.
inline constexpr std::u16string_view kStartMarker = u"(quiren_start)";
inline constexpr std::u16string_view kEndMarker = u"(quiren_end)";
inline constexpr std::u16string_view kLineBreak = u"\r\n";

// The first body character of a strong block. A compatible block has "A" or
// "B" there (its check mode letter).
inline constexpr char16_t kStrongModeLetter = u'C';

// A strong block's body after its mode letter: its envelope in standard
// base64 without padding. Every one of these characters is in the
// compatible armour's alphabet too, so earlier versions see a block of a
// mode they do not know and say so; and none of them is one that chat
// programs turn into emoji or markup.
inline constexpr std::string_view kStrongArmourAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Wrap widths a block may be written at (the "orikaesi" setting's range),
// and the width used when nothing else is set.
inline constexpr int kNarrowestWrap = 10;
inline constexpr int kWidestWrap = 100;
inline constexpr int kDefaultWrap = 60;

// Encryption refuses longer passwords (UTF-16 code units, the tray
// program's measure of a text's length).
inline constexpr std::size_t kLongestPassword = 30;

// The longest text a block carries, in bytes of the block's encoding, and
// the most one decrypt run gives back over all its blocks together: the
// compatible library expands no block beyond it, so nothing longer can come
// back whole, and a few small blocks that each expand that far cannot
// exhaust memory.
inline constexpr std::size_t kLongestText = std::size_t{64} << 20;

// Put between the results of consecutive blocks when they are shown
// together (viewer, tool); never part of a block.
inline constexpr std::u16string_view kResultJoint =
    u"\r\n\r\n*--*--*--*--*--*--*--*--*--*--*--*--*--*--*\r\n\r\n";

// Shown in place of a block whose password check fails.
inline constexpr std::u16string_view kWrongPasswordText =
    u"パスワードが不正です。復号できません。 by む～くいれん";

}  // namespace quiren::block
