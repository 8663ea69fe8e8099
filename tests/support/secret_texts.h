// Secrets as plain strings and back, for stating expected values in tests.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "block/secret.h"

namespace quiren::testing {

inline std::vector<std::u16string> plain(const std::vector<block::SecretText>& secrets) {
  std::vector<std::u16string> texts;
  for (const block::SecretText& secret : secrets) texts.emplace_back(secret.view());
  return texts;
}

inline std::vector<block::SecretText> secrets(const std::vector<std::u16string>& texts) {
  std::vector<block::SecretText> list;
  for (const std::u16string& text : texts) list.emplace_back(std::u16string_view(text));
  return list;
}

}  // namespace quiren::testing
