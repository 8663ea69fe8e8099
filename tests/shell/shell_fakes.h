// Recording stand-ins for the windows and platform pieces around the shell.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tray/core/cipher_commands.h"
#include "tray/core/decrypted_text_viewer.h"
#include "tray/core/list_file_protection.h"
#include "tray/core/modeless_window.h"
#include "tray/core/program_state.h"
#include "tray/shell/main_view.h"

namespace quiren::testing {

struct FakeChain : ViewerChain {
  WindowHandle next_on_join = 0;
  std::vector<std::string> calls;
  std::vector<WindowHandle> draws;
  struct Change { WindowHandle to, leaving, following; };
  std::vector<Change> changes;
  std::function<void()> during_join;  // the notice the platform sends on joining
  std::uint32_t sequence = 1;         // the clipboard's change count

  WindowHandle join() override {
    calls.push_back("join");
    if (during_join) during_join();
    return next_on_join;
  }
  void leave(WindowHandle next) override { calls.push_back("leave " + std::to_string(next)); }
  void forward_draw(WindowHandle next) override { draws.push_back(next); }
  std::uint32_t clipboard_sequence() override { return sequence; }
  void forward_chain_change(WindowHandle next, WindowHandle leaving, WindowHandle following) override {
    changes.push_back({next, leaving, following});
  }
};

struct FakeFlows : CipherCommands {
  std::vector<std::string> calls;
  std::function<void()> during_clipboard_change;
  void on_clipboard_change() override {
    calls.push_back("on_clipboard_change");
    if (during_clipboard_change) during_clipboard_change();
  }
  void encrypt_clipboard() override { calls.push_back("encrypt"); }
  void decrypt_clipboard() override { calls.push_back("decrypt"); }
  void cancel_run() override { calls.push_back("cancel run"); }
};

struct FakeWindow : ModelessWindow {
  bool open = false;
  int shows = 0;
  std::function<void()> on_show, on_close;
  void show() override {
    ++shows;
    if (!open && on_show) on_show();
    open = true;
  }
  void close() override {
    if (open && on_close) on_close();
    open = false;
  }
  bool is_open() const override { return open; }
};

// Records each rewrite the settings dialog asks for (true: sealed).
struct FakeListFile : ListFileProtection {
  std::vector<bool> rewrites;
  ListRewrite result = ListRewrite::done;
  ListRewrite rewrite_password_list(bool protect) override {
    rewrites.push_back(protect);
    return result;
  }
};

struct FakeViewer : DecryptedTextViewer {
  bool open = false;
  std::u16string body;
  void show() override { open = true; }
  bool is_open() const override { return open; }
  std::u16string text() const override { return body; }
  void set_text(std::u16string_view t) override { body = std::u16string(t); }
  void set_formats(BlockFormats) override {}
  std::u16string status_line() const override { return {}; }
  void close() override { open = false; }
};

struct FakeView : MainView {
  std::vector<std::string> calls;
  std::function<void()> on_unload;
  void add_tray_icon() override { calls.push_back("add icon"); }
  void remove_tray_icon() override { calls.push_back("remove icon"); }
  void pop_up_menu() override { calls.push_back("menu"); }
  void show_settings() override { calls.push_back("show"); }
  void hide_settings() override { calls.push_back("hide"); }
  void refresh_settings() override { calls.push_back("refresh"); }
  void unload() override {
    calls.push_back("unload");
    if (on_unload) on_unload();
  }
};

}  // namespace quiren::testing
