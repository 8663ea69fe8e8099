// The one-line input prompt's logic: the texts it shows and the answer it
// gives. OK gives the typed text; Cancel, the close box and anything else
// that closes it give "". The Win32 frame (tray/core/win32/input_prompt.cpp)
// mirrors it into a window. It asks for plain texts (a password list
// entry's description); passwords go through the password prompt.
#pragma once

#include <string>
#include <string_view>

namespace quiren {

class PromptForm {
 public:
  PromptForm(std::u16string_view prompt, std::u16string_view title) : prompt_(prompt), title_(title) {}
  PromptForm(const PromptForm&) = delete;
  PromptForm& operator=(const PromptForm&) = delete;

  const std::u16string& prompt() const { return prompt_; }
  const std::u16string& title() const { return title_; }

  // OK with what the edit box holds.
  void ok(std::u16string typed);
  void cancel();
  bool closed() const { return closed_; }
  // The answer, handed over once; "" unless OK closed the prompt.
  std::u16string take_answer();

 private:
  std::u16string prompt_;
  std::u16string title_;
  std::u16string answer_;
  bool closed_ = false;
};

}  // namespace quiren
