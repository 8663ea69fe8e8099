#include "block/compatible_block.h"

#include <optional>

#include "block/armoured_block.h"
#include "block/ascii.h"
#include "block/cipher_library.h"

namespace quiren::block {

CompatibleBlock write_compatible_block(CipherLibrary& library, std::string_view text_ansi,
                                       std::string_view password_ansi, int width) {
  const std::optional<std::string> text_result = library.encrypt(text_ansi, password_ansi);
  if (!text_result) return {CompatibleWrite::library_failed, {}};
  const std::optional<std::string> check_result = library.encrypt(password_ansi, password_ansi);
  if (!check_result) return {CompatibleWrite::library_failed, {}};
  const LibraryResult text = split_result(widen_bytes(*text_result));
  const LibraryResult check = split_result(widen_bytes(*check_result));
  if (!is_plausible_result(text) || !is_plausible_result(check)) return {CompatibleWrite::implausible_result, {}};
  return {CompatibleWrite::written, frame_compatible_block(check, text, width)};
}

}  // namespace quiren::block
