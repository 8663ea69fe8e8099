// The two fixed passwords of the settings store, which the settings dialog
// sets and the flows use without asking. Each is kept in the earlier
// version's plain value (angopass, hukugopass) or, while "パスワードをこの
// ユーザーだけが読める形で保存する" is ticked, sealed for this Windows user
// (protected_text.h) in a value beside it (protectedangopass,
// protectedhukugopass), the plain value then empty: a copy of the earlier
// version sharing the store sees no fixed password rather than a wrong one.
// Reading, a plain value that is not empty wins: this version empties it
// whenever it seals, so a non-empty one was written since, by such a copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "block/secret.h"
#include "tray/core/desktop.h"

namespace quiren {

enum class FixedPassword { encrypt, decrypt };

struct StoredFixedPassword {
  block::SecretText password;  // "" when none is stored
  // Sealed, and it cannot be unprotected here (sealed for another user or
  // on another computer, or damaged): `password` is empty, and nothing may
  // use it as the password or write over it unasked.
  bool unreadable = false;
};

StoredFixedPassword read_fixed_password(Desktop& desktop, FixedPassword which);

// What the store is to hold for one fixed password: its plain value and its
// sealed one, one of them empty.
struct FixedPasswordValues {
  block::SecretText plain;
  std::u16string sealed;
};

// The values for `password`, sealed (`protect`) or plain (an empty one is
// never sealed: both values empty); nullopt when the system refused to seal
// it. Made before anything is written, so a refusal
// leaves the store as it was.
std::optional<FixedPasswordValues> fixed_password_values(Desktop& desktop, std::u16string_view password,
                                                         bool protect);
// Writes both values, the plain one first (where the earlier version wrote it).
void write_fixed_password(Desktop& desktop, FixedPassword which, const FixedPasswordValues& values);

}  // namespace quiren
