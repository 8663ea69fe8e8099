#include "tools/quiren/tool_commands.h"

#include <algorithm>
#include <optional>

#include "block/ascii.h"
#include "block/block_damage.h"
#include "block/block_rules.h"
#include "block/compatible_block.h"
#include "block/damage_message.h"
#include "block/decrypt_run.h"
#include "block/filled_text.h"
#include "block/keys/safety_digits.h"
#include "block/secret.h"
#include "block/secure_wipe.h"
#include "block/strong_block.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utc_time.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {

namespace {

CommandResult failure(int code, std::string_view message) { return {code, {}, std::string(message)}; }

// A block written, as standard output.
CommandResult written_block(std::u16string_view armoured) {
  return {kExitDone, SecretBytes(block::narrow_ascii(armoured)), {}};
}

// Ends a decrypt run early, keeping the texts decrypted so far.
CommandResult stopped(CommandResult so_far, std::string_view message) {
  so_far.exit_code = kExitBadInput;
  so_far.message = std::string(message);
  return so_far;
}

// The password as every encryption takes it: valid UTF-8, not empty, at
// most the tray program's limit for the kind of block, no NUL.
std::optional<SecretBytes> checked_encrypt_password(PasswordRead read, BlockFormat format, std::string& problem) {
  if (!read.ok) {
    problem = read.problem;
    return std::nullopt;
  }
  const bool strong = format == BlockFormat::strong;
  const std::string_view too_long = strong ? texts::kStrongPasswordTooLong : texts::kPasswordTooLong;
  std::optional<std::u32string> chars = decode_utf8(read.password.view());
  if (!chars) problem = texts::kPasswordNotUtf8;
  else if (chars->empty()) problem = texts::kEmptyPassword;
  else if (utf16_length(*chars) > block::longest_password(strong)) problem = too_long;
  else if (read.password.view().find('\0') != std::string_view::npos) problem = texts::kPasswordHasNul;
  if (chars) block::wipe(*chars);
  if (!problem.empty()) return std::nullopt;
  return std::move(read.password);
}

CommandResult encrypt_strong(std::string_view input, int width, const PasswordSource& password, Ciphers ciphers) {
  std::string problem;
  const std::optional<SecretBytes> utf8 = checked_encrypt_password(password(), BlockFormat::strong, problem);
  if (!utf8) return failure(kExitBadInput, problem);
  const block::StrongBlock written = block::write_strong_block(*ciphers.crypto, input, utf8->view(), width);
  if (written.status != block::SealStatus::sealed) return failure(kExitBadInput, seal_problem(written.status));
  return written_block(written.block);
}

CommandResult encrypt_compatible(std::string_view input, int width, const PasswordSource& password,
                                 CodePage& code_page, block::CipherLibrary& library) {
  Converted converted_text = code_page.from_utf8(input);
  const SecretBytes text_bytes(std::move(converted_text.bytes));
  if (!converted_text.ok) return failure(kExitBadInput, "standard input: " + converted_text.problem);
  if (text_bytes.size() > block::kLongestText) return failure(kExitBadInput, texts::kTextTooLong);

  std::string problem;
  const std::optional<SecretBytes> utf8 = checked_encrypt_password(password(), BlockFormat::compatible, problem);
  if (!utf8) return failure(kExitBadInput, problem);
  Converted converted = code_page.from_utf8(utf8->view());
  const SecretBytes password_bytes(std::move(converted.bytes));
  if (!converted.ok) return failure(kExitBadInput, "password: " + converted.problem);

  const block::CompatibleBlock written =
      block::write_compatible_block(library, text_bytes.view(), password_bytes.view(), width);
  switch (written.status) {
    case block::CompatibleWrite::written: {
      CommandResult result = written_block(written.block);
      result.notes.emplace_back(texts::kCompatibleNote);
      return result;
    }
    case block::CompatibleWrite::implausible_result:
      return failure(kExitBadInput, texts::kLibraryResultImplausible);
    case block::CompatibleWrite::library_failed:
      break;
  }
  return failure(kExitBadInput, texts::kLibraryFailed);
}

// The tool's side of a decrypt run: the password from its source, texts in
// UTF-8 by way of the code page; what went wrong kept for the message.
class ToolFrontEnd : public block::DecryptFrontEnd {
 public:
  ToolFrontEnd(const PasswordSource& source, CodePage& code_page, RoundLimit limit, block::CompatibleBlocks compatible)
      : source_(source), code_page_(code_page), limit_(limit), compatible_(compatible) {}

