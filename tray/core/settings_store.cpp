#include "tray/core/settings_store.h"

#include "tray/core/settings_keys.h"
#include "tray/core/settings_text.h"

namespace quiren::settings {
namespace {

// Reads one start-up key into `target`; false (and `bad_key` set) when the
// stored text does not convert.
template <typename T, typename Parse, typename Store>
bool read_startup(Desktop& desktop, std::u16string_view key, T fallback, Parse parse, Store store,
                  StartupRead& out) {
  std::optional<std::u16string> text = desktop.read_setting(key);
  if (!text) {
    store(fallback);
    return true;
  }
  auto value = parse(*text);
  if (!value) {
    out.bad_key = key;
    return false;
  }
  store(*value);
  return true;
}

}  // namespace

StartupRead load_startup_settings(Desktop& desktop) {
  StartupRead out;
  SettingValues& v = out.values;
  auto flag_into = [](std::int16_t& field) { return [&field](bool b) { field = to_flag(b); }; };
  auto byte_into = [](std::uint8_t& field) { return [&field](std::uint8_t b) { field = b; }; };

  if (!read_startup(desktop, kOrikaesi, kDefaultOrikaesi, parse_int16,
                    [&v](std::int16_t n) { v.orikaesi = n; }, out)) return out;
  if (!read_startup(desktop, kAngo, kDefaultAngo, parse_boolean, flag_into(v.ango), out)) return out;
  if (!read_startup(desktop, kHukugo, kDefaultHukugo, parse_boolean, flag_into(v.hukugo), out)) return out;
  if (!read_startup(desktop, kEqualpass, kDefaultEqualpass, parse_boolean, flag_into(v.equalpass), out)) return out;
  if (!read_startup(desktop, kQuest1, kDefaultQuest1, parse_byte, byte_into(v.quest1), out)) return out;
  if (!read_startup(desktop, kQuest2, kDefaultQuest2, parse_byte, byte_into(v.quest2), out)) return out;
  if (!read_startup(desktop, kUsepasslist1, kDefaultUsepasslist1, parse_boolean, flag_into(v.usepasslist1), out)) return out;
  if (!read_startup(desktop, kUsepasslist2, kDefaultUsepasslist2, parse_boolean, flag_into(v.usepasslist2), out)) {
    return out;
  }
  // Newer than the earlier version's keys: a text it cannot read stops
  // nothing and keeps the secure default.
  v.strong = to_flag(read_boolean_or(desktop, kStrong, kDefaultStrong));
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
  auto text = desktop.read_setting(kHock);
  if (!text) return kDefaultHock == 1;
  return number_equals(*text, 1).value_or(kDefaultHock == 1);
}

void write_boolean(Desktop& desktop, std::u16string_view key, bool value) {
  desktop.write_setting(key, boolean_text(value));
}

void write_check(Desktop& desktop, std::u16string_view key, bool ticked) {
  desktop.write_setting(key, check_text(ticked));
}

}  // namespace quiren::settings
