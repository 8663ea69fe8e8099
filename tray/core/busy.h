// What the program is in the middle of, as the clipboard watch and the tray
// menu ask it. Message boxes, prompts and the library's notices go on
// dispatching messages while they wait, so a clipboard notice or a menu
// command can arrive in the middle of anything.
//
// A flow, a window or a step holds a token while it runs; the token gives
// its hold back when it goes, so holds nest as their scopes do and nothing
// ends another's.
//   - While anything is held, a clipboard change starts no flow.
//   - While a flow runs, no other flow starts, from the watch or the menu.
#pragma once

#include <utility>

namespace quiren {

class Busy {
 public:
  class [[nodiscard]] Token {
   public:
    Token() = default;  // holds nothing
    Token(Token&& other) noexcept : count_(std::exchange(other.count_, nullptr)) {}
    Token& operator=(Token&& other) noexcept {
      if (this != &other) {
        release();
        count_ = std::exchange(other.count_, nullptr);
      }
      return *this;
    }
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;
    ~Token() { release(); }

    explicit operator bool() const { return count_ != nullptr; }
    // Gives the hold back before the token goes.
    void release() {
      if (count_) --*count_;
      count_ = nullptr;
    }

   private:
    friend class Busy;
    explicit Token(int& count) : count_(&count) { ++count; }
    int* count_ = nullptr;
  };

  Busy() = default;
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

  // A flow starts: an empty token when another one runs (it waits in a
  // message box), and the new one must not start inside it.
  [[nodiscard]] Token start_flow() { return flows_ == 0 ? Token(flows_) : Token(); }
  // A window is open, or a step runs that a clipboard change must not
  // interrupt.
  [[nodiscard]] Token hold() { return Token(holds_); }

  // Nothing is held: a clipboard change may start a flow.
  bool idle() const { return flows_ == 0 && holds_ == 0; }
  bool flow_running() const { return flows_ != 0; }

 private:
  int flows_ = 0;
  int holds_ = 0;
};

}  // namespace quiren
