// The offer window on Win32, modal: the name field, the safety digits in
// large type, the advice, the warning for a changed key, "数字を確認した",
// and the add (or replace) and cancel buttons. Its logic is KeyOfferForm.
#pragma once

#include "tray/keys/key_offer_form.h"

namespace quiren::win32 {

class Win32KeyOfferWindow : public keys::KeyOfferWindow {
 public:
  // Runs its own message loop until the window closes. A WM_QUIT met while
  // waiting cancels it and is posted again (run_modal_until's rule).
  void run(keys::KeyOfferForm& form) override;
};

}  // namespace quiren::win32
