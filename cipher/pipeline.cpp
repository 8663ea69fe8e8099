#include "cipher/pipeline.h"

#include <cstdint>
#include <span>
#include <vector>

#include "cipher/armour.h"
#include "cipher/armour_removal.h"
#include "cipher/code_table.h"
#include "cipher/compression.h"
#include "cipher/keystream.h"

namespace quiren::cipher {

namespace {

std::span<const std::uint8_t> as_bytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::span<std::uint8_t> as_writable_bytes(std::string& s) {
  return {reinterpret_cast<std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

std::string fill_to_groups(std::string_view payload) {
  std::string filled(payload);
  const char fill = !payload.empty() && payload.back() == 'x' ? 'X' : 'x';
  while (filled.size() % 4 != 0) filled.push_back(fill);
  return filled;
}

std::string encrypt(std::string_view text, std::string_view password) {
  const auto block = compress(as_bytes(text), kSharedTableFileName);
  const bool compressed = block && block->size() < text.size();
  std::string payload = compressed ? fill_to_groups(std::string_view(reinterpret_cast<const char*>(block->data()),
                                                                      block->size()))
                                   : fill_to_groups(text);
  encipher(password, as_writable_bytes(payload));
  std::string result = armour(as_bytes(payload));
  result.push_back(compressed ? 'B' : 'A');
  return result;
}

std::string decrypt(std::string_view body, std::string_view password, std::string_view mode) {
  std::vector<std::uint8_t> payload = remove_armour(body);
  decipher(password, payload);
  if (!mode.empty() && mode.front() == 'B') payload = expand(payload, kSharedTableFileName);
  return std::string(payload.begin(), payload.end());
}

}  // namespace quiren::cipher
