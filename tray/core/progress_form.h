// The progress window's logic: what it says, how far its bar is, whether it
// shows yet and whether the user cancelled. A run that ends within
// kShowAfterMs never shows it; the platform's timer says when that time
// has passed (delay_passed). Its Win32 frame (tray/core/win32/
// progress_frame.h) mirrors it into a window with a progress bar and
// kButtonCancel; Cancel, Escape and the close box all cancel.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace quiren {

// What mirrors a ProgressForm: told after every change.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void refresh() = 0;
};

class ProgressForm {
 public:
  enum class Work { encrypting, decrypting };
  static constexpr int kShowAfterMs = 500;

  // A run of `blocks` blocks (at least one is counted).
  ProgressForm(Work work, std::size_t blocks);
  ProgressForm(const ProgressForm&) = delete;
  ProgressForm& operator=(const ProgressForm&) = delete;

  // Block `index` (from 0) starts; the bar shows the blocks before it done.
  void start_block(std::size_t index);
  // The run has taken kShowAfterMs: the window shows.
  void delay_passed();
  void cancel();

  bool shown() const { return shown_; }
  bool cancelled() const { return cancelled_; }
  std::u16string text() const;
  std::size_t bar_position() const { return index_; }
  std::size_t bar_range() const { return blocks_; }

  // The window that mirrors this form, made by the platform when the run
  // first waits; it goes when the form goes (the run has ended).
  void attach(std::unique_ptr<ProgressView> view);
  bool has_view() const { return view_ != nullptr; }

 private:
  void changed();

  Work work_;
  std::size_t blocks_;
  std::size_t index_ = 0;
  bool shown_ = false;
  bool cancelled_ = false;
  std::unique_ptr<ProgressView> view_;
};

}  // namespace quiren
