// The window in which the decrypt flow shows its results. Implemented by the
// Win32 viewer window (tray/flows/win32/viewer_frame.h) and, for tests, by
// the portable viewer logic alone (tray/flows/viewer_form.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quiren {

// How many blocks of each format the shown text came from (a block whose
// password check failed, or a recipient block that did not open, counts as
// well: its place holds the text that says so), and who wrote the recipient
// blocks that opened.
struct BlockFormats {
  std::size_t strong = 0;
  std::size_t compatible = 0;
  std::size_t recipient = 0;
  // One for each recipient block that opened, in the text's order: its
  // sender and when it was written, as the status line names them
  // (tray/flows/sender_label.h); the same one twice is named once.
  std::vector<std::u16string> senders = {};
  friend bool operator==(const BlockFormats&, const BlockFormats&) = default;
};

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
  // The status line under the text box: the text's blocks by format, the
  // recipient blocks' senders, and a warning when any was compatible, since
  // a compatible block can be changed unnoticed. Not part of the text, nor of what is copied from it.
  virtual void set_formats(BlockFormats formats) = 0;
  virtual std::u16string status_line() const = 0;

  // Closes an open viewer: its size is stored. Does nothing when it is
  // closed.
  virtual void close() = 0;
};

}  // namespace quiren
