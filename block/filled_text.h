// A text with the places its words name in braces filled in: "{block}/
// {blocks}" with {"block", "2"} and {"blocks", "5"} gives "2/5". A name
// without a value, or a brace without its partner, stays as it is. The
// tray fills its UTF-16 texts this way, the tool its UTF-8 ones; the names
// are ASCII words for both.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace quiren::block {

template <typename Char>
using FilledValue = std::pair<std::string_view, std::basic_string<Char>>;

namespace filled_text_detail {

template <typename Char>
bool is_name(std::basic_string_view<Char> place, std::string_view name) {
  return std::equal(place.begin(), place.end(), name.begin(), name.end(),
                    [](Char a, char b) { return a == static_cast<Char>(static_cast<unsigned char>(b)); });
}

template <typename Char>
std::basic_string<Char> filled(std::basic_string_view<Char> pattern,
                               std::initializer_list<FilledValue<Char>> values) {
  std::basic_string<Char> out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::size_t close = pattern[i] == Char('{') ? pattern.find(Char('}'), i) : pattern.npos;
    const FilledValue<Char>* value = nullptr;
    if (close != pattern.npos) {
      const std::basic_string_view<Char> place = pattern.substr(i + 1, close - i - 1);
      for (const FilledValue<Char>& v : values) {
        if (is_name(place, v.first)) value = &v;
      }
    }
    if (!value) {
      out += pattern[i];
      continue;
    }
    out += value->second;
    i = close;
  }
  return out;
}

}  // namespace filled_text_detail

inline std::u16string filled(std::u16string_view pattern, std::initializer_list<FilledValue<char16_t>> values) {
  return filled_text_detail::filled(pattern, values);
}

inline std::string filled(std::string_view pattern, std::initializer_list<FilledValue<char>> values) {
  return filled_text_detail::filled(pattern, values);
}

// The decimal digits of `n`, for the tray's texts.
inline std::u16string decimal(unsigned long long n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

}  // namespace quiren::block
