// The store's start-up step: reads the user's key (or makes the first one)
// and says so when this run has no key.
#pragma once

#include "tray/core/desktop.h"
#include "tray/keys/key_store.h"

namespace quiren::keys {

KeyLoad start_key_store(Desktop& desktop, KeyStore& store);

}  // namespace quiren::keys
