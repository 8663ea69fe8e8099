// Conversions between the stored texts of the settings store and the
// values the program keeps in memory.
//
// Numbers are read the way the earlier version's runtime read them:
// surrounding blanks (space, tab) are ignored; then an optional sign,
// decimal digits with an optional decimal point (".") and fraction, and an
// optional exponent ("e" or "E", optional sign, digits): " 60 ", "60.5",
// "-3", "1e2", ".5". Anything else (empty text, thousands separators, hex,
// trailing letters) is not a number. Fractions round to the nearest whole
// number, halves to the even one ("60.5" -> 60, "61.5" -> 62); rounding is
// done on the decimal digits, so no binary floating-point error can creep in.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quiren::settings {

// The text as a whole number, rounded half to even; nullopt when the text is
// not a number or its magnitude exceeds the 32-bit range.
std::optional<std::int64_t> parse_rounded_number(std::u16string_view text);

// True when the text is a number exactly equal to n ("1", " 1.0 ", "1e0");
// false for another number ("1.4"); nullopt when it is not a number.
std::optional<bool> number_equals(std::u16string_view text, std::int64_t n);

// True when the text is a number whose value is not zero (no rounding:
// "0.4" is non-zero); nullopt when it is not a number.
std::optional<bool> parse_number_nonzero(std::u16string_view text);

// "True"/"False" in any letter case, or a number (0 false, any other true).
std::optional<bool> parse_boolean(std::u16string_view text);

// A 16-bit signed integer (-32768..32767) after rounding.
std::optional<std::int16_t> parse_int16(std::u16string_view text);

// An unsigned 8-bit integer (0..255) after rounding.
std::optional<std::uint8_t> parse_byte(std::u16string_view text);

// The text forms the settings dialog writes.
std::u16string_view boolean_text(bool value);  // "True" / "False"
std::u16string_view check_text(bool ticked);   // "1" / "0"

}  // namespace quiren::settings
