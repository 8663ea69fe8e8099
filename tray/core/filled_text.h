// A text with the places its words name in braces filled in: "{block}/
// {blocks}" with {"block", u"2"} and {"blocks", u"5"} gives "2/5". A name
// without a value stays as it is.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace quiren {

using TextValue = std::pair<std::u16string_view, std::u16string>;

std::u16string filled(std::u16string_view pattern, std::initializer_list<TextValue> values);

// The decimal digits of `n`.
std::u16string decimal(unsigned long long n);

}  // namespace quiren
