// The window in which the decrypt flow shows its results. Implemented by the
// Win32 viewer window (tray/flows/win32/viewer_frame.h) and, for tests, by
// the portable viewer logic alone (tray/flows/viewer_form.h).
#pragma once

#include <string>
#include <string_view>

namespace quiren {

class DecryptedTextViewer {
 public:
  virtual ~DecryptedTextViewer() = default;

  // Shows the viewer modelessly. Opening a closed viewer loads its stored
  // size; an open viewer stays as it is (brought to the front, size,
  // position and text unchanged). An open viewer keeps nothing busy: a
  // block copied while it is open decrypts into it.
  virtual void show() = 0;
  virtual bool is_open() const = 0;

  // The whole text of the text box; CR LF line breaks.
  virtual std::u16string text() const = 0;
  virtual void set_text(std::u16string_view text) = 0;

  // Closes an open viewer: its size is stored. Does nothing when it is
  // closed.
  virtual void close() = 0;
};

}  // namespace quiren
