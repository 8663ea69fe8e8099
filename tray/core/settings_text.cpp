#include "tray/core/settings_text.h"

#include <limits>
#include <string>

namespace quiren::settings {
namespace {

bool is_blank(char16_t c) { return c == u' ' || c == u'\t'; }
bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A number split into its decimal digits: value = digits * 10^(exponent),
// with the digits taken as an integer.
struct Decimal {
  bool negative = false;
  std::string digits;          // no leading zeros; empty means zero
  std::int64_t exponent = 0;   // power of ten of the last digit
};

std::optional<Decimal> parse_decimal(std::u16string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && is_blank(text[begin])) ++begin;
  while (end > begin && is_blank(text[end - 1])) --end;
  text = text.substr(begin, end - begin);

  Decimal d;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    d.negative = text[i] == u'-';
    ++i;
  }
  bool any_digit = false;
  std::int64_t fraction_digits = 0;
  auto take_digit = [&](char16_t c) {
    any_digit = true;
    if (d.digits.empty() && c == u'0') return;  // leading zero
    d.digits.push_back(static_cast<char>(c));
  };
  while (i < text.size() && is_digit(text[i])) take_digit(text[i++]);
  if (i < text.size() && text[i] == u'.') {
    ++i;
    while (i < text.size() && is_digit(text[i])) {
      if (!d.digits.empty() || text[i] != u'0') {
        d.digits.push_back(static_cast<char>(text[i]));
      }
      any_digit = true;
      ++fraction_digits;
      ++i;
    }
  }
  if (!any_digit) return std::nullopt;

  std::int64_t exponent = 0;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    ++i;
    bool exp_negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
      exp_negative = text[i] == u'-';
      ++i;
    }
    if (i >= text.size() || !is_digit(text[i])) return std::nullopt;
    while (i < text.size() && is_digit(text[i])) {
      // Saturate: any exponent this large already decides the result.
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - u'0');
      ++i;
    }
    if (exp_negative) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;
  d.exponent = exponent - fraction_digits;
  return d;
}

// Rounds half to even; `exact` tells whether no non-zero digit was dropped.
std::optional<std::int64_t> round_decimal(const std::optional<Decimal>& d, bool* exact) {
  *exact = true;
  if (!d) return std::nullopt;
  if (d->digits.empty()) return 0;

  const auto count = static_cast<std::int64_t>(d->digits.size());
  // Number of digits before the decimal point.
  const std::int64_t whole_count = count + d->exponent;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  if (whole_count > 10) return std::nullopt;

  std::int64_t whole = 0;
  for (std::int64_t k = 0; k < whole_count; ++k) {
    whole = whole * 10 + (k < count ? d->digits[static_cast<std::size_t>(k)] - '0' : 0);
  }
  // Round on the first dropped digit; the rest only matter for exact halves.
  if (whole_count < count) {
    const std::int64_t first = whole_count >= 0 ? whole_count : -1;
    if (first >= 0) {
      const int dropped = d->digits[static_cast<std::size_t>(first)] - '0';
      bool rest_nonzero = false;
      for (std::int64_t k = first + 1; k < count; ++k) {
        if (d->digits[static_cast<std::size_t>(k)] != '0') rest_nonzero = true;
      }
      *exact = dropped == 0 && !rest_nonzero;
      if (dropped > 5 || (dropped == 5 && (rest_nonzero || whole % 2 == 1))) ++whole;
    }
    // first < 0: the value is below 0.1 in magnitude and rounds to zero.
    if (first < 0) *exact = false;
  }
  if (whole > kMax + 1) return std::nullopt;
  const std::int64_t value = d->negative ? -whole : whole;
  if (value > kMax) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::int64_t> parse_rounded_number(std::u16string_view text) {
  bool exact = true;
  return round_decimal(parse_decimal(text), &exact);
}

std::optional<bool> number_equals(std::u16string_view text, std::int64_t n) {
  bool exact = true;
  auto value = round_decimal(parse_decimal(text), &exact);
  if (!value) return std::nullopt;
  return exact && *value == n;
}

std::optional<bool> parse_number_nonzero(std::u16string_view text) {
  auto d = parse_decimal(text);
  if (!d) return std::nullopt;
  return !d->digits.empty();
}

std::optional<bool> parse_boolean(std::u16string_view text) {
  auto lower_equals = [](std::u16string_view s, std::u16string_view word) {
    if (s.size() != word.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
      char16_t c = s[i];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
      if (c != word[i]) return false;
    }
    return true;
  };
  if (lower_equals(text, u"true")) return true;
  if (lower_equals(text, u"false")) return false;
  return parse_number_nonzero(text);
}

std::optional<std::int16_t> parse_int16(std::u16string_view text) {
  auto n = parse_rounded_number(text);
  if (!n || *n < std::numeric_limits<std::int16_t>::min() ||
      *n > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(*n);
}

std::optional<std::uint8_t> parse_byte(std::u16string_view text) {
  auto n = parse_rounded_number(text);
  if (!n || *n < 0 || *n > 255) return std::nullopt;
  return static_cast<std::uint8_t>(*n);
}

std::u16string_view boolean_text(bool value) { return value ? u"True" : u"False"; }

std::u16string_view check_text(bool ticked) { return ticked ? u"1" : u"0"; }

}  // namespace quiren::settings
