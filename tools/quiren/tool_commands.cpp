#include "tools/quiren/tool_commands.h"

#include <algorithm>
#include <optional>

#include "block/armoured_block.h"
#include "block/ascii.h"
#include "block/block_damage.h"
#include "block/block_decrypt.h"
#include "block/block_rules.h"
#include "block/cipher_library.h"
#include "block/damage_message.h"
#include "block/received_text.h"
#include "block/secure_wipe.h"
#include "block/strong_block.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {

namespace {

CommandResult failure(int code, std::string_view message) { return {code, {}, std::string(message)}; }

// Ends a decrypt run early, keeping the texts decrypted so far.
CommandResult stopped(CommandResult so_far, std::string_view message) {
  so_far.exit_code = kExitBadInput;
  so_far.message = std::string(message);
  return so_far;
}

// A damaged block, and where it is damaged when that can be told: lines
// and characters counted in the input as it came.
CommandResult unreadable(std::u16string_view received, std::size_t block_index) {
  CommandResult result = failure(kExitBadInput, texts::kUnreadable);
  if (const std::optional<block::BlockDamage> damage = block::find_block_damage(received, block_index)) {
    const block::DamageTexts<char> where{texts::kDamageForeignCharacter, texts::kDamageInvisibleCharacter,
                                         texts::kDamageShortLine, texts::kDamageUnevenLength};
    result.detail = block::describe_damage(*damage, where);
  }
  return result;
}

// UTF-8 input as the characters it spells, so that the blanks a mail editor
// put into a block (U+00A0, U+3000) are seen as such; other input is widened
// byte for byte. Blocks are ASCII either way.
std::u16string received_text(std::string_view input) {
  if (std::optional<std::u16string> text = block::utf16_from_utf8(input)) return std::move(*text);
  return block::widen_bytes(input);
}

// The password as every encryption takes it: valid UTF-8, not empty, at
// most the tray program's 30 characters, no NUL.
std::optional<std::string> check_encrypt_password(const PasswordRead& read, std::string& problem) {
  if (!read.ok) {
    problem = read.problem;
    return std::nullopt;
  }
  std::optional<std::u32string> chars = decode_utf8(read.password);
  if (!chars) problem = texts::kPasswordNotUtf8;
  else if (chars->empty()) problem = texts::kEmptyPassword;
  else if (utf16_length(*chars) > block::kLongestPassword) problem = texts::kPasswordTooLong;
  else if (read.password.find('\0') != std::string::npos) problem = texts::kPasswordHasNul;
  if (!problem.empty()) return std::nullopt;
  return read.password;
}

std::string_view seal_problem(block::SealStatus status) {
  switch (status) {
    case block::SealStatus::random_unavailable: return texts::kRandomUnavailable;
    case block::SealStatus::text_too_long: return texts::kTextTooLong;
    case block::SealStatus::text_not_utf8: return texts::kInputNotUtf8;
    default: return texts::kCryptoFailed;
  }
}

CommandResult encrypt_strong(std::string_view input, int width, const PasswordSource& password, Ciphers ciphers) {
  std::string problem;
  std::optional<std::string> utf8 = check_encrypt_password(password(), problem);
  if (!utf8) return failure(kExitBadInput, problem);
  block::StrongBlock written = block::write_strong_block(ciphers.crypto, input, *utf8, width);
  block::wipe(*utf8);
  if (written.status != block::SealStatus::sealed) return failure(kExitBadInput, seal_problem(written.status));
  return {kExitDone, block::narrow_ascii(written.block), {}};
}

CommandResult encrypt_compatible(std::string_view input, int width, const PasswordSource& password,
                                 CodePage& code_page, block::CipherLibrary& library) {
  Converted text_bytes = code_page.from_utf8(input);
  if (!text_bytes.ok) return failure(kExitBadInput, "standard input: " + text_bytes.problem);
  if (text_bytes.bytes.size() > block::kLongestText) return failure(kExitBadInput, texts::kTextTooLong);

  std::string problem;
  std::optional<std::string> utf8 = check_encrypt_password(password(), problem);
  if (!utf8) return failure(kExitBadInput, problem);
  Converted password_bytes = code_page.from_utf8(*utf8);
  block::wipe(*utf8);
  if (!password_bytes.ok) return failure(kExitBadInput, "password: " + password_bytes.problem);

  std::optional<std::string> text_result = library.encrypt(text_bytes.bytes, password_bytes.bytes);
  std::optional<std::string> check_result = library.encrypt(password_bytes.bytes, password_bytes.bytes);
  block::wipe(password_bytes.bytes);
  if (!text_result || !check_result) return failure(kExitBadInput, texts::kLibraryFailed);
  block::LibraryResult check = block::split_result(block::widen_bytes(*check_result));
  block::LibraryResult body = block::split_result(block::widen_bytes(*text_result));
  return {kExitDone, block::narrow_ascii(block::write_block(check, body, width)), {}};
}

}  // namespace

