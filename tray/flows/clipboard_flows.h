// The clipboard cipher flows, called by the main window: the clipboard
// watch calls on_clipboard_change() while nothing is busy, the tray menu's
// encrypt command calls encrypt_clipboard() and its decrypt command
// decrypt_clipboard(). None starts while another runs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/cipher_library.h"
#include "block/decrypt_run.h"
#include "block/strong/strong_envelope.h"
#include "tray/core/cipher_commands.h"
#include "tray/core/key_ring.h"
#include "tray/core/progress_form.h"

namespace quiren {

namespace block {
class CryptoProvider;
}
class DecryptedTextViewer;
class Desktop;
class PasswordChooser;
struct ProgramState;

class ClipboardFlows : public CipherCommands {
 public:
  // `library` writes and reads compatible blocks, on this thread; `crypto`
  // strong ones, on a worker thread (Desktop::run_in_background) that may
  // outlive a cancelled flow, and so shares it. `keys` holds the user's key
  // and contacts: recipient blocks are written to them and opened with it.
  ClipboardFlows(ProgramState& state, Desktop& desktop, block::CipherLibrary& library,
                 std::shared_ptr<block::CryptoProvider> crypto, PasswordChooser& chooser, DecryptedTextViewer& viewer,
                 const KeyRing& keys);

  // The watch path: a text holding a block goes to the decrypt flow; any
  // other text is offered for encryption (at most 20,480 characters).
  // Contents marked for clipboard monitors to leave alone start neither.
  void on_clipboard_change() override;

  // The menu's encrypt command: always asks, no length limit.
  void encrypt_clipboard() override;

  // Decrypts the blocks on the clipboard into the viewer; also the menu's
  // decrypt command.
  void decrypt_clipboard() override;

  void cancel_run() override;

 private:
  // The encrypt worker: obtains the password, encrypts `text` and replaces
  // the clipboard text by its armoured block: a strong one, or a compatible
  // one when the "strong" setting is off.
  void encrypt_text(std::u16string_view text);
  // A recipient block for `recipients` and the user, in place of the text.
  void encrypt_to_recipients(std::u16string_view text, const std::vector<Contact>& recipients);
  // Why a block was not sealed, as the refusal says it.
  static std::u16string_view seal_refusal(block::SealStatus status);
  void decrypt_clipboard_text(std::u16string_view text);
  // What a decrypt run comes to on the screen: the viewer with its texts,
  // a message when a block ended the run, then one for the compatible
  // blocks refused under "強力な暗号文だけを読む".
  void show_run(const block::RunResult& run, std::u16string_view received);
  // What the run's end shows or says, refused blocks aside.
  void show_run_end(const block::RunResult& run, std::u16string_view received);
  void show_texts(const block::RunResult& run);
  // A run that failed: its message, and no viewer (not even one an earlier
  // run left open).
  void fail(std::u16string_view message);
  // Shows why encryption stops (critical icon).
  void refuse(std::u16string_view why);
  int wrap_width() const;
  // The block, or nullopt when the refusal has been shown (or the user
  // cancelled).
  std::optional<std::u16string> compatible_block(std::string_view text_bytes, std::u16string_view password);
  std::optional<std::u16string> strong_block(std::string_view text_utf8, std::u16string_view password);
  // The run's progress window goes when this does, however the run ends.
  struct ProgressEnd {
    std::optional<ProgressForm>& progress;
    ~ProgressEnd() { progress.reset(); }
  };

  ProgramState& state_;
  Desktop& desktop_;
  block::CipherLibrary& library_;
  std::shared_ptr<block::CryptoProvider> crypto_;
  PasswordChooser& chooser_;
  DecryptedTextViewer& viewer_;
  const KeyRing& keys_;
  // The progress of the run in progress (one at a time: flows do not
  // nest): a decrypt run's from its first question on, an encryption's
  // from its key derivation.
  std::optional<ProgressForm> progress_;
};

}  // namespace quiren
