// Stand-ins for the pieces around the cipher flows: a password chooser that
// picks from a script, and a small invertible cipher that behaves like the
// library where the flows rely on it (fill letters to a multiple of 4,
// groups of the real armour, a final mode letter), recording every call.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block/cipher_library.h"
#include "tray/core/busy.h"
#include "tray/core/password_chooser.h"

namespace quiren::testing {

class FakeChooser : public PasswordChooser {
 public:
  // Like the real window, it holds the program busy while it is open.
  explicit FakeChooser(Busy& busy) : busy_(busy) {}
  std::optional<block::SecretText> choose_password() override {
    ++calls;
    const Busy::Token open = busy_.hold();
    if (while_open) while_open();
    if (pick.empty()) return std::nullopt;
    return block::SecretText(pick);
  }
  std::u16string pick;  // "" = closed without a pick
  std::function<void()> while_open;
  int calls = 0;

 private:
  Busy& busy_;
};

struct CipherCall {
  std::string text;  // or body, for decrypt
  std::string password;
  std::string mode;  // decrypt only
  bool watch_live;   // whether a clipboard change would have started a flow meanwhile
};

class FakeCipher : public block::CipherLibrary {
 public:
  std::optional<std::string> encrypt(std::string_view text, std::string_view password) override;
  std::optional<block::SecretBytes> decrypt(std::string_view body, std::string_view password,
                                            std::string_view mode) override;

  bool missing = false;          // every call fails, as without the DLL
  char text_mode_letter = 'A';   // the letter of results of texts other than the password
  std::optional<std::string> text_result;  // when set, the whole result for texts other than the password
  // When set, what every mode "B" field decrypts to (a shared code table the
  // computer lacks gives ""; a crafted block gives far more).
  std::optional<std::string> mode_b_result;
  std::vector<CipherCall> encrypts;
  std::vector<CipherCall> decrypts;
  // Asked at every call: whether the watch would start a flow now.
  std::function<bool()> watch_live;

 private:
  bool live() const { return watch_live && watch_live(); }
};

}  // namespace quiren::testing