  bool accept_rounds(const block::LongRun& run) override {
    if (limit_ == RoundLimit::none) return true;
    problem_ = block::filled(texts::kOverRoundBudget, {{"rounds", std::to_string(run.rounds)}});
    return false;
  }

  std::optional<block::BlockPassword> password(std::span<const block::BlockItem> blocks) override {
    PasswordRead read = source_();
    if (!read.ok) return refuse(read.problem);
    if (!block::is_valid_utf8(read.password.view())) return refuse(std::string(texts::kPasswordNotUtf8));
    // Compatible blocks take the password in the code page; strong ones as
    // it was typed, so a password the code page cannot hold still opens them.
    Converted converted = code_page_.from_utf8(read.password.view());
    SecretBytes ansi(std::move(converted.bytes));
    const bool any_compatible = compatible_ == block::CompatibleBlocks::read &&
                                std::any_of(blocks.begin(), blocks.end(), [](const block::BlockItem& item) {
                                  return !item.problem && item.kind == block::BlockKind::compatible;
                                });
    if (!converted.ok && any_compatible) return refuse("password: " + converted.problem);
    return block::BlockPassword{std::move(ansi), std::move(read.password)};
  }

  const block::SecretKey* secret_key() override { return key_ ? &*key_ : nullptr; }
  void hold_key(std::optional<block::SecretKey> key) { key_ = std::move(key); }

  std::optional<block::SecretText> shown_text(const block::BlockResult& plain) override {
    if (plain.encoding == block::TextEncoding::utf8) {
      return block::SecretText(block::utf16_from_utf8(plain.text.view()).value_or(u""));
    }
    Converted converted = code_page_.to_utf8(plain.text.view());
    const SecretBytes utf8(std::move(converted.bytes));
    if (!converted.ok) {
      problem_ = "decrypted text: " + converted.problem;
      return std::nullopt;
    }
    return block::SecretText(block::utf16_from_utf8(utf8.view()).value_or(u""));
  }

  const std::string& problem() const { return problem_; }

 private:
  std::nullopt_t refuse(std::string problem) {
    problem_ = std::move(problem);
    return std::nullopt;
  }

