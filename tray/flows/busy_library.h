// A cipher library that holds busyflag at -1 during every call. The
// library's own notices go on dispatching window messages, and the library
// is not reentrant: no flow may start while a call is in progress. The flag
// is put back afterwards, so the caller's own flag rules still hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "block/cipher_library.h"
#include "tray/core/program_state.h"

namespace quiren {

class BusyLibrary : public block::CipherLibrary {
 public:
  BusyLibrary(ProgramState& state, block::CipherLibrary& library) : state_(state), library_(library) {}

  std::optional<std::string> encrypt(std::string_view text, std::string_view password) override {
    Hold hold(state_);
    return library_.encrypt(text, password);
  }
  std::optional<block::SecretBytes> decrypt(std::string_view body, std::string_view password,
                                            std::string_view mode) override {
    Hold hold(state_);
    return library_.decrypt(body, password, mode);
  }

 private:
  class Hold {
   public:
    explicit Hold(ProgramState& state) : state_(state), saved_(state.busyflag) { state_.busyflag = kTrue; }
    ~Hold() { state_.busyflag = saved_; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    ProgramState& state_;
    std::int16_t saved_;
  };

  ProgramState& state_;
  block::CipherLibrary& library_;
};

}  // namespace quiren
