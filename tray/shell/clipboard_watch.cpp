#include "tray/shell/clipboard_watch.h"

namespace quiren {

ClipboardWatch::ClipboardWatch(Busy& busy, ViewerChain& chain, CipherCommands& flows)
    : busy_(busy), chain_(chain), flows_(flows) {}

void ClipboardWatch::install() {
  const Busy::Token joining = busy_.hold();
  installed_ = true;
  // The platform notifies the new viewer before join() returns; a viewer
  // left over from an earlier install must not receive that notice.
  next_viewer_ = 0;
  // The contents at joining count as seen, whether or not the platform
  // sends its notice.
  seen_sequence_ = chain_.clipboard_sequence();
  next_viewer_ = chain_.join();
}

void ClipboardWatch::remove() {
  // Leaving a chain we are not in would send the other viewers a notice
  // naming a stale next window.
  if (!installed_) return;
  chain_.leave(next_viewer_);
  next_viewer_ = 0;
  installed_ = false;
}

void ClipboardWatch::on_clipboard_changed() {
  if (!installed_) return;
  if (next_viewer_ != 0) chain_.forward_draw(next_viewer_);
  const std::uint32_t sequence = chain_.clipboard_sequence();
  const bool new_contents = sequence == 0 || sequence != seen_sequence_;
  seen_sequence_ = sequence;
  if (!new_contents || !busy_.idle()) return;
  flows_.on_clipboard_change();
  // The clipboard may have moved on while the flow read it (the notice can
  // be handled while the copying program still writes); what is there now
  // has been examined, and the notice still on its way for it is a repeat.
  seen_sequence_ = chain_.clipboard_sequence();
}

void ClipboardWatch::on_chain_changed(WindowHandle leaving, WindowHandle following) {
  if (!installed_) return;
  if (leaving == next_viewer_) {
    // Our own next viewer left: the one after it takes its place, and the
    // notice ends here.
    next_viewer_ = following;
    return;
  }
  if (next_viewer_ != 0) chain_.forward_chain_change(next_viewer_, leaving, following);
}

}  // namespace quiren
