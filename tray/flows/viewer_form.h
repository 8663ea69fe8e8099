// The decrypted text viewer as plain logic: its stored size, the
// size of its text box and its text. The Win32 window
// (tray/flows/win32/viewer_frame.h) mirrors this state into a real window;
// tests use the class directly as the viewer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "block/secret.h"
#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/settings_keys.h"
#include "tray/win32kit/twips.h"

namespace quiren {

class Desktop;

enum class WindowState { normal, minimized, maximized };

class ViewerForm : public DecryptedTextViewer {
 public:
  static constexpr std::u16string_view kCaption = u"復号した文章の表示";
  static constexpr std::u16string_view kFontName = u"ＭＳ Ｐゴシック";
  static constexpr int kFontPoints = 12;
  // The designed outer size; the text box is this much smaller.
  static constexpr TwipsSize kDefaultOuter{settings::kDefaultViewerWidth, settings::kDefaultViewerHeight};
  // The window's frame and caption; the status line takes its height below
  // the text box, which has the rest.
  static constexpr TwipsSize kTextBoxMargin{140, 400};
  static constexpr int kStatusLineHeight = 330;
  static constexpr int kStatusFontPoints = 9;

  explicit ViewerForm(Desktop& desktop);

  // DecryptedTextViewer: show() runs load on a closed viewer, close()
  // runs unload on an open one.
  void show() override;
  bool is_open() const override { return open_; }
  std::u16string text() const override { return std::u16string(text_.view()); }
  void set_text(std::u16string_view text) override { text_ = block::SecretText(text); }
  void set_formats(BlockFormats formats) override { formats_ = formats; }
  std::u16string status_line() const override;
  void close() override;

  // Reads the stored size and sizes the text box.
  void load();
  // Every size change of the window; a normal (not minimised or maximised)
  // size is the one stored on closing.
  void resize(TwipsSize outer, WindowState state = WindowState::normal);
  // The restored size as the window system knows it (a window that closes
  // minimised or maximised stores this, not its current size).
  void note_restored_size(TwipsSize outer) { restored_ = outer; }
  // Wipes the text and stores the restored size.
  void unload();

  TwipsSize outer_size() const { return outer_; }
  TwipsSize text_box_size() const { return text_box_; }
  // Under the text box, as wide.
  TwipsRect status_line_place() const;

 private:
  std::int32_t read_size(std::u16string_view key, std::int32_t fallback);
  void size_text_box();

  Desktop& desktop_;
  bool open_ = false;
  TwipsSize outer_ = kDefaultOuter;
  TwipsSize restored_ = kDefaultOuter;
  TwipsSize text_box_{kDefaultOuter.width - kTextBoxMargin.width,
                      kDefaultOuter.height - kTextBoxMargin.height - kStatusLineHeight};
  block::SecretText text_;  // the decrypted text
  BlockFormats formats_;
};

}  // namespace quiren