  const PasswordSource& source_;
  CodePage& code_page_;
  RoundLimit limit_;
  block::CompatibleBlocks compatible_;
  std::string problem_;
  std::optional<block::SecretKey> key_;  // from --key, once the text proved to need it
};

// What the tool says of a block that did not open, by its kind.
std::string_view not_opened_note(block::BlockKind kind) {
  return kind == block::BlockKind::strong ? texts::kStrongNotOpened : texts::kBlockNotOpened;
}

// The one line when no block opened: a strong block's words when any was
// strong.
std::string_view none_opened_message(const block::RunResult& run) {
  for (const block::BlockReport& report : run.reports) {
    if (report.outcome == block::Outcome::wrong_password && report.kind == block::BlockKind::strong) {
      return texts::kStrongNotOpened;
    }
  }
  return texts::kWrongPassword;
}

// A key's safety digits, or "?" when the platform's SHA-256 fails.
std::string digits_of(block::CryptoProvider& crypto, const block::X25519PublicKey& key) {
  return block::safety_digits(crypto, key).value_or("?");
}

// The line for a block the output says too little about, or none.
std::string block_note(const block::BlockReport& report, block::CryptoProvider& crypto) {
  switch (report.outcome) {
    case block::Outcome::wrong_password:
      return std::string(not_opened_note(report.kind));
    case block::Outcome::not_for_this_key:
      return std::string(texts::kNotForThisKey);
    case block::Outcome::needs_key:
      return std::string(texts::kNeedsKey);
    case block::Outcome::compatible_refused:
      return std::string(texts::kCompatibleRefused);
    case block::Outcome::opened:
      break;
    // A block that ended the run: the message says why.
    case block::Outcome::later_format:
    case block::Outcome::refused_settings:
    case block::Outcome::damaged:
    case block::Outcome::needs_shared_table:
    case block::Outcome::over_limit:
    case block::Outcome::failed:
    case block::Outcome::cancelled:
      return {};
  }
  // Who wrote it, which only its text's reader can check.
  if (report.sender) {
    return block::filled(texts::kFromSender, {{"digits", digits_of(crypto, report.sender->public_key)},
                                              {"time", utc_minute(report.sender->written_at)}});
  }
  if (report.key) {
    return block::filled(texts::kKeyBlockNote,
                         {{"name", report.key->name}, {"digits", digits_of(crypto, report.key->public_key)}});
  }
  // A compatible block's text, which no one can tell from a changed one's.
  if (report.kind == block::BlockKind::compatible) return std::string(texts::kCompatibleNote);
  return {};
}

// One line for each block the output says too little about: one whose text
// is not there (a text that says why stands in its place, or nothing for a
// refused one), a recipient block's sender, a key block, and a compatible
// block.
std::vector<std::string> block_notes(const block::RunResult& run, block::CryptoProvider& crypto) {
  std::vector<std::string> notes;
  for (const block::BlockReport& report : run.reports) {
    const std::string note = block_note(report, crypto);
    if (note.empty()) continue;
    notes.push_back("block " + std::to_string(report.index + 1) + " of " + std::to_string(run.blocks) + ": " + note);
  }
  return notes;
}

bool only_wrong_passwords(const block::RunResult& run) {
  return std::none_of(run.reports.begin(), run.reports.end(), [](const block::BlockReport& report) {
    return report.outcome == block::Outcome::not_for_this_key || report.outcome == block::Outcome::needs_key;
  });
}

bool needs_the_key(const std::vector<block::BlockItem>& blocks) {
  // As the run asks: only once the first block proved readable.
  if (blocks.empty() || blocks.front().problem) return false;
  return std::any_of(blocks.begin(), blocks.end(), [](const block::BlockItem& item) {
    return !item.problem && item.kind == block::BlockKind::recipient;
  });
}

}  // namespace

std::string_view seal_problem(block::SealStatus status) {
  switch (status) {
    case block::SealStatus::random_unavailable: return texts::kRandomUnavailable;
    case block::SealStatus::text_too_long: return texts::kTextTooLong;
    case block::SealStatus::text_not_utf8: return texts::kInputNotUtf8;
    case block::SealStatus::recipient_count: return texts::kTooManyRecipients;
    case block::SealStatus::recipient_key_refused: return texts::kRecipientKeyRefused;
    default: return texts::kCryptoFailed;
  }
}

CommandResult damaged_block(std::u16string_view received, std::size_t block_index, std::string_view message) {
  CommandResult result = failure(kExitBadInput, message);
  if (const std::optional<block::BlockDamage> damage = block::find_block_damage(received, block_index)) {
    const block::DamageTexts<char> where{texts::kDamageForeignCharacter, texts::kDamageInvisibleCharacter,
                                         texts::kDamageShortLine, texts::kDamageUnevenLength};
    result.detail = block::describe_damage(*damage, where);
  }
  return result;
}

std::u16string received_text(std::string_view input) {
  if (std::optional<std::u16string> text = block::utf16_from_utf8(input)) return std::move(*text);
  return block::widen_bytes(input);
}

