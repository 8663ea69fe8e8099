#include "tray/flows/frmprint.h"

#include <algorithm>
#include <string>

#include "tray/program_state.h"
#include "tray/shell/desktop.h"
#include "tray/shell/settings_keys.h"
#include "tray/shell/settings_text.h"

namespace quiren {
namespace {

// A hand-edited store may hold anything; keep sizes within what a window
// can take (1,000 inches is far beyond any screen).
constexpr std::int32_t kLargestSize = 1'440'000;

std::u16string decimal_text(std::int32_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

Frmprint::Frmprint(ProgramState& state, Desktop& desktop) : state_(state), desktop_(desktop) {}

void Frmprint::show() {
  if (!open_) Form_Load();
}

void Frmprint::close() {
  if (open_) Form_Unload();
}

std::int32_t Frmprint::read_size(std::u16string_view key, std::int32_t fallback) {
  auto stored = desktop_.read_setting(key);
  if (!stored) return fallback;
  auto number = settings::parse_rounded_number(*stored);
  if (!number) return fallback;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(*number, 0, kLargestSize));
}

void Frmprint::Form_Load() {
  open_ = true;
  outer_.height = read_size(settings::kHeight, settings::kDefaultHeight);
  outer_.width = read_size(settings::kWidth, settings::kDefaultWidth);
  restored_ = outer_;
  size_text_box();
  state_.busyflag = kTrue;
}

void Frmprint::Form_Resize(TwipsSize outer, WindowState state) {
  outer_ = outer;
  if (state == WindowState::normal) restored_ = outer;
  size_text_box();
}

void Frmprint::Form_Unload() {
  desktop_.write_setting(settings::kWidth, decimal_text(restored_.width));
  desktop_.write_setting(settings::kHeight, decimal_text(restored_.height));
  open_ = false;
  state_.busyflag = kFalse;
}

void Frmprint::size_text_box() {
  // A minimised or very small window would give a negative size.
  text_box_.width = std::max(0, outer_.width - kTextBoxMargin.width);
  text_box_.height = std::max(0, outer_.height - kTextBoxMargin.height);
}

}  // namespace quiren
