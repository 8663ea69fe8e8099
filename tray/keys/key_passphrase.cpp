#include "tray/keys/key_passphrase.h"

#include "block/utf8.h"

namespace quiren::keys {

block::SecretBytes ask_key_passphrase(Desktop& desktop, std::u16string_view prompt, bool confirm,
                                      std::u16string_view title) {
  const block::SecretText typed = desktop.password_prompt({.prompt = prompt, .title = title, .confirm = confirm});
  if (typed.empty()) return {};
  return block::SecretBytes(block::utf8_from_utf16(typed.view()));
}

}  // namespace quiren::keys
