// Who wrote an opened recipient block, and when, as the viewer's status line
// names them: "あなた 2026-12-11 18:30", "田中（確認済み）2026-12-11 18:30",
// "確認していない鍵 97452 31774 … 2026-12-11 18:30" (flow_texts.h).
#pragma once

#include <string>

#include "block/keys/recipient_open.h"

namespace quiren {

namespace block {
class CryptoProvider;
}
class Desktop;
class KeyRing;

// `crypto` gives an unknown key's safety digits; `desktop` the local time.
// Without the digits (the platform's hash failed) an unknown key is named
// without them; a time the system cannot convert is left out.
std::u16string sender_label(const block::RecipientSender& sender, const KeyRing& keys,
                            block::CryptoProvider& crypto, Desktop& desktop);

}  // namespace quiren
