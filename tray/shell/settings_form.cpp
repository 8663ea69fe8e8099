#include "tray/shell/settings_form.h"

#include <charconv>
#include <optional>
#include <string>

#include "block/block_rules.h"
#include "tray/core/boxes.h"
#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"
#include "tray/core/settings_text.h"
#include "tray/shell/clipboard_watch.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

// The exact value of a text that parse_rounded_number accepts (so it holds
// only blanks, a sign, digits, a point and an exponent); nullopt otherwise.
std::optional<double> exact_number(std::u16string_view text) {
  if (!settings::parse_rounded_number(text)) return std::nullopt;
  std::string ascii;
  for (char16_t c : text) {
    if (c == u' ' || c == u'\t') continue;
    if (c > 0x7f) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  if (!ascii.empty() && ascii.front() == '+') ascii.erase(0, 1);
  double value = 0;
  auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ec != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

// A check box's stored "1"/"0"; any other text leaves it as it was.
bool read_check(Desktop& desktop, std::u16string_view key, bool current) {
  auto text = desktop.read_setting(key);
  if (!text) return current;
  auto n = settings::parse_rounded_number(*text);
  if (n == 1) return true;
  if (n == 0) return false;
  return current;
}

}  // namespace

SettingsForm::SettingsForm(ProgramState& state, Desktop& desktop, ClipboardWatch& watch)
    : state_(state), desktop_(desktop), watch_(watch) {}

void SettingsForm::loadsettei() {
  using namespace settings;
  SettingsControls& c = controls;
  // The box shows the width as stored; absent, the default 60.
  c.txtorikaesi = read_text_or(desktop_, kOrikaesi, kDefaultOrikaesiText);
  c.txtpass1 = read_text_or(desktop_, kAngopass, kDefaultAngopass);
  c.txtpass2 = read_text_or(desktop_, kHukugopass, kDefaultHukugopass);

  if (read_boolean_or(desktop_, kEqualpass, kDefaultEqualpass)) {
    c.option2 = HukugoChoice::equalpass;
  } else if (read_boolean_or(desktop_, kHukugo, kDefaultHukugo)) {
    c.option2 = HukugoChoice::fixed;
  } else {
    c.option2 = HukugoChoice::ask;
  }
  c.option1 = read_boolean_or(desktop_, kAngo, kDefaultAngo) ? AngoChoice::fixed : AngoChoice::ask;
  // Selecting the list buttons clears the choices made above.
  if (read_boolean_or(desktop_, kUsepasslist1, kDefaultUsepasslist1)) c.option1 = AngoChoice::list;
  if (read_boolean_or(desktop_, kUsepasslist2, kDefaultUsepasslist2)) c.option2 = HukugoChoice::list;

  // An absent "hock" keeps the box as it is.
  c.check1 = read_check(desktop_, kHock, c.check1);
  c.chkquestango = read_check(desktop_, kQuest1, kDefaultQuest1 == 1);
  c.chkquesthukugo = read_check(desktop_, kQuest2, kDefaultQuest2 == 1);
  c.chkstrong = read_boolean_or(desktop_, kStrong, kDefaultStrong);
}

bool SettingsForm::fail(std::u16string_view text, Icon icon) {
  tell(desktop_, text, icon);
  return false;
}

bool SettingsForm::Command1_Click() {
  using namespace settings;
  const SettingsControls c = controls;
  const bool ango_fixed = c.option1 == AngoChoice::fixed;
  const bool hukugo_fixed = c.option2 == HukugoChoice::fixed;
  const bool equalpass = c.option2 == HukugoChoice::equalpass;
  const bool list1 = c.option1 == AngoChoice::list;
  const bool list2 = c.option2 == HukugoChoice::list;

  if (ango_fixed && c.txtpass1.size() > block::kLongestPassword) {
    return fail(shell::texts::kPasswordTooLong, Icon::critical);
  }
  if (hukugo_fixed && c.txtpass2.size() > block::kLongestPassword) {
    return fail(shell::texts::kPasswordTooLong, Icon::critical);
  }
  const std::optional<double> width = exact_number(c.txtorikaesi);
  if (!width || *width < block::kNarrowestWrap || *width > block::kWidestWrap) {
    return fail(shell::texts::kBadOrikaesi, Icon::exclamation);
  }
  // The width takes effect here, even when a later check fails.
  const std::int16_t orikaesi = parse_int16(c.txtorikaesi).value_or(kDefaultOrikaesi);
  state_.settings.orikaesi = orikaesi;
  if (ango_fixed && c.txtpass1.empty()) {
    return fail(shell::texts::kFixedPasswordMissing, Icon::exclamation);
  }
  if (equalpass && !ango_fixed) {
    return fail(shell::texts::kEqualpassNeedsAngo, Icon::exclamation);
  }

  SettingValues& v = state_.settings;
  v.ango = to_flag(ango_fixed);
  v.hukugo = to_flag(hukugo_fixed);
  v.usepasslist1 = to_flag(list1);
  v.usepasslist2 = to_flag(list2);

  if (!watch_.installed() && c.check1) {
    watch_.Hook();
  } else if (watch_.installed() && !c.check1) {
    watch_.Unhook();
  }

  desktop_.write_setting(kOrikaesi, c.txtorikaesi);
  write_boolean(desktop_, kAngo, ango_fixed);
  write_boolean(desktop_, kHukugo, hukugo_fixed);
  desktop_.write_setting(kAngopass, c.txtpass1);
  desktop_.write_setting(kHukugopass, c.txtpass2);
  write_check(desktop_, kHock, c.check1);
  write_boolean(desktop_, kEqualpass, equalpass);
  write_check(desktop_, kQuest1, c.chkquestango);
  write_check(desktop_, kQuest2, c.chkquesthukugo);
  write_boolean(desktop_, kUsepasslist1, list1);
  write_boolean(desktop_, kUsepasslist2, list2);
  write_boolean(desktop_, kStrong, c.chkstrong);

  v.ango = to_flag(ango_fixed);
  v.hukugo = to_flag(hukugo_fixed);
  v.equalpass = to_flag(equalpass);
  v.orikaesi = orikaesi;
  v.quest1 = c.chkquestango ? 1 : 0;
  v.quest2 = c.chkquesthukugo ? 1 : 0;
  v.strong = to_flag(c.chkstrong);
  return true;
}

}  // namespace quiren
