// One tray program's worth of flow collaborators over the fake desktop.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/flows/flow_fakes.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/quick_crypto.h"
#include "tray/core/program_state.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/viewer_form.h"

namespace quiren::testing {

// Records busyflag at every clipboard write.
class FlowDesktop : public FakeDesktop {
 public:
  FlowDesktop(ProgramState& state, int cp) : FakeDesktop(cp), state_(state) {}
  bool clipboard_put_text(std::u16string_view text) override {
    busyflag_at_writes.push_back(state_.busyflag);
    return FakeDesktop::clipboard_put_text(text);
  }
  std::vector<std::int16_t> busyflag_at_writes;

 private:
  ProgramState& state_;
};

class FlowTest : public ::testing::Test {
 protected:
  // Compatible blocks unless a test switches "strong" on: their tests
  // predate the strong ones and keep every assertion.
  explicit FlowTest(int code_page = 932) : desktop(state, code_page) { state.settings.strong = kFalse; }

  // Encrypts `text` under `password` through the menu path and returns the
  // block, leaving a clean record behind.
  std::u16string block_for(std::u16string_view text, std::u16string_view password) {
    desktop.clipboard = std::u16string(text);
    desktop.box_answers = {Answer::yes};
    desktop.prompt_answers = {std::u16string(password)};
    flows.mnuango_Click();
    std::u16string block = desktop.clipboard.value_or(u"");
    forget();
    return block;
  }

  void forget() {
    desktop.boxes.clear();
    desktop.prompts.clear();
    desktop.box_answers.clear();
    desktop.prompt_answers.clear();
    desktop.busyflag_at_writes.clear();
    cipher.encrypts.clear();
    cipher.decrypts.clear();
  }

  ProgramState state;
  FlowDesktop desktop;
  FakeCipher cipher{state};
  QuickCrypto crypto;
  FakeChooser chooser{state};
  ViewerForm viewer{state, desktop};
  ClipboardFlows flows{state, desktop, cipher, crypto, chooser, viewer};
};

}  // namespace quiren::testing
