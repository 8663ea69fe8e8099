#include "tray/flows/clipboard_flows.h"

#include <string>
#include <utility>

#include "block/received_text.h"
#include "tray/core/boxes.h"
#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

// The watch path refuses longer texts; the menu path takes any length.
constexpr std::size_t kWatchTextLimit = 20'480;

}  // namespace

ClipboardFlows::ClipboardFlows(ProgramState& state, Desktop& desktop, block::CipherLibrary& library,
                               std::shared_ptr<block::CryptoProvider> crypto, PasswordChooser& chooser,
                               DecryptedTextViewer& viewer, const KeyRing& keys)
    : state_(state),
      desktop_(desktop),
      library_(library),
      crypto_(std::move(crypto)),
      chooser_(chooser),
      viewer_(viewer),
      keys_(keys) {}

// Each entry runs as one flow: while it waits for the user, clipboard
// changes and the menu's commands start nothing else.

void ClipboardFlows::on_clipboard_change() {
  const Busy::Token running = state_.busy.start_flow();
  if (!running || !desktop_.clipboard_has_text()) return;
  // A password copied from a password manager (or a text from our own
  // viewer): offering to encrypt it would put a block where the user means
  // to paste the password. The menu's commands still take it: the user asked.
  if (desktop_.clipboard_kept_from_monitors()) return;
  std::u16string text = desktop_.clipboard_text();
  // Also a start marker that a program filled with invisible characters or
  // turned full-width: such a text is a block, not one to encrypt.
  if (block::holds_start_marker(text)) return decrypt_clipboard_text(text);
  if (state_.settings.asks_before_encrypting() && ask(desktop_, flows::texts::kAskEncrypt) != Answer::yes) return;
  if (text.size() > kWatchTextLimit) return tell(desktop_, flows::texts::kTextTooLong, Icon::critical);
  encrypt_text(text);
}

void ClipboardFlows::encrypt_clipboard() {
  const Busy::Token running = state_.busy.start_flow();
  if (!running || !desktop_.clipboard_has_text()) return;
  if (ask(desktop_, flows::texts::kAskEncrypt) != Answer::yes) return;
  encrypt_text(desktop_.clipboard_text());
}

void ClipboardFlows::cancel_run() {
  if (progress_) progress_->cancel();
}

void ClipboardFlows::decrypt_clipboard() {
  const Busy::Token running = state_.busy.start_flow();
  if (running) decrypt_clipboard_text(desktop_.clipboard_text());
}

}  // namespace quiren