CommandResult encrypt_command(std::string_view input, int width, BlockFormat format,
                              const PasswordSource& password, CodePage& code_page, Ciphers ciphers) {
  std::size_t bad = 0;
  if (!decode_utf8(input, &bad)) {
    return failure(kExitBadInput, std::string(texts::kInputNotUtf8) + " (byte " + std::to_string(bad) + ")");
  }
  if (input.find('\0') != std::string_view::npos) return failure(kExitBadInput, texts::kInputHasNul);
  if (format == BlockFormat::strong) {
    if (input.size() > block::kLongestText) return failure(kExitBadInput, texts::kTextTooLong);
    return encrypt_strong(input, width, password, ciphers);
  }
  return encrypt_compatible(input, width, password, code_page, ciphers.compatible);
}

CommandResult decrypt_command(std::string_view input, const PasswordSource& password, CodePage& code_page,
                              Ciphers ciphers) {
  const std::u16string received = received_text(input);
  std::u16string text = block::repair_received_text(received);
  if (!block::has_block(text)) return failure(kExitBadInput, texts::kNoBlock);
  std::vector<block::BlockItem> items = block::read_blocks(text);
  // Like the tray program: an unreadable first block is reported before
  // any password is asked.
  if (items.front().problem == block::BlockProblem::version_cannot_read) {
    return failure(kExitBadInput, texts::kVersionCannotRead);
  }
  if (items.front().problem == block::BlockProblem::unreadable) return unreadable(received, 0);

  PasswordRead read = password();
  if (!read.ok) return failure(kExitBadInput, read.problem);
  if (!decode_utf8(read.password)) return failure(kExitBadInput, texts::kPasswordNotUtf8);
  // Compatible blocks take the password in the code page; strong ones as
  // it was typed, so a password the code page cannot hold still opens them.
  Converted password_bytes = code_page.from_utf8(read.password);
  const bool any_compatible = std::any_of(items.begin(), items.end(), [](const block::BlockItem& item) {
    return item.problem == block::BlockProblem::none && item.kind == block::BlockKind::compatible;
  });
  if (!password_bytes.ok && any_compatible) return failure(kExitBadInput, "password: " + password_bytes.problem);
  block::DecryptRun run(block::BlockPassword(std::move(password_bytes.bytes), std::move(read.password)),
                       ciphers.compatible, ciphers.crypto);

  CommandResult result;
  std::size_t wrong = 0;
  std::size_t decrypted = 0;
  for (const block::BlockItem& item : items) {
    block::BlockOutcome outcome = run.decrypt(item);
    std::string piece;
    switch (outcome.kind) {
      case block::BlockOutcomeKind::plain_text: {
        if (outcome.encoding == block::TextEncoding::utf8) {
          piece = std::move(outcome.text);
          break;
        }
        Converted plain = code_page.to_utf8(outcome.text);
        if (!plain.ok) return failure(kExitBadInput, "decrypted text: " + plain.problem);
        piece = std::move(plain.bytes);
        break;
      }
      case block::BlockOutcomeKind::wrong_password:
        piece = utf8_from_utf16(block::kWrongPasswordText);
        ++wrong;
        break;
      // The texts read so far stay, as they do in the viewer.
      case block::BlockOutcomeKind::version_cannot_read:
        return stopped(std::move(result), texts::kVersionCannotRead);
      case block::BlockOutcomeKind::needs_shared_table:
        return stopped(std::move(result), texts::kNeedsSharedTable);
      case block::BlockOutcomeKind::over_budget:
        return stopped(std::move(result), texts::kDecryptedTooLong);
      case block::BlockOutcomeKind::unreadable:
        return unreadable(received, decrypted);
      case block::BlockOutcomeKind::library_failed:
        return failure(kExitBadInput, texts::kLibraryFailed);
    }
    if (decrypted > 0) result.output += block::narrow_ascii(block::kResultJoint);
    result.output += piece;
    block::wipe(piece);
    ++decrypted;
  }
  if (wrong == decrypted) {
    result.exit_code = kExitWrongPassword;
    result.message = texts::kWrongPassword;
  }
  return result;
}

}  // namespace quiren::tool
