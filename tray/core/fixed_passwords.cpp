#include "tray/core/fixed_passwords.h"

#include "block/ascii.h"
#include "block/utf8.h"
#include "tray/core/protected_text.h"
#include "tray/core/settings_keys.h"

namespace quiren {
namespace {

struct Keys {
  std::u16string_view plain;
  std::u16string_view sealed;
};

Keys keys_of(FixedPassword which) {
  if (which == FixedPassword::encrypt) return {settings::kFixedEncryptPassword, settings::kProtectedEncryptPassword};
  return {settings::kFixedDecryptPassword, settings::kProtectedDecryptPassword};
}

// A stored text as a secret; the string it was read into is wiped.
block::SecretText stored_secret(Desktop& desktop, std::u16string_view key) {
  std::optional<std::u16string> stored = desktop.read_setting(key);
  if (!stored) return {};
  return block::SecretText(std::move(*stored));
}

}  // namespace

StoredFixedPassword read_fixed_password(Desktop& desktop, FixedPassword which) {
  const Keys keys = keys_of(which);
  StoredFixedPassword stored{stored_secret(desktop, keys.plain)};
  if (!stored.password.empty()) return stored;
  const std::u16string sealed = desktop.read_setting(keys.sealed).value_or(u"");
  if (sealed.empty()) return stored;
  // Sealed texts are ASCII; any other character makes it no such text.
  const std::optional<std::string> ascii = block::ascii_bytes(sealed);
  const std::optional<block::SecretBytes> utf8 = ascii ? unprotected_text(desktop, *ascii) : std::nullopt;
  std::optional<std::u16string> text = utf8 ? block::utf16_from_utf8(utf8->view()) : std::nullopt;
  if (!text) {
    stored.unreadable = true;
    return stored;
  }
  stored.password = block::SecretText(std::move(*text));
  return stored;
}

std::optional<FixedPasswordValues> fixed_password_values(Desktop& desktop, std::u16string_view password,
                                                         bool protect) {
  FixedPasswordValues values;
  // An empty password has nothing to hide: both values stay empty.
  if (!protect || password.empty()) {
    values.plain = block::SecretText(password);
    return values;
  }
  const block::SecretBytes utf8(block::utf8_from_utf16(password));
  const std::optional<std::string> sealed = protected_text(desktop, utf8.view());
  if (!sealed) return std::nullopt;
  values.sealed = block::widen_bytes(*sealed);
  return values;
}

void write_fixed_password(Desktop& desktop, FixedPassword which, const FixedPasswordValues& values) {
  const Keys keys = keys_of(which);
  desktop.write_setting(keys.plain, values.plain.view());
  desktop.write_setting(keys.sealed, values.sealed);
}

}  // namespace quiren
