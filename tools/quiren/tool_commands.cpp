#include "tools/quiren/tool_commands.h"

#include <optional>

#include "tools/quiren/code_page.h"
#include "tools/quiren/received_text.h"
#include "tools/quiren/tool_messages.h"
#include "tools/quiren/utf8.h"
#include "tray/flows/armoured_block.h"
#include "tray/flows/block_decrypt.h"
#include "tray/flows/cipher_binding.h"

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

std::string narrow_ascii(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(static_cast<char>(c));
  return out;
}

}  // namespace

CommandResult encrypt_command(std::string_view input, int width, const PasswordSource& password,
                              CodePage& code_page, CipherLibrary& library) {
  std::size_t bad = 0;
  if (!decode_utf8(input, &bad)) {
    return failure(kExitBadInput, std::string(text::kInputNotUtf8) + " (byte " + std::to_string(bad) + ")");
  }
  if (input.find('\0') != std::string_view::npos) return failure(kExitBadInput, text::kInputHasNul);
  Converted text_bytes = code_page.from_utf8(input);
  if (!text_bytes.ok) return failure(kExitBadInput, "standard input: " + text_bytes.problem);

  PasswordRead read = password();
  if (!read.ok) return failure(kExitBadInput, read.problem);
  std::optional<std::u32string> chars = decode_utf8(read.password);
  if (!chars) return failure(kExitBadInput, text::kPasswordNotUtf8);
  if (chars->empty()) return failure(kExitBadInput, text::kEmptyPassword);
  if (utf16_length(*chars) > kLongestPassword) return failure(kExitBadInput, text::kPasswordTooLong);
  if (read.password.find('\0') != std::string::npos) return failure(kExitBadInput, text::kPasswordHasNul);
  Converted password_bytes = code_page.from_utf8(read.password);
  if (!password_bytes.ok) return failure(kExitBadInput, "password: " + password_bytes.problem);

  std::optional<std::string> text_result = library.encrypt(text_bytes.bytes, password_bytes.bytes);
  std::optional<std::string> check_result = library.encrypt(password_bytes.bytes, password_bytes.bytes);
  if (!text_result || !check_result) return failure(kExitBadInput, text::kLibraryFailed);
  LibraryResult check = split_result(widen_bytes(*check_result));
  LibraryResult body = split_result(widen_bytes(*text_result));
  return {kExitDone, narrow_ascii(write_block(check, body, width)), {}};
}

CommandResult decrypt_command(std::string_view input, const PasswordSource& password, CodePage& code_page,
                              CipherLibrary& library) {
  std::u16string text = widen_bytes(unquote_blocks(crlf_line_breaks(input)));
  if (!has_block(text)) return failure(kExitBadInput, text::kNoBlock);
  std::vector<BlockItem> items = read_blocks(text);
  // Like the tray program: an unreadable first block is reported before
  // any password is asked.
  if (items.front().problem == BlockProblem::unknown_mode_letter) {
    return failure(kExitBadInput, text::kVersionCannotRead);
  }
  if (items.front().problem == BlockProblem::no_separator) return failure(kExitBadInput, text::kUnreadable);

  PasswordRead read = password();
  if (!read.ok) return failure(kExitBadInput, read.problem);
  if (!decode_utf8(read.password)) return failure(kExitBadInput, text::kPasswordNotUtf8);
  Converted password_bytes = code_page.from_utf8(read.password);
  if (!password_bytes.ok) return failure(kExitBadInput, "password: " + password_bytes.problem);

  CommandResult result;
  std::size_t wrong = 0;
  std::size_t decrypted = 0;
  for (const BlockItem& item : items) {
    BlockOutcome outcome = decrypt_block(item, password_bytes.bytes, library);
    std::string piece;
    switch (outcome.kind) {
      case BlockOutcomeKind::plain_text: {
        Converted plain = code_page.to_utf8(outcome.text);
        if (!plain.ok) return failure(kExitBadInput, "decrypted text: " + plain.problem);
        piece = std::move(plain.bytes);
        break;
      }
      case BlockOutcomeKind::wrong_password:
        piece = text::kWrongPasswordPiece;
        ++wrong;
        break;
      case BlockOutcomeKind::version_cannot_read:
        // The texts read so far stay, as they do in the viewer.
        result.exit_code = kExitBadInput;
        result.message = text::kVersionCannotRead;
        return result;
      case BlockOutcomeKind::unreadable:
        return failure(kExitBadInput, text::kUnreadable);
      case BlockOutcomeKind::library_failed:
        return failure(kExitBadInput, text::kLibraryFailed);
    }
    if (decrypted > 0) result.output += narrow_ascii(kResultJoint);
    result.output += piece;
    ++decrypted;
  }
  if (wrong == decrypted) {
    result.exit_code = kExitWrongPassword;
    result.message = text::kWrongPassword;
  }
  return result;
}

}  // namespace quiren::tool
