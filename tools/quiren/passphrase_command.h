// quiren passphrase: a new passphrase, as the tray program's "generate"
// button makes it (block/passphrase.h).
#pragma once

#include "block/passphrase.h"
#include "tools/quiren/tool_commands.h"

namespace quiren::tool {

// The passphrase in UTF-8 and a line break; exit 2 and no output when the
// random source fails.
CommandResult passphrase_command(block::PassphraseForm form, block::CryptoProvider& random);

}  // namespace quiren::tool
