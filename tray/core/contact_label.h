// A contact as lists and lines name them: the name, and whether the user
// compared the key's safety digits with its holder ("田中（確認済み）",
// "鈴木（未確認）").
#pragma once

#include <string>

#include "tray/core/key_ring.h"
#include "tray/core/shared_texts.h"

namespace quiren {

inline std::u16string contact_label(const Contact& contact) {
  return contact.name + std::u16string(contact.confirmed ? core::texts::kContactConfirmed
                                                         : core::texts::kContactUnconfirmed);
}

}  // namespace quiren
