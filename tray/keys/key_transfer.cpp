#include "tray/keys/key_transfer.h"

#include <optional>
#include <string>

#include "block/keys/key_file.h"
#include "block/secret.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/keys/key_passphrase.h"
#include "tray/keys/key_texts.h"

namespace quiren::keys {
namespace {

// The key file's text from the clipboard or a file; nullopt when the user
// cancelled or it could not be read (said).
std::optional<block::SecretBytes> key_file_bytes(Desktop& desktop, block::CryptoProvider&) {
  if (desktop.clipboard_has_text()) {
    const std::u16string clipboard = desktop.clipboard_text();
    block::SecretBytes bytes(block::utf8_from_utf16(clipboard));
    if (block::read_key_file_text(bytes.view()).form != block::KeyFileForm::none &&
        ask(desktop, texts::kAskImportFromClipboard) == Answer::yes) {
      return bytes;
    }
  }
  const std::optional<std::u16string> path = desktop.choose_file_to_open(texts::kImportTitle);
  if (!path) return std::nullopt;
  FileRead read = desktop.read_plain_file(*path);
  if (read.status != FileStatus::read) {
    tell(desktop, texts::kFileUnreadable, Icon::exclamation);
    return std::nullopt;
  }
  return std::move(read.bytes);
}

}  // namespace

void export_my_key(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto, const KeyStore& store) {
  const block::SecretKey* secret = store.my_secret_key();
  if (!secret) return tell(desktop, texts::kNoKeyToUse, Icon::exclamation);
  const std::optional<std::u16string> path = desktop.choose_file_to_save(texts::kExportTitle, texts::kExportFileName);
  if (!path) return;
  const block::SecretBytes passphrase = ask_key_passphrase(desktop, texts::kAskExportPassphrase, true, texts::kExportTitle);
  if (passphrase.empty()) return;
  const block::StrongBlock sealed = block::sealed_key_block(crypto, *secret, passphrase.view(), state.settings.wrap_width);
  if (sealed.status != block::SealStatus::sealed) return tell(desktop, texts::kExportFailed, Icon::critical);
  const std::string bytes = block::utf8_from_utf16(sealed.block) + "\r\n";
  NewFile written = desktop.write_new_file(*path, bytes);
  if (written == NewFile::exists) {
    if (ask_no_by_default(desktop, texts::kAskReplaceFile) != Answer::yes) return;
    written = desktop.replace_file(*path, bytes) ? NewFile::written : NewFile::failed;
  }
  if (written != NewFile::written) return tell(desktop, texts::kExportFailed, Icon::critical);
  tell(desktop, texts::kKeyExported, Icon::information);
}

void import_my_key(Desktop& desktop, block::CryptoProvider& crypto, KeyStore& store) {
  const std::optional<block::SecretBytes> bytes = key_file_bytes(desktop, crypto);
  if (!bytes) return;
  if (bytes->size() > block::kLargestKeyFile) return tell(desktop, texts::kKeyFileTooLarge, Icon::exclamation);
  block::KeyFileText file = block::read_key_file_text(bytes->view());
  std::optional<block::SecretKey> key;
  switch (file.form) {
    case block::KeyFileForm::none:
      return tell(desktop, texts::kNotAKeyFile, Icon::exclamation);
    case block::KeyFileForm::bare:
      key = std::move(file.key);
      break;
    case block::KeyFileForm::sealed: {
      if (file.problem) return tell(desktop, texts::kSealedKeyUnreadable, Icon::exclamation);
      const block::SecretBytes passphrase =
          ask_key_passphrase(desktop, texts::kAskImportPassphrase, false, texts::kImportTitle);
      if (passphrase.empty()) return;
      block::SealedKeyOpened opened = block::open_sealed_key(crypto, file.envelope, passphrase.view());
      if (opened.outcome == block::Outcome::wrong_password) {
        return tell(desktop, texts::kImportWrongPassphrase, Icon::exclamation);
      }
      if (opened.outcome != block::Outcome::opened) {
        return tell(desktop, texts::kSealedKeyUnreadable, Icon::exclamation);
      }
      key = std::move(opened.key);
      break;
    }
  }
  if (!key) return tell(desktop, texts::kNotAKeyFile, Icon::exclamation);
  const std::optional<block::X25519PublicKey> public_key = crypto.x25519_public_key(*key);
  if (public_key && public_key == store.my_public_key()) return tell(desktop, texts::kImportSameKey, Icon::information);
  if ((store.my_secret_key() || store.my_key_unreadable()) &&
      ask_no_by_default(desktop, texts::kAskReplaceMyKey) != Answer::yes) {
    return;
  }
  if (!store.replace_my_key(*key)) return tell(desktop, texts::kImportFailed, Icon::critical);
  tell(desktop, texts::kKeyImported, Icon::information);
}

}  // namespace quiren::keys
