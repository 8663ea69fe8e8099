// Texts that name a number from the rules (a password limit, a range of
// widths), written at compile time from the rule itself, so that a message
// cannot go on naming a limit the rule no longer has:
//
//   inline constexpr auto kTooLongText =
//       compose(u"", kLongestCompatiblePassword, u"文字以上のパスワードは利用できません。");
//   inline constexpr std::u16string_view kTooLong = kTooLongText.view();
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quiren::block {

template <class Char, std::size_t Capacity>
class ComposedText {
 public:
  constexpr ComposedText& append(std::basic_string_view<Char> text) {
    for (Char c : text) chars_[size_++] = c;
    return *this;
  }
  constexpr ComposedText& append_decimal(std::uint64_t n) {
    Char digits[20]{};
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<Char>('0' + n % 10);
      n /= 10;
    } while (n != 0);
    while (count > 0) chars_[size_++] = digits[--count];
    return *this;
  }
  constexpr std::basic_string_view<Char> view() const { return {chars_, size_}; }

 private:
  Char chars_[Capacity]{};
  std::size_t size_ = 0;
};

// Room for the two literals (their NULs aside) and the longest decimal.
template <class Char, std::size_t Before, std::size_t After>
constexpr ComposedText<Char, Before + After + 20> compose(const Char (&before)[Before], std::uint64_t n,
                                                          const Char (&after)[After]) {
  ComposedText<Char, Before + After + 20> text;
  text.append({before, Before - 1}).append_decimal(n).append({after, After - 1});
  return text;
}

// Two numbers: "10文字以上100字以内".
template <class Char, std::size_t Before, std::size_t Between, std::size_t After>
constexpr ComposedText<Char, Before + Between + After + 40> compose(const Char (&before)[Before], std::uint64_t first,
                                                                    const Char (&between)[Between],
                                                                    std::uint64_t second, const Char (&after)[After]) {
  ComposedText<Char, Before + Between + After + 40> text;
  text.append({before, Before - 1})
      .append_decimal(first)
      .append({between, Between - 1})
      .append_decimal(second)
      .append({after, After - 1});
  return text;
}

}  // namespace quiren::block
