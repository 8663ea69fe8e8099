// The decrypt flow: every block on the clipboard, one password, results in
// the viewer.
#include <exception>
#include <optional>
#include <string>

#include "block/armoured_block.h"
#include "block/block_decrypt.h"
#include "block/line_breaks.h"
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

namespace quiren {
namespace {

// Thrown inside the flow for the failures that take its catch-all path.
struct InvalidCiphertext {};

std::optional<std::u16string> decrypt_password(ProgramState& state, Desktop& desktop,
                                               PasswordChooser& chooser) {
  std::u16string password;
  if (state.settings.usepasslist2 != kFalse) {
    chooser.choosepass();
    password = state.selectpass;
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

block::BlockOutcome ClipboardFlows::decrypt(const block::BlockItem& item, const block::BlockPassword& password,
                                            block::CipherLibrary& library) {
  if (item.kind != block::BlockKind::strong) return block::decrypt_block(item, password, library, crypto_);
  WaitCursor deriving(desktop_);
  return block::decrypt_block(item, password, library, crypto_);
}

void ClipboardFlows::hukugoclip() {
  BusyLibrary library(state_, library_);
  try {
    std::u16string text = desktop_.clipboard_text();
    if (!block::has_block(text)) {
      state_.busyflag = kFalse;
      return;
    }
    if (state_.settings.quest2 == 1 && ask(desktop_, flows::texts::kAskDecrypt) != Answer::yes) {
      state_.busyflag = kFalse;
      return;
    }

    std::optional<block::BlockPassword> password;
    bool first = true;
    for (const block::BlockItem& item : block::read_blocks(text)) {
      if (item.problem == block::BlockProblem::version_cannot_read) {
        tell(desktop_, flows::texts::kUnknownVersion, Icon::critical, true);
        break;
      }
      if (item.problem == block::BlockProblem::unreadable) throw InvalidCiphertext{};

      if (first) {
        std::optional<std::u16string> typed = decrypt_password(state_, desktop_, chooser_);
        if (!typed) break;
        // For a compatible block a character the code page cannot hold
        // becomes "?", as it did when such a block was made; the check then
        // decides. A strong block takes the password as typed.
        password.emplace(desktop_.to_ansi(*typed).bytes, block::utf8_from_utf16(*typed));
        block::wipe(*typed);
      }

      block::BlockOutcome outcome = decrypt(item, *password, library);
      std::u16string piece;
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
          tell(desktop_, flows::texts::kUnknownVersion, Icon::critical, true);
          state_.busyflag = kFalse;
          return;
        default:
          throw InvalidCiphertext{};
      }

      if (first) {
        viewer_.show();
        viewer_.set_text(piece);
        first = false;
      } else {
        std::u16string shown = viewer_.text();
        shown += block::kResultJoint;
        shown += piece;
        viewer_.set_text(shown);
        block::wipe(shown);
      }
      block::wipe(piece);
    }
  } catch (...) {
    // Anything that goes wrong while taking a block apart or filling the
    // viewer: one message, no half-filled viewer.
    tell(desktop_, flows::texts::kInvalidCiphertext, Icon::critical, true);
    viewer_.close();
  }
  state_.busyflag = kFalse;
}

}  // namespace quiren
