// Writing a compatible block: the text encrypted under the password by the
// compatible cipher, the check value made from the password under itself,
// framed under the check value's mode letter (armoured_block.h). Both in the
// ANSI code page the cipher works in. Reading one is read_blocks' and
// decrypt_compatible's work (block_decrypt.h).
#pragma once

#include <string>
#include <string_view>

namespace quiren::block {

class CipherLibrary;

enum class CompatibleWrite {
  written,
  library_failed,  // the library is missing or a call failed
  // A result no working library gives (nothing, or cut off, under memory
  // pressure say): no block is made of it.
  implausible_result,
};

struct CompatibleBlock {
  CompatibleWrite status = CompatibleWrite::library_failed;
  std::u16string block;  // set only when written
};

// The text is encrypted first; the check value only when that worked.
CompatibleBlock write_compatible_block(CipherLibrary& library, std::string_view text_ansi,
                                       std::string_view password_ansi, int width);

}  // namespace quiren::block
