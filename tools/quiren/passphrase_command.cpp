#include "tools/quiren/passphrase_command.h"

#include "block/secret.h"
#include "block/utf8.h"
#include "tools/quiren/tool_texts.h"

namespace quiren::tool {

CommandResult passphrase_command(block::PassphraseForm form, block::CryptoProvider& random) {
  const std::optional<block::SecretText> passphrase = block::make_passphrase(form, random);
  if (!passphrase) return {kExitBadInput, {}, std::string(texts::kPassphraseRandomUnavailable)};
  CommandResult result;
  result.output = block::SecretBytes(block::utf8_from_utf16(passphrase->view()));
  result.output.append("\n");
  return result;
}

}  // namespace quiren::tool
