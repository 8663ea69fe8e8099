#include "tools/quiren/key_commands.h"

#include <optional>

#include "block/ascii.h"
#include "block/block_rules.h"
#include "block/decrypt_run.h"
#include "block/filled_text.h"
#include "block/keys/key_block.h"
#include "block/keys/key_file.h"
#include "block/keys/recipient_block.h"
#include "block/keys/safety_digits.h"
#include "tools/quiren/file_access.h"
#include "tools/quiren/login_name.h"
#include "tools/quiren/new_file.h"
#include "tools/quiren/tool_texts.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {

namespace {

CommandResult failure(std::string_view message) { return {kExitBadInput, {}, std::string(message)}; }

std::string_view name_problem(block::KeyNameProblem problem) {
  switch (problem) {
    case block::KeyNameProblem::not_utf8: return texts::kKeyNameNotUtf8;
    case block::KeyNameProblem::too_long: return texts::kKeyNameTooLong;
    case block::KeyNameProblem::forbidden_character: return texts::kKeyNameForbidden;
    case block::KeyNameProblem::none: break;
  }
  return {};
}

struct KeyBlockWritten {
  std::string block;    // empty when not written
  std::string problem;  // when not
};

// The key block of `public_key` under the name, and the line with its
// safety digits.
KeyBlockWritten key_block_of(const block::X25519PublicKey& public_key, std::string_view name_utf8, int width,
                             block::CryptoProvider& crypto) {
  const block::KeyEnvelopeWrite written = block::write_key_envelope(crypto, public_key, name_utf8);
  if (written.problem != block::KeyNameProblem::none) return {{}, std::string(name_problem(written.problem))};
  if (written.hash_failed) return {{}, std::string(texts::kCryptoFailed)};
  return {block::narrow_ascii(block::frame_key_envelope(written.envelope, width)), {}};
}

std::string your_digits(const block::X25519PublicKey& public_key, block::CryptoProvider& crypto) {
  return block::filled(texts::kYourDigits, {{"digits", block::safety_digits(crypto, public_key).value_or("?")}});
}

// The passphrase a new key is sealed under: valid UTF-8, not empty, at most
// the strong password limit, no NUL.
std::optional<block::SecretBytes> checked_passphrase(PasswordRead read, std::string& problem) {
  if (!read.ok) {
    problem = read.problem;
    return std::nullopt;
  }
  std::optional<std::u32string> chars = decode_utf8(read.password.view());
  if (!chars) problem = texts::kPasswordNotUtf8;
  else if (chars->empty()) problem = texts::kEmptyKeyPassphrase;
  else if (utf16_length(*chars) > block::kLongestStrongPassword) problem = texts::kKeyPassphraseTooLong;
  else if (read.password.view().find('\0') != std::string_view::npos) problem = texts::kPasswordHasNul;
  if (chars) block::wipe(*chars);
  if (!problem.empty()) return std::nullopt;
  return std::move(read.password);
}

// What a key block that does not read comes to, for a message.
CommandResult key_block_problem(block::Outcome outcome, std::u16string_view received, std::size_t index) {
  switch (outcome) {
    case block::Outcome::later_format: return failure(texts::kKeyBlockLater);
    case block::Outcome::refused_settings: return failure(texts::kKeyBlockRefused);
    case block::Outcome::failed: return failure(texts::kCryptoFailed);
    case block::Outcome::damaged: break;
    case block::Outcome::opened:
    case block::Outcome::wrong_password:
    case block::Outcome::not_for_this_key:
    case block::Outcome::needs_key:
    case block::Outcome::needs_shared_table:
    case block::Outcome::over_limit:
    case block::Outcome::cancelled:
    case block::Outcome::compatible_refused:
      break;
  }
  return damaged_block(received, index, texts::kKeyBlockDamaged);
}

}  // namespace

std::string default_key_name() {
  const block::KeyName name = block::key_name_to_write(login_name());
  return name.problem == block::KeyNameProblem::none ? name.utf8 : std::string();
}

