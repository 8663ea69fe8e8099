#include "tools/quiren/tool_commands.h"

#include <optional>

#include "block/armoured_block.h"
#include "block/block_decrypt.h"
#include "block/block_rules.h"
#include "block/cipher_library.h"
#include "block/received_text.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {

namespace {

CommandResult failure(int code, std::string_view message) { return {code, {}, std::string(message)}; }

// Blocks are ASCII; other bytes only ever stand around them and are
// widened one for one so that nothing is lost on the way back.
std::u16string widen_bytes(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) out.push_back(c);
  return out;
}

// UTF-8 input as the characters it spells, so that the blanks a mail editor
// put into a block (U+00A0, U+3000) are seen as such; other input is widened
// byte for byte. Blocks are ASCII either way.
std::u16string received_text(std::string_view input) {
  std::optional<std::u32string> chars = decode_utf8(input);
  if (!chars) return widen_bytes(input);
  std::u16string out;
  out.reserve(chars->size());
  for (char32_t c : *chars) {
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

std::string narrow_ascii(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(static_cast<char>(c));
  return out;
}

}  // namespace

CommandResult encrypt_command(std::string_view input, int width, const PasswordSource& password,
                              CodePage& code_page, block::CipherLibrary& library) {
  std::size_t bad = 0;
  if (!decode_utf8(input, &bad)) {
    return failure(kExitBadInput, std::string(texts::kInputNotUtf8) + " (byte " + std::to_string(bad) + ")");
  }
  if (input.find('\0') != std::string_view::npos) return failure(kExitBadInput, texts::kInputHasNul);
  Converted text_bytes = code_page.from_utf8(input);
  if (!text_bytes.ok) return failure(kExitBadInput, "standard input: " + text_bytes.problem);

  PasswordRead read = password();
  if (!read.ok) return failure(kExitBadInput, read.problem);
  std::optional<std::u32string> chars = decode_utf8(read.password);
  if (!chars) return failure(kExitBadInput, texts::kPasswordNotUtf8);
  if (chars->empty()) return failure(kExitBadInput, texts::kEmptyPassword);
  if (utf16_length(*chars) > block::kLongestPassword) return failure(kExitBadInput, texts::kPasswordTooLong);
  if (read.password.find('\0') != std::string::npos) return failure(kExitBadInput, texts::kPasswordHasNul);
  Converted password_bytes = code_page.from_utf8(read.password);
  if (!password_bytes.ok) return failure(kExitBadInput, "password: " + password_bytes.problem);

  std::optional<std::string> text_result = library.encrypt(text_bytes.bytes, password_bytes.bytes);
  std::optional<std::string> check_result = library.encrypt(password_bytes.bytes, password_bytes.bytes);
  if (!text_result || !check_result) return failure(kExitBadInput, texts::kLibraryFailed);
  block::LibraryResult check = block::split_result(widen_bytes(*check_result));
  block::LibraryResult body = block::split_result(widen_bytes(*text_result));
  return {kExitDone, narrow_ascii(block::write_block(check, body, width)), {}};
}

CommandResult decrypt_command(std::string_view input, const PasswordSource& password, CodePage& code_page,
                              block::CipherLibrary& library) {
  std::u16string text = block::repair_received_text(received_text(input));
  if (!block::has_block(text)) return failure(kExitBadInput, texts::kNoBlock);
  std::vector<block::BlockItem> items = block::read_blocks(text);
  // Like the tray program: an unreadable first block is reported before
  // any password is asked.
  if (items.front().problem == block::BlockProblem::unknown_mode_letter) {
    return failure(kExitBadInput, texts::kVersionCannotRead);
  }
  if (items.front().problem == block::BlockProblem::no_separator) return failure(kExitBadInput, texts::kUnreadable);

  PasswordRead read = password();
  if (!read.ok) return failure(kExitBadInput, read.problem);
  if (!decode_utf8(read.password)) return failure(kExitBadInput, texts::kPasswordNotUtf8);
  Converted password_bytes = code_page.from_utf8(read.password);
  if (!password_bytes.ok) return failure(kExitBadInput, "password: " + password_bytes.problem);

  CommandResult result;
  std::size_t wrong = 0;
  std::size_t decrypted = 0;
  for (const block::BlockItem& item : items) {
    block::BlockOutcome outcome = block::decrypt_block(item, password_bytes.bytes, library);
    std::string piece;
    switch (outcome.kind) {
      case block::BlockOutcomeKind::plain_text: {
        Converted plain = code_page.to_utf8(outcome.text);
        if (!plain.ok) return failure(kExitBadInput, "decrypted text: " + plain.problem);
        piece = std::move(plain.bytes);
        break;
      }
      case block::BlockOutcomeKind::wrong_password:
        piece = utf8_from_utf16(block::kWrongPasswordText);
        ++wrong;
        break;
      case block::BlockOutcomeKind::version_cannot_read:
        // The texts read so far stay, as they do in the viewer.
        result.exit_code = kExitBadInput;
        result.message = texts::kVersionCannotRead;
        return result;
      case block::BlockOutcomeKind::unreadable:
        return failure(kExitBadInput, texts::kUnreadable);
      case block::BlockOutcomeKind::library_failed:
        return failure(kExitBadInput, texts::kLibraryFailed);
    }
    if (decrypted > 0) result.output += narrow_ascii(block::kResultJoint);
    result.output += piece;
    ++decrypted;
  }
  if (wrong == decrypted) {
    result.exit_code = kExitWrongPassword;
    result.message = texts::kWrongPassword;
  }
  return result;
}

}  // namespace quiren::tool
