// Moving the user's key to another PC or keeping a copy: "鍵を書き出す"
// writes it to a file the user picks, sealed under a passphrase asked twice
// (a strong block of the secret key text, block/keys/key_file.h), never
// over a file without asking; "鍵を読み込む" reads one back, from the
// clipboard or a file, as received (quoted in a mail, re-wrapped, bare), and
// asks before it replaces the key the user has (or one stored that could not
// be read here).
#pragma once

#include "block/strong/crypto_provider.h"
#include "tray/core/desktop.h"
#include "tray/core/program_state.h"
#include "tray/keys/key_store.h"

namespace quiren::keys {

void export_my_key(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto, const KeyStore& store);
void import_my_key(Desktop& desktop, block::CryptoProvider& crypto, KeyStore& store);

}  // namespace quiren::keys
