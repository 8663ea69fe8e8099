// The contacts as the settings store keeps them (value "contacts"): one line
// per contact, LF between lines, each the public key in base64 (block/
// base64.h), a space, "1" when the user confirmed its safety digits or "0",
// a space, and the name. A name never holds a line break: names follow the
// key block's rules (block/keys/key_name.h). Nothing here is secret.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tray/core/key_ring.h"

namespace quiren::keys {

std::u16string stored_contacts_text(const std::vector<Contact>& contacts);

// The contacts of a stored text in order; a line that is not one
// stored_contacts_text writes (edited by hand, say) is skipped, and so is a
// second line for a key already read.
std::vector<Contact> read_stored_contacts(std::u16string_view text);

}  // namespace quiren::keys
