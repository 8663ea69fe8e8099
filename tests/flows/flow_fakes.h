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
#include "tray/core/password_chooser.h"
#include "tray/core/program_state.h"

namespace quiren::testing {

class FakeChooser : public PasswordChooser {
 public:
  explicit FakeChooser(ProgramState& state) : state_(state) {}
  // Like the real window: selectmode set while open, busyflag and
  // selectmode cleared on closing, selectpass the pick or "".
  void choosepass() override {
    ++calls;
    state_.selectmode = kTrue;
    state_.selectpass = pick;
    state_.busyflag = kFalse;
    state_.selectmode = kFalse;
  }
  std::u16string pick;  // "" = closed without a pick
  int calls = 0;

 private:
  ProgramState& state_;
};

struct CipherCall {
  std::string text;  // or body, for decrypt
  std::string password;
  std::string mode;  // decrypt only
  std::int16_t busyflag;
};

class FakeCipher : public block::CipherLibrary {
 public:
  explicit FakeCipher(ProgramState& state) : state_(state) {}
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

 private:
  ProgramState& state_;
};

}  // namespace quiren::testing
