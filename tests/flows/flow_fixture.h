// One tray program's worth of flow collaborators over the fake desktop, with
// the real clipboard watch in front of the flows.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/flows/flow_fakes.h"
#include "tests/shell/shell_fakes.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_key_ring.h"
#include "tests/support/quick_crypto.h"
#include "tray/core/program_state.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/viewer_form.h"
#include "tray/shell/clipboard_watch.h"

namespace quiren::testing {

// Records at every clipboard write whether the watch would start a flow.
class FlowDesktop : public FakeDesktop {
 public:
  explicit FlowDesktop(int cp) : FakeDesktop(cp) {}
  bool clipboard_put_text(std::u16string_view text) override {
    if (watch_live) watch_live_at_writes.push_back(watch_live());
    return FakeDesktop::clipboard_put_text(text);
  }
  std::function<bool()> watch_live;
  std::vector<bool> watch_live_at_writes;
};

// What the watch hands on: counted, and passed to the flows unless the test
// only asks whether the watch would start one.
struct CountedCommands : CipherCommands {
  explicit CountedCommands(CipherCommands& f) : flows(f) {}
  CipherCommands& flows;
  int started = 0;
  bool only_counting = false;
  void on_clipboard_change() override {
    ++started;
    if (!only_counting) flows.on_clipboard_change();
  }
  void encrypt_clipboard() override { flows.encrypt_clipboard(); }
  void decrypt_clipboard() override { flows.decrypt_clipboard(); }
  void cancel_run() override { flows.cancel_run(); }
};

class FlowTest : public ::testing::Test {
 protected:
  // Compatible blocks unless a test switches "strong" on: their tests
  // predate the strong ones and keep every assertion.
  explicit FlowTest(int code_page = 932) : desktop(code_page) {
    state.settings.strong = false;
    watch.install();
    desktop.watch_live = [this] { return watch_starts_a_flow(); };
    cipher.watch_live = [this] { return watch_starts_a_flow(); };
  }

  // Whether something newly copied now would start a flow. The watch is
  // asked as a clipboard change asks it; the flow it starts is not run.
  bool watch_starts_a_flow() {
    const int before = watched.started;
    watched.only_counting = true;
    ++chain.sequence;
    watch.on_clipboard_changed();
    watched.only_counting = false;
    return watched.started > before;
  }

  // Encrypts `text` under `password` through the menu path and returns the
  // block, leaving a clean record behind.
  std::u16string block_for(std::u16string_view text, std::u16string_view password) {
    desktop.clipboard = std::u16string(text);
    desktop.box_answers = {Answer::yes};
    desktop.prompt_answers = {std::u16string(password)};
    flows.encrypt_clipboard();
    std::u16string block = desktop.clipboard.value_or(u"");
    forget();
    return block;
  }

  void forget() {
    desktop.boxes.clear();
    desktop.prompts.clear();
    desktop.box_answers.clear();
    desktop.prompt_answers.clear();
    desktop.watch_live_at_writes.clear();
    cipher.encrypts.clear();
    cipher.decrypts.clear();
  }

  ProgramState state;
  FlowDesktop desktop;
  FakeCipher cipher;
  std::shared_ptr<QuickCrypto> crypto = std::make_shared<QuickCrypto>();
  FakeChooser chooser{state.busy};
  ViewerForm viewer{desktop};
  FakeKeyRing keys;
  ClipboardFlows flows{state, desktop, cipher, crypto, chooser, viewer, keys};
  FakeChain chain;
  CountedCommands watched{flows};
  ClipboardWatch watch{state.busy, chain, watched};
};

}  // namespace quiren::testing