std::optional<CommandResult> refused_input(std::string_view input) {
  // Checked without decoding it: the text is the secret.
  if (const std::size_t valid = block::valid_utf8_length(input); valid != input.size()) {
    return failure(kExitBadInput, std::string(texts::kInputNotUtf8) + " (byte " + std::to_string(valid) + ")");
  }
  if (input.find('\0') != std::string_view::npos) return failure(kExitBadInput, texts::kInputHasNul);
  return std::nullopt;
}

CommandResult encrypt_command(std::string_view input, int width, BlockFormat format,
                              const PasswordSource& password, CodePage& code_page, Ciphers ciphers) {
  if (std::optional<CommandResult> refused = refused_input(input)) return std::move(*refused);
  if (format == BlockFormat::strong) {
    if (input.size() > block::kLongestText) return failure(kExitBadInput, texts::kTextTooLong);
    return encrypt_strong(input, width, password, ciphers);
  }
  return encrypt_compatible(input, width, password, code_page, ciphers.compatible);
}

CommandResult decrypt_command(std::string_view input, const PasswordSource& password, CodePage& code_page,
                              Ciphers ciphers, RoundLimit limit, const KeySource& key,
                              block::CompatibleBlocks compatible) {
  ToolFrontEnd front_end(password, code_page, limit, compatible);
  const std::u16string received = received_text(input);
  const std::vector<block::BlockItem> blocks = block::read_received_blocks(received);
  if (key && needs_the_key(blocks)) {
    KeyRead read = key();
    if (!read.ok) return failure(kExitBadInput, read.problem);
    front_end.hold_key(std::move(read.key));
  }
  block::RunHere here;
  const block::RunResult run =
      block::run_decrypt(blocks, front_end, here, ciphers.compatible, ciphers.crypto, compatible);
  // The tool writes a text as it is, a NUL of a strong block's text too.
  CommandResult result{kExitDone, SecretBytes(block::utf8_from_utf16(run.text.view())), {}};
  result.notes = block_notes(run, *ciphers.crypto);
  switch (run.end) {
    case block::RunEnd::done:
      if (block::blocks_with(run, block::Outcome::compatible_refused) > 0) {
        // Refused input, said block by block; the other texts stay.
        result.exit_code = kExitBadInput;
      } else if (run.not_opened > 0 && run.not_opened == run.texts) {
        result.exit_code = kExitWrongPassword;
        // Nothing opened for a wrong password: one line says it all.
        if (only_wrong_passwords(run)) {
          result.message = none_opened_message(run);
          result.notes.clear();
        }
      } else if (run.not_opened > 0) {
        result.exit_code = kExitSomeNotOpened;
      }
      return result;
    case block::RunEnd::no_block:
      return failure(kExitBadInput, texts::kNoBlock);
    case block::RunEnd::rounds_refused:
    case block::RunEnd::no_password:
    case block::RunEnd::not_shown:
      return failure(kExitBadInput, front_end.problem());
    case block::RunEnd::at_block:
      break;
  }
  switch (run.stopped_by()) {
    case block::Outcome::opened:
    case block::Outcome::wrong_password:
    case block::Outcome::not_for_this_key:
    case block::Outcome::needs_key:
    case block::Outcome::compatible_refused:  // ends no run
      return result;
    // The texts read so far stay, as they do in the viewer.
    case block::Outcome::later_format:
      return stopped(std::move(result), texts::kLaterFormat);
    case block::Outcome::refused_settings:
      return stopped(std::move(result), texts::kRefusedSettings);
    case block::Outcome::needs_shared_table:
      return stopped(std::move(result), texts::kNeedsSharedTable);
    case block::Outcome::over_limit:
      return stopped(std::move(result), texts::kOverLimit);
    case block::Outcome::damaged:
      return damaged_block(received, run.end_block, texts::kDamaged);
    case block::Outcome::failed:
    case block::Outcome::cancelled:  // nothing cancels the tool's runs
      break;
  }
  return failure(kExitBadInput, texts::kLibraryFailed);
}

}  // namespace quiren::tool