CommandResult key_new_command(const std::string& out_path, std::string_view name_utf8,
                              const PassphraseSource& passphrase, int width, block::CryptoProvider& crypto) {
  // Looked at first, so that no one types a passphrase for nothing; the
  // file is still made only where nothing is (write_new_file).
  if (anything_at(out_path)) return failure(std::string(texts::kKeyFileExists) + ": " + out_path);
  const block::KeyName name = block::key_name_to_write(name_utf8);
  if (name.problem != block::KeyNameProblem::none) return failure(name_problem(name.problem));

  std::optional<block::SecretBytes> sealing;
  if (passphrase) {
    std::string problem;
    sealing = checked_passphrase(passphrase(), problem);
    if (!sealing) return failure(problem);
  }
  std::optional<block::X25519KeyPair> pair = crypto.generate_x25519_key_pair();
  if (!pair) return failure(texts::kRandomUnavailable);
  const KeyBlockWritten key_block = key_block_of(pair->public_key, name.utf8, width, crypto);
  if (key_block.block.empty()) return failure(key_block.problem);

  block::SecretBytes file;
  if (sealing) {
    const block::StrongBlock sealed = block::sealed_key_block(crypto, pair->secret, sealing->view(), block::kDefaultWrap);
    if (sealed.status != block::SealStatus::sealed) return failure(seal_problem(sealed.status));
    file = block::SecretBytes(block::narrow_ascii(sealed.block));
    file.append("\r\n");
  } else {
    file = block::bare_key_file(pair->secret);
  }
  std::string problem;
  switch (write_new_file(out_path, file.view(), problem)) {
    case NewFile::written:
      break;
    case NewFile::exists:
      return failure(std::string(texts::kKeyFileExists) + ": " + out_path);
    case NewFile::failed:
      return failure(std::string(texts::kKeyFileNotWritten) + ": " + out_path + " (" + problem + ")");
  }
  const std::string_view written = sealing ? texts::kKeyWritten : texts::kKeyWrittenBare;
  return {kExitDone, block::SecretBytes(key_block.block), {}, {},
          {your_digits(pair->public_key, crypto), block::filled(written, {{"file", out_path}})}};
}

CommandResult key_show_command(const block::SecretKey& secret, std::string_view name_utf8, int width,
                               block::CryptoProvider& crypto) {
  const std::optional<block::X25519PublicKey> public_key = crypto.x25519_public_key(secret);
  if (!public_key) return failure(texts::kCryptoFailed);
  const KeyBlockWritten key_block = key_block_of(*public_key, name_utf8, width, crypto);
  if (key_block.block.empty()) return failure(key_block.problem);
  return {kExitDone, block::SecretBytes(key_block.block), {}, {}, {your_digits(*public_key, crypto)}};
}

KeyBlocksFound key_blocks_in(std::string_view input, block::CryptoProvider& crypto) {
  KeyBlocksFound found;
  const std::u16string received = received_text(input);
  const std::vector<block::BlockItem> blocks = block::read_received_blocks(received);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const block::BlockItem& item = blocks[i];
    // Other blocks are passed over (one with a problem ends the reading).
    if (item.kind != block::BlockKind::key) continue;
    if (item.problem) {
      found.problem = key_block_problem(*item.problem, received, i);
      return found;
    }
    block::KeyBlockRead read = block::read_key_envelope(crypto, item.envelope);
    if (read.outcome != block::Outcome::opened) {
      found.problem = key_block_problem(read.outcome, received, i);
      return found;
    }
    found.keys.push_back(std::move(read.content));
  }
  return found;
}

CommandResult key_digits_command(std::string_view input, block::CryptoProvider& crypto) {
  KeyBlocksFound found = key_blocks_in(input, crypto);
  if (found.problem) return std::move(*found.problem);
  if (found.keys.empty()) return failure(texts::kNoKeyBlock);
  CommandResult result{kExitDone, {}, {}};
  for (const block::KeyBlockContent& key : found.keys) {
    const std::string name = key.name.empty() ? std::string(texts::kNoName) : key.name;
    const std::optional<std::string> digits = block::safety_digits(crypto, key.public_key);
    if (!digits) return failure(texts::kCryptoFailed);
    result.output.append(block::filled(texts::kKeyDigitsLine, {{"name", name}, {"digits", *digits}}) + "\n");
  }
  return result;
}

CommandResult encrypt_to_keys_command(std::string_view input, int width, const block::SecretKey& own,
                                      const std::vector<RecipientFile>& recipient_files,
                                      block::CryptoProvider& crypto) {
  if (std::optional<CommandResult> refused = refused_input(input)) return std::move(*refused);
  if (input.size() > block::kLongestText) return failure(texts::kTextTooLong);
  std::vector<block::X25519PublicKey> recipients;
  for (const RecipientFile& file : recipient_files) {
    KeyBlocksFound found = key_blocks_in(file.bytes, crypto);
    if (found.problem) {
      found.problem->message += ": " + file.name;
      return std::move(*found.problem);
    }
    if (found.keys.size() != 1) {
      const std::string_view problem = found.keys.empty() ? texts::kToFileNoKeyBlock : texts::kToFileManyKeyBlocks;
      return failure(std::string(problem) + ": " + file.name);
    }
    recipients.push_back(found.keys.front().public_key);
  }
  const block::RecipientBlock written = block::write_recipient_block(crypto, input, own, recipients, width);
  if (written.status != block::SealStatus::sealed) return failure(seal_problem(written.status));
  return {kExitDone, block::SecretBytes(block::narrow_ascii(written.block)), {}};
}

}  // namespace quiren::tool
