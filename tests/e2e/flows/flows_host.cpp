// Test host for the clipboard cipher flows: a hidden window in the
// clipboard-viewer chain that runs on_clipboard_change on every clipboard change while
// nothing is busy, like the tray program's watch, with the real desktop
// services, library binding, password chooser and viewer.
#include <windows.h>

#include <memory>

#include "block/strong/crypto_provider.h"
#include "block/strong/libcrypto_start.h"
#include "tests/e2e/flows/folder_key_ring.h"
#include "tray/core/program_state.h"
#include "tray/core/settings_store.h"
#include "tray/core/win32/win32_desktop.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/win32/quiren_library.h"
#include "tray/flows/win32/viewer_frame.h"
#include "tray/passlist/win32/password_list_windows.h"
#include "tray/win32kit/dialog_message.h"

namespace {

struct Host {
  quiren::ProgramState state;
  quiren::win32::Win32Desktop desktop;
  quiren::win32::QuirenLibrary library;
  std::shared_ptr<quiren::block::CryptoProvider> crypto = quiren::block::platform_crypto();
  quiren::win32::Win32PasswordChooser chooser{state, desktop};
  quiren::win32::ViewerFrame viewer{desktop};
  quiren::e2e::FolderKeyRing keys{*crypto};
  quiren::ClipboardFlows flows{state, desktop, library, crypto, chooser, viewer, keys};
  HWND next_viewer = nullptr;
};

Host* g_host = nullptr;

LRESULT CALLBACK host_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DRAWCLIPBOARD:
      if (g_host->next_viewer) SendMessageW(g_host->next_viewer, message, wparam, lparam);
      if (g_host->state.busy.idle()) g_host->flows.on_clipboard_change();
      return 0;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wparam) == g_host->next_viewer) {
        g_host->next_viewer = reinterpret_cast<HWND>(lparam);
      } else if (g_host->next_viewer) {
        SendMessageW(g_host->next_viewer, message, wparam, lparam);
      }
      return 0;
    case WM_DESTROY:
      ChangeClipboardChain(hwnd, g_host->next_viewer);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // As the tray program does, before the key ring reaches libcrypto.
  if (!quiren::block::start_libcrypto()) return 1;
  Host host;
  g_host = &host;
  // The settings from the store, as the tray program reads them at start-up.
  host.state.settings = quiren::settings::load_startup_settings(host.desktop).values;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = host_proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"quiren_flows_host";
  RegisterClassExW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"flows host", WS_OVERLAPPED, 0, 0, 100, 100,
                              nullptr, nullptr, instance, nullptr);
  // The first notice arrives inside this call: hold it off until the chain
  // link is stored.
  {
    const quiren::Busy::Token joining = host.state.busy.hold();
    host.next_viewer = SetClipboardViewer(hwnd);
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (quiren::win32::dialog_message(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  g_host = nullptr;
  return 0;
}
