#include "tests/flows/flow_fakes.h"

#include <cstdint>

namespace quiren::testing {
namespace {

// 85 printable characters without ">" and space.
constexpr std::string_view kAlphabet =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#$%&()*+-;<=?@^_`{|}~[";
static_assert(kAlphabet.size() == 85);

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
  encrypts.push_back({std::string(text), std::string(password), "", state_.busyflag});
  if (missing) return std::nullopt;
  std::string filled(text);
  const char fill = !filled.empty() && filled.back() == 'x' ? 'X' : 'x';
  while (filled.size() % 4 != 0) filled.push_back(fill);
  std::string bytes = keyed(filled, password);
  std::string armour;
  for (std::size_t i = 0; i < bytes.size(); i += 4) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k) value = value << 8 | static_cast<unsigned char>(bytes[i + k]);
    char group[5];
    for (int k = 4; k >= 0; --k) {
      group[k] = kAlphabet[value % 85];
      value /= 85;
    }
    armour.append(group, 5);
  }
  armour.push_back(text == password ? 'A' : text_mode_letter);
  return armour;
}

std::optional<std::string> FakeCipher::decrypt(std::string_view body, std::string_view password,
                                               std::string_view mode) {
  decrypts.push_back({std::string(body), std::string(password), std::string(mode), state_.busyflag});
  if (missing) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i + 5 <= body.size(); i += 5) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 5; ++k) {
      std::size_t digit = kAlphabet.find(body[i + k]);
      value = value * 85 + static_cast<std::uint32_t>(digit == std::string_view::npos ? 0 : digit);
    }
    for (int k = 3; k >= 0; --k) bytes.push_back(static_cast<char>(value >> (8 * k) & 0xFF));
  }
  std::string plain = keyed(bytes, password);
  // The binding hands back the result up to its first NUL.
  return plain.substr(0, plain.find('\0'));
}

}  // namespace quiren::testing
