#include "tray/flows/viewer_form.h"

#include <algorithm>
#include <string>
#include <vector>

#include "block/filled_text.h"
#include "tray/core/desktop.h"
#include "tray/core/settings_keys.h"
#include "tray/core/settings_store.h"
#include "tray/flows/flow_texts.h"

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

ViewerForm::ViewerForm(Desktop& desktop) : desktop_(desktop) {}

void ViewerForm::show() {
  if (!open_) load();
}

void ViewerForm::close() {
  if (open_) unload();
}

std::int32_t ViewerForm::read_size(std::u16string_view key, std::int32_t fallback) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(settings::read_number_or(desktop_, key, fallback), 0, kLargestSize));
}

void ViewerForm::load() {
  open_ = true;
  outer_.height = read_size(settings::kViewerHeight, settings::kDefaultViewerHeight);
  outer_.width = read_size(settings::kViewerWidth, settings::kDefaultViewerWidth);
  restored_ = outer_;
  size_text_box();
}

void ViewerForm::resize(TwipsSize outer, WindowState state) {
  outer_ = outer;
  if (state == WindowState::normal) restored_ = outer;
  size_text_box();
}

std::u16string ViewerForm::status_line() const {
  namespace texts = flows::texts;
  const bool password_blocks = formats_.strong > 0 || formats_.compatible > 0;
  // Recipient blocks that all opened are counted by their senders alone.
  const bool recipients_counted =
      formats_.recipient > 0 && (password_blocks || formats_.senders.size() < formats_.recipient);
  std::vector<std::u16string> parts;
  if (password_blocks) {
    std::u16string counts = block::filled(texts::kViewerFormats, {{"strong", block::decimal(formats_.strong)},
                                                                  {"compatible", block::decimal(formats_.compatible)}});
    if (recipients_counted) {
      counts += block::filled(texts::kViewerRecipientsBeside, {{"recipient", block::decimal(formats_.recipient)}});
    }
    parts.push_back(std::move(counts));
  } else if (recipients_counted) {
    parts.push_back(block::filled(texts::kViewerRecipients, {{"recipient", block::decimal(formats_.recipient)}}));
  }
  if (!formats_.senders.empty()) {
    std::u16string senders;
    const auto& all = formats_.senders;
    for (auto sender = all.begin(); sender != all.end(); ++sender) {
      if (std::find(all.begin(), sender, *sender) != sender) continue;  // named already
      if (!senders.empty()) senders += texts::kViewerSendersJoint;
      senders += *sender;
    }
    parts.push_back(block::filled(texts::kViewerSenders, {{"senders", senders}}));
  }
  if (formats_.compatible > 0) parts.emplace_back(texts::kCompatibleUnprotected);
  std::u16string line;
  for (const std::u16string& part : parts) {
    if (!line.empty()) line += texts::kViewerFormatsJoint;
    line += part;
  }
  return line;
}

TwipsRect ViewerForm::status_line_place() const {
  const int room = std::max(0, outer_.height - kTextBoxMargin.height - text_box_.height);
  return {0, text_box_.height, text_box_.width, std::min(kStatusLineHeight, room)};
}

void ViewerForm::unload() {
  // The decrypted text is the secret: it goes with the window.
  text_.clear();
  formats_ = {};
  desktop_.write_setting(settings::kViewerWidth, decimal_text(restored_.width));
  desktop_.write_setting(settings::kViewerHeight, decimal_text(restored_.height));
  open_ = false;
}

void ViewerForm::size_text_box() {
  // A minimised or very small window would give a negative size.
  text_box_.width = std::max(0, outer_.width - kTextBoxMargin.width);
  text_box_.height = std::max(0, outer_.height - kTextBoxMargin.height - kStatusLineHeight);
}

}  // namespace quiren
