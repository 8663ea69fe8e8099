// The encrypt worker: password, library calls, block, clipboard.
#include <algorithm>
#include <optional>
#include <string>

#include "block/armoured_block.h"
#include "block/cipher_library.h"
#include "tray/core/boxes.h"
#include "tray/core/desktop.h"
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_keys.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/flow_texts.h"

namespace quiren {
namespace {

// The password by the first rule that applies, or nullopt when the user gave
// none (the refusal has been shown).
std::optional<std::u16string> encrypt_password(ProgramState& state, Desktop& desktop,
                                               PasswordChooser& chooser) {
  std::u16string_view no_password = flows::texts::kNoPasswordTyped;
  std::u16string password;
  if (state.settings.usepasslist1 != kFalse) {
    chooser.choosepass();
    password = state.take_selectpass();
    if (password.empty()) {
      password = desktop.input_prompt(flows::texts::kPromptEncryptPassword);
      no_password = flows::texts::kNoPasswordAfterChooser;
    }
  } else if (state.settings.ango != kFalse) {
    password = desktop.read_setting(settings::kAngopass).value_or(u"");
  } else {
    password = desktop.input_prompt(flows::texts::kPromptEncryptPassword);
  }
  // An empty password would leave the text readable by anyone, so it is
  // refused also when it comes from the store.
  if (password.empty()) {
    tell(desktop, no_password, Icon::exclamation);
    return std::nullopt;
  }
  return password;
}

// The armour is ASCII, so the library's results convert byte for byte.
std::u16string ascii_text(const std::string& bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (unsigned char c : bytes) text.push_back(static_cast<char16_t>(c));
  return text;
}

}  // namespace

void ClipboardFlows::angoclip(std::u16string_view text) {
  // Checked before the password is asked: a text the code page cannot hold
  // would be encrypted as "?" characters.
  AnsiText text_bytes = desktop_.to_ansi(text);
  if (!text_bytes.lossless) {
    tell(desktop_, flows::texts::kTextNotInCodePage, Icon::critical);
    state_.busyflag = kFalse;
    return;
  }

  std::optional<std::u16string> password = encrypt_password(state_, desktop_, chooser_);
  if (!password) return;
  if (password->size() > block::kLongestPassword) {
    tell(desktop_, flows::texts::kPasswordTooLong, Icon::critical);
    state_.busyflag = kFalse;
    return;
  }
  AnsiText password_bytes = desktop_.to_ansi(*password);
  if (!password_bytes.lossless) {
    tell(desktop_, flows::texts::kPasswordNotInCodePage, Icon::critical);
    state_.busyflag = kFalse;
    return;
  }

  // The chooser clears the flag when it closes.
  state_.busyflag = kTrue;
  std::optional<std::string> text_result = library_.encrypt(text_bytes.bytes, password_bytes.bytes);
  std::optional<std::string> check_result;
  if (text_result) check_result = library_.encrypt(password_bytes.bytes, password_bytes.bytes);
  if (!text_result || !check_result) {
    state_.busyflag = kFalse;
    tell(desktop_, flows::texts::kLibraryMissing, Icon::critical);
    return;
  }

  block::LibraryResult text_part = block::split_result(ascii_text(*text_result));
  block::LibraryResult check_part = block::split_result(ascii_text(*check_result));
  if (text_part.mode != u'A' && text_part.mode != u'B') {
    tell(desktop_, flows::texts::kEncryptMayHaveFailed, Icon::critical);
  }
  // The settings dialog keeps the width in range; a hand-edited store may not.
  int width = std::clamp<int>(state_.settings.orikaesi, block::kNarrowestWrap, block::kWidestWrap);
  std::u16string armoured = block::write_block(check_part, text_part, width);

  // busyflag is still set: the watch ignores the change this write causes.
  bool written = desktop_.clipboard_put_text(armoured);
  state_.busyflag = kFalse;
  if (!written) {
    tell(desktop_, flows::texts::kClipboardNotWritten, Icon::critical, true);
    return;
  }
  tell(desktop_, flows::texts::kEncrypted, Icon::information, true);
}

}  // namespace quiren
