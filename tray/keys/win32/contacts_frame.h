// The contacts window "鍵と宛先" on Win32: modeless, fixed size, centred, no
// task-bar button. Its logic is ContactsForm; it reads the store again
// whenever it comes to the front, so a key added meanwhile (an offer from
// the clipboard) shows.
#pragma once

#include <windows.h>

#include "tray/core/modeless_window.h"
#include "tray/keys/contacts_form.h"
#include "tray/win32kit/gdi.h"
#include "tray/win32kit/owned_window.h"

namespace quiren::win32 {

class ContactsFrame : public ModelessWindow {
 public:
  ContactsFrame(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto, keys::KeyStore& store);
  ~ContactsFrame() override;
  ContactsFrame(const ContactsFrame&) = delete;
  ContactsFrame& operator=(const ContactsFrame&) = delete;

  void show() override;
  void close() override { window_.destroy(); }
  bool is_open() const override { return static_cast<bool>(window_); }

 private:
  friend class WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  // Copies the form into the controls.
  void show_form();
  void on_command(int id, int code);

  keys::ContactsForm logic_;
  ScopedFont digits_font_;
  OwnedWindow window_;
};

}  // namespace quiren::win32
