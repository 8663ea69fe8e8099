#include "block/keys/key_file.h"

#include "block/armoured_block.h"
#include "block/decrypt_run.h"
#include "block/keys/secret_key_text.h"
#include "block/password_nfc.h"
#include "block/received_text.h"
#include "block/strong/strong_envelope.h"
#include "block/utf8.h"

namespace quiren::block {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

KeyFileText read_key_file_text(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  KeyFileText read;
  std::optional<std::u16string> converted = utf16_from_utf8(bytes);
  const SecretText text(converted ? std::move(*converted) : std::u16string());
  if (!holds_start_marker(text.view())) {
    read.key = read_secret_key_text(bytes);
    if (read.key) read.form = KeyFileForm::bare;
    return read;
  }
  std::vector<BlockItem> blocks = read_received_blocks(text.view());
  if (blocks.empty()) return read;
  BlockItem& first = blocks.front();
  // A key block, say, is no secret key.
  if (first.kind != BlockKind::strong) return read;
  read.form = KeyFileForm::sealed;
  if (first.problem) {
    read.problem = first.problem;
  } else {
    read.envelope = std::move(first.envelope);
  }
  return read;
}

SealedKeyOpened open_sealed_key(CryptoProvider& crypto, std::span<const std::uint8_t> envelope,
                                std::string_view passphrase_utf8) {
  const SecretBytes passphrase = strong_key_password(passphrase_utf8);
  const OpenResult opened = open_envelope(crypto, envelope, passphrase.view());
  if (opened.outcome != Outcome::opened) return {opened.outcome, std::nullopt};
  std::optional<SecretKey> key = read_secret_key_text(opened.text.view());
  if (!key) return {Outcome::damaged, std::nullopt};
  return {Outcome::opened, std::move(key)};
}

SecretBytes bare_key_file(const SecretKey& secret) {
  SecretBytes file = secret_key_text(secret);
  file.push_back('\n');
  return file;
}

StrongBlock sealed_key_block(CryptoProvider& crypto, const SecretKey& secret, std::string_view passphrase_utf8,
                             int width) {
  const SecretBytes line = secret_key_text(secret);
  return write_strong_block(crypto, line.view(), passphrase_utf8, width);
}

}  // namespace quiren::block
