// The decrypt flow: every block on the clipboard, one password, results in
// the viewer.
#include <exception>
#include <optional>
#include <string>

#include "block/armoured_block.h"
#include "block/decrypt_run.h"
#include "block/line_breaks.h"
#include "block/received_text.h"
#include "block/secret.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/desktop.h"
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"
#include "tray/core/wait_cursor.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/flow_texts.h"
#include "tray/flows/invalid_ciphertext.h"

namespace quiren {
namespace {

// Thrown inside the flow for the failures that take its catch-all path;
// for a block that cannot be read, the message that says where.
struct InvalidCiphertext {
  std::u16string message{flows::texts::kInvalidCiphertext};
};

block::SecretText typed_decrypt_password(Desktop& desktop) {
  return desktop.password_prompt({.prompt = flows::texts::kPromptDecryptPassword});
}

std::optional<block::SecretText> decrypt_password(ProgramState& state, Desktop& desktop,
                                                  PasswordChooser& chooser) {
  std::optional<block::SecretText> password;
  if (state.settings.decrypt_password_from_list) {
    password = chooser.choose_password();
    if (!password || password->empty()) password = typed_decrypt_password(desktop);
  } else if (state.settings.decrypt_with_fixed_password) {
    // Stored passwords are used as they are, also when empty: a block made
    // under an empty password must stay readable.
    return settings::read_password(desktop, settings::kFixedDecryptPassword);
  } else if (state.settings.decrypt_with_encrypt_password) {
    return settings::read_password(desktop, settings::kFixedEncryptPassword);
  } else {
    password = typed_decrypt_password(desktop);
  }
  if (password->empty()) {
    tell(desktop, flows::texts::kNoPasswordAfterChooser, Icon::exclamation);
    return std::nullopt;
  }
  return password;
}

// The tray's side of a decrypt run: the password by the settings' rule,
// the wait cursor while a strong key is derived, texts in the viewer.
class ViewerFrontEnd : public block::DecryptFrontEnd {
 public:
  ViewerFrontEnd(ProgramState& state, Desktop& desktop, PasswordChooser& chooser, DecryptedTextViewer& viewer)
      : state_(state), desktop_(desktop), chooser_(chooser), viewer_(viewer) {}

  std::optional<block::BlockPassword> password(std::span<const block::BlockItem>) override {
    const std::optional<block::SecretText> password = decrypt_password(state_, desktop_, chooser_);
    if (!password) return std::nullopt;
    // For a compatible block a character the code page cannot hold becomes
    // "?", as it did when such a block was made; the check then decides. A
    // strong block takes the password's UTF-8 (the block library derives
    // its key from the NFC form).
    return block::BlockPassword{block::SecretBytes(desktop_.to_ansi(password->view()).bytes),
                                block::SecretBytes(block::utf8_from_utf16(password->view()))};
  }

  block::BlockOutcome open(const block::BlockItem& item, block::BlockOpener& opener) override {
    if (item.kind != block::BlockKind::strong) return opener.open(item);
    WaitCursor deriving(desktop_);
    return opener.open(item);
  }

  std::optional<block::SecretText> shown_text(const block::BlockOutcome& plain) override {
    const block::SecretText text(plain.encoding == block::TextEncoding::utf8
                                     ? block::utf16_from_utf8(plain.text.view()).value_or(u"")
                                     : desktop_.from_ansi(plain.text.view()));
    return block::SecretText(block::crlf_line_breaks(text.view()));
  }

  // The viewer opens with the first text; the rest follows at the end, so
  // many blocks cost no more than one.
  void block_done(const block::BlockReport& report, const block::SecretText& joined) override {
    if (showing_ || (report.outcome != block::BlockOutcomeKind::plain_text &&
                     report.outcome != block::BlockOutcomeKind::wrong_password)) {
      return;
    }
    viewer_.show();
    viewer_.set_text(joined.view());
    showing_ = true;
  }

  // Everything shown so far, before a message or at the end.
  void show_all(const block::SecretText& joined) {
    if (showing_) viewer_.set_text(joined.view());
  }

 private:
  ProgramState& state_;
  Desktop& desktop_;
  PasswordChooser& chooser_;
  DecryptedTextViewer& viewer_;
  bool showing_ = false;
};

}  // namespace

void ClipboardFlows::decrypt_clipboard_text(std::u16string_view text) {
  try {
    // Blocks come back quoted, re-wrapped, with changed line breaks or
    // characters that chat and office programs put in.
    if (!block::has_block(block::repair_received_text(text))) return;
    if (state_.settings.asks_before_decrypting() && ask(desktop_, flows::texts::kAskDecrypt) != Answer::yes) return;
    ViewerFrontEnd front_end(state_, desktop_, chooser_, viewer_);
    const block::RunResult run = block::run_decrypt(text, front_end, library_, crypto_);
    std::u16string_view stop;  // why the run ended early, if it did
    switch (run.end) {
      case block::RunEnd::done:
      case block::RunEnd::no_block:
      case block::RunEnd::no_password:
        break;
      case block::RunEnd::version_cannot_read:
        stop = flows::texts::kUnknownVersion;
        break;
      case block::RunEnd::needs_shared_table:
        stop = flows::texts::kNeedsSharedTable;
        break;
      case block::RunEnd::over_budget:
        stop = flows::texts::kDecryptedTooLarge;
        break;
      case block::RunEnd::unreadable:
        throw InvalidCiphertext{flows::invalid_ciphertext_message(text, run.end_block)};
      case block::RunEnd::library_failed:
      case block::RunEnd::not_shown:
        throw InvalidCiphertext{};
    }
    front_end.show_all(run.text);
    if (!stop.empty()) tell(desktop_, stop, Icon::critical, true);
  } catch (const InvalidCiphertext& invalid) {
    tell(desktop_, invalid.message, Icon::critical, true);
    viewer_.close();
  } catch (...) {
    // Anything that goes wrong while taking a block apart or filling the
    // viewer: one message, no half-filled viewer.
    tell(desktop_, flows::texts::kInvalidCiphertext, Icon::critical, true);
    viewer_.close();
  }
}

}  // namespace quiren
