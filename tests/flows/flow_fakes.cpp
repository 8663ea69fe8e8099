#include "tests/flows/flow_fakes.h"

#include <cstdint>
#include <span>
#include <vector>

#include "cipher/armour.h"

namespace quiren::testing {
namespace {

std::string keyed(std::string_view bytes, std::string_view password) {
  std::string out(bytes);
  if (password.empty()) return out;
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char>(out[i] ^ password[i % password.size()] ^ static_cast<char>(i * 7));
  }
  return out;
}

}  // namespace

std::optional<std::string> FakeCipher::encrypt(std::string_view text, std::string_view password) {
  encrypts.push_back({std::string(text), std::string(password), "", live()});
  if (missing) return std::nullopt;
  if (text_result && text != password) return text_result;
  std::string filled(text);
  const char fill = !filled.empty() && filled.back() == 'x' ? 'X' : 'x';
  while (filled.size() % 4 != 0) filled.push_back(fill);
  const std::string bytes = keyed(filled, password);
  std::string armour = cipher::armour(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  armour.push_back(text == password ? 'A' : text_mode_letter);
  return armour;
}

std::optional<block::SecretBytes> FakeCipher::decrypt(std::string_view body, std::string_view password,
                                                      std::string_view mode) {
  decrypts.push_back({std::string(body), std::string(password), std::string(mode), live()});
  if (missing) return std::nullopt;
  if (mode_b_result && mode == "B") return block::SecretBytes(*mode_b_result);
  // The flows hand over whole armour groups only.
  const std::vector<std::uint8_t> groups = cipher::decode_armour(body).value_or(std::vector<std::uint8_t>{});
  std::string plain = keyed(std::string(groups.begin(), groups.end()), password);
  // The binding hands back the result up to its first NUL.
  return block::SecretBytes(std::string_view(plain).substr(0, plain.find('\0')));
}

}  // namespace quiren::testing
