// Decryption of arbitrary input in both modes. The first byte chooses the
// mode, the password length and whether the rest is armoured first (so the
// expansion sees fuzzer-chosen bytes directly).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "cipher/armour.h"
#include "cipher/notice.h"
#include "cipher/pipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    quiren::cipher::set_notice_sink([](std::string_view, std::string_view, quiren::cipher::NoticeText) {});
    return true;
  }();
  (void)quiet;
  if (size == 0) return 0;
  const std::uint8_t control = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t password_length = std::min<std::size_t>(control & 0x0F, rest.size());
  const std::string_view password = rest.substr(0, password_length);
  rest.remove_prefix(password_length);
  const std::string_view mode = (control & 0x10) ? "B" : "A";
  std::string body(rest);
  if (control & 0x20) {
    body = quiren::cipher::armour(std::span(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size()));
  }
  (void)quiren::cipher::decrypt(body, (control & 0x20) ? std::string_view() : password, mode);
  return 0;
}
