// The shared table reader and parser on arbitrary files. Whatever the file
// holds, a compressed block must expand back to exactly its text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

#include "cipher/code_table.h"
#include "cipher/compression.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quiren::cipher;
  (void)parse_code_table(std::span(data, size));

  if (std::FILE* f = std::fopen(kSharedTableFileName, "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  (void)read_shared_table(kSharedTableFileName);
  static constexpr std::string_view texts[] = {"abababababab the the the ", "\x82\xa0\x82\xa0\x82\xa0xxxx",
                                               "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"};
  for (const std::string_view text : texts) {
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    const auto block = compress(bytes, kSharedTableFileName);
    if (!block) continue;
    const auto back = expand(*block, kSharedTableFileName);
    if (std::string_view(reinterpret_cast<const char*>(back.data()), back.size()) != text) std::abort();
  }
  return 0;
}
