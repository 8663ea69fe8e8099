#include "tray/core/filled_text.h"

namespace quiren {

std::u16string filled(std::u16string_view pattern, std::initializer_list<TextValue> values) {
  std::u16string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::size_t close = pattern[i] == u'{' ? pattern.find(u'}', i) : std::u16string_view::npos;
    const TextValue* value = nullptr;
    if (close != std::u16string_view::npos) {
      const std::u16string_view name = pattern.substr(i + 1, close - i - 1);
      for (const TextValue& v : values) {
        if (v.first == name) value = &v;
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

std::u16string decimal(unsigned long long n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

}  // namespace quiren
