#include "tray/core/settings_store.h"

#include "tray/core/settings_keys.h"
#include "tray/core/settings_text.h"

namespace quiren::settings {
namespace {

// Reads one start-up key into `field`; false (and `bad_key` set) when the
// stored text does not convert.
template <typename T, typename Parse>
bool read_startup(Desktop& desktop, std::u16string_view key, T fallback, Parse parse, T& field, StartupRead& out) {
  std::optional<std::u16string> text = desktop.read_setting(key);
  if (!text) {
    field = fallback;
    return true;
  }
  auto value = parse(*text);
  if (!value) {
    out.bad_key = key;
    return false;
  }
  field = *value;
  return true;
}

}  // namespace

StartupRead load_startup_settings(Desktop& desktop) {
  StartupRead out;
  SettingValues& v = out.values;
  // In the earlier version's order; the first that does not convert stops
  // the read.
  const bool read = read_startup(desktop, kWrapWidth, kDefaultWrapWidth, parse_int16, v.wrap_width, out) &&
                    read_startup(desktop, kEncryptWithFixedPassword, kDefaultEncryptWithFixedPassword,
                                 parse_boolean, v.encrypt_with_fixed_password, out) &&
                    read_startup(desktop, kDecryptWithFixedPassword, kDefaultDecryptWithFixedPassword,
                                 parse_boolean, v.decrypt_with_fixed_password, out) &&
                    read_startup(desktop, kDecryptWithEncryptPassword, kDefaultDecryptWithEncryptPassword,
                                 parse_boolean, v.decrypt_with_encrypt_password, out) &&
                    read_startup(desktop, kAskBeforeEncrypt, kDefaultAskBeforeEncrypt, parse_byte,
                                 v.ask_before_encrypt, out) &&
                    read_startup(desktop, kAskBeforeDecrypt, kDefaultAskBeforeDecrypt, parse_byte,
                                 v.ask_before_decrypt, out) &&
                    read_startup(desktop, kEncryptPasswordFromList, kDefaultEncryptPasswordFromList,
                                 parse_boolean, v.encrypt_password_from_list, out) &&
                    read_startup(desktop, kDecryptPasswordFromList, kDefaultDecryptPasswordFromList,
                                 parse_boolean, v.decrypt_password_from_list, out);
  if (!read) return out;
  // Newer than the earlier version's keys: a text it cannot read stops
  // nothing and keeps the secure default.
  v.strong = read_boolean_or(desktop, kStrong, kDefaultStrong);
  v.strong_only = read_boolean_or(desktop, kStrongOnly, kDefaultStrongOnly);
  return out;
}

bool read_boolean_or(Desktop& desktop, std::u16string_view key, bool fallback) {
  auto text = desktop.read_setting(key);
  if (!text) return fallback;
  return parse_boolean(*text).value_or(fallback);
}

std::int64_t read_number_or(Desktop& desktop, std::u16string_view key, std::int64_t fallback) {
  auto text = desktop.read_setting(key);
  if (!text) return fallback;
  return parse_rounded_number(*text).value_or(fallback);
}

std::u16string read_text_or(Desktop& desktop, std::u16string_view key, std::u16string_view fallback) {
  auto text = desktop.read_setting(key);
  return text ? *text : std::u16string(fallback);
}

bool watch_enabled(Desktop& desktop) {
  auto text = desktop.read_setting(kWatchClipboard);
  if (!text) return kDefaultWatchClipboard == 1;
  return number_equals(*text, 1).value_or(kDefaultWatchClipboard == 1);
}

void write_boolean(Desktop& desktop, std::u16string_view key, bool value) {
  desktop.write_setting(key, boolean_text(value));
}

void write_check(Desktop& desktop, std::u16string_view key, bool ticked) {
  desktop.write_setting(key, check_text(ticked));
}

}  // namespace quiren::settings
