// The decrypt flow: every block on the clipboard, one password, results in
// the viewer.
#include <exception>
#include <optional>
#include <string>

#include "block/armoured_block.h"
#include "block/block_decrypt.h"
#include "block/line_breaks.h"
#include "block/received_text.h"
#include "block/secure_wipe.h"
#include "block/utf8.h"
#include "tray/core/boxes.h"
#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/desktop.h"
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"
#include "tray/core/wait_cursor.h"
#include "tray/flows/busy_library.h"
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

std::optional<std::u16string> decrypt_password(ProgramState& state, Desktop& desktop,
                                               PasswordChooser& chooser) {
  std::u16string password;
  if (state.settings.usepasslist2 != kFalse) {
    chooser.choosepass();
    password = state.take_selectpass();
    if (password.empty()) password = desktop.input_prompt(flows::texts::kPromptDecryptPassword);
  } else if (state.settings.hukugo != kFalse) {
    // Stored passwords are used as they are, also when empty: a block made
    // under an empty password must stay readable.
    return desktop.read_setting(settings::kHukugopass).value_or(u"");
  } else if (state.settings.equalpass != kFalse) {
    return desktop.read_setting(settings::kAngopass).value_or(u"");
  } else {
    password = desktop.input_prompt(flows::texts::kPromptDecryptPassword);
  }
  if (password.empty()) {
    tell(desktop, flows::texts::kNoPasswordAfterChooser, Icon::exclamation);
    return std::nullopt;
  }
  return password;
}

}  // namespace

block::BlockOutcome ClipboardFlows::decrypt(const block::BlockItem& item, block::DecryptRun& run) {
  if (item.kind != block::BlockKind::strong) return run.decrypt(item);
  WaitCursor deriving(desktop_);
  return run.decrypt(item);
}

void ClipboardFlows::hukugoclip() {
  BusyLibrary library(state_, library_);
  try {
    // Blocks come back quoted, re-wrapped or with changed line breaks.
    const std::u16string received = desktop_.clipboard_text();
    std::u16string text = block::repair_received_text(received);
    if (!block::has_block(text)) {
      state_.busyflag = kFalse;
      return;
    }
    if (state_.settings.quest2 == 1 && ask(desktop_, flows::texts::kAskDecrypt) != Answer::yes) {
      state_.busyflag = kFalse;
      return;
    }

    // The pieces are gathered here and handed to the viewer once at the end
    // (and before any message), so many blocks cost no more than one.
    std::u16string shown;
    bool showing = false;
    const auto show_so_far = [&] {
      if (showing) viewer_.set_text(shown);
    };
    std::optional<block::DecryptRun> run;
    std::size_t index = 0;  // of the item, among the blocks read
    for (const block::BlockItem& item : block::read_blocks(text)) {
      if (item.problem == block::BlockProblem::version_cannot_read) {
        show_so_far();
        tell(desktop_, flows::texts::kUnknownVersion, Icon::critical, true);
        break;
      }
      if (item.problem == block::BlockProblem::unreadable) {
        throw InvalidCiphertext{flows::invalid_ciphertext_message(received, index)};
      }
      ++index;

      if (!run) {
        std::optional<std::u16string> typed = decrypt_password(state_, desktop_, chooser_);
        if (!typed) break;
        // For a compatible block a character the code page cannot hold
        // becomes "?", as it did when such a block was made; the check then
        // decides. A strong block takes the password as typed.
        run.emplace(block::BlockPassword(desktop_.to_ansi(*typed).bytes, block::utf8_from_utf16(*typed)), library,
                    crypto_);
        block::wipe(*typed);
      }

      block::BlockOutcome outcome = decrypt(item, *run);
      std::u16string piece;
      std::u16string_view stop;  // why the run ends here, if it does
      switch (outcome.kind) {
        case block::BlockOutcomeKind::plain_text:
          piece = block::crlf_line_breaks(outcome.encoding == block::TextEncoding::utf8
                                              ? block::utf16_from_utf8(outcome.text).value_or(u"")
                                              : desktop_.from_ansi(outcome.text));
          break;
        case block::BlockOutcomeKind::wrong_password:
          piece = flows::texts::kWrongPassword;
          break;
        case block::BlockOutcomeKind::version_cannot_read:
          stop = flows::texts::kUnknownVersion;
          break;
        case block::BlockOutcomeKind::needs_shared_table:
          stop = flows::texts::kNeedsSharedTable;
          break;
        case block::BlockOutcomeKind::over_budget:
          stop = flows::texts::kDecryptedTooLarge;
          break;
        default:
          throw InvalidCiphertext{};
      }
      if (!stop.empty()) {
        show_so_far();
        tell(desktop_, stop, Icon::critical, true);
        break;
      }

      if (!showing) {
        viewer_.show();
        shown = std::move(piece);
        viewer_.set_text(shown);
        showing = true;
      } else {
        shown += block::kResultJoint;
        shown += piece;
      }
      block::wipe(piece);
    }
    show_so_far();
    block::wipe(shown);
  } catch (const InvalidCiphertext& invalid) {
    tell(desktop_, invalid.message, Icon::critical, true);
    viewer_.close();
  } catch (...) {
    // Anything that goes wrong while taking a block apart or filling the
    // viewer: one message, no half-filled viewer.
    tell(desktop_, flows::texts::kInvalidCiphertext, Icon::critical, true);
    viewer_.close();
  }
  state_.busyflag = kFalse;
}

}  // namespace quiren
