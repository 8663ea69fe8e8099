#include "tray/shell/clipboard_watch.h"

namespace quiren {

ClipboardWatch::ClipboardWatch(Busy& busy, ViewerChain& chain, CipherCommands& flows)
    : busy_(busy), chain_(chain), flows_(flows) {}

void ClipboardWatch::Hook() {
  const Busy::Token joining = busy_.hold();
  installed_ = true;
  // The platform notifies the new viewer before join() returns; a viewer
  // left over from an earlier Hook must not receive that notice.
  nextviewer_ = 0;
  // The contents at joining count as seen, whether or not the platform
  // sends its notice.
  seen_sequence_ = chain_.clipboard_sequence();
  nextviewer_ = chain_.join();
}

void ClipboardWatch::Unhook() {
  // Leaving a chain we are not in would send the other viewers a notice
  // naming a stale next window.
  if (!installed_) return;
  chain_.leave(nextviewer_);
  nextviewer_ = 0;
  installed_ = false;
}

void ClipboardWatch::on_clipboard_changed() {
  if (!installed_) return;
  if (nextviewer_ != 0) chain_.forward_draw(nextviewer_);
  const std::uint32_t sequence = chain_.clipboard_sequence();
  const bool new_contents = sequence == 0 || sequence != seen_sequence_;
  seen_sequence_ = sequence;
  if (!new_contents || !busy_.idle()) return;
  flows_.clipcheck();
  // The clipboard may have moved on while the flow read it (the notice can
  // be handled while the copying program still writes); what is there now
  // has been examined, and the notice still on its way for it is a repeat.
  seen_sequence_ = chain_.clipboard_sequence();
}

void ClipboardWatch::on_chain_changed(WindowHandle leaving, WindowHandle following) {
  if (!installed_) return;
  if (leaving == nextviewer_) {
    // Our own next viewer left: the one after it takes its place, and the
    // notice ends here.
    nextviewer_ = following;
    return;
  }
  if (nextviewer_ != 0) chain_.forward_chain_change(nextviewer_, leaving, following);
}

}  // namespace quiren
