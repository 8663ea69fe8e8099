// mu_quiren11e.exe: the splash, then the hidden main window in the
// notification area until the exit command or the settings dialog's close
// box. One ProgramState for the whole run, handed to every window and flow.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "block/strong/crypto_provider.h"
#include "block/strong/libcrypto_start.h"
#include "tray/core/boxes.h"
#include "tray/core/program_state.h"
#include "tray/core/win32/process_info.h"
#include "tray/core/win32/win32_desktop.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/win32/quiren_library.h"
#include "tray/flows/win32/viewer_frame.h"
#include "tray/keys/key_block_offers.h"
#include "tray/keys/key_start.h"
#include "tray/keys/key_store.h"
#include "tray/keys/win32/contacts_frame.h"
#include "tray/keys/win32/key_offer_frame.h"
#include "tray/passlist/password_list_file.h"
#include "tray/passlist/win32/password_list_windows.h"
#include "tray/shell/shell_texts.h"
#include "tray/shell/startup.h"
#include "tray/shell/win32/about_frame.h"
#include "tray/shell/win32/main_frame.h"
#include "tray/shell/win32/splash_frame.h"
#include "tray/win32kit/thread_messages.h"
#include "tray/win32kit/wide_text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace quiren;
  // Before anything loads a library: none that a system component loads by
  // name may come from the program's or the current folder.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  // Before anything reaches libcrypto: an openssl.cnf planted where it
  // looks must not change what the program does.
  const bool libcrypto_started = block::start_libcrypto();
  // The cipher library reads a shared code table from the current folder:
  // the program's own, as for quiren.pas, however the program was started.
  SetCurrentDirectoryW(win32::to_wide(win32::directory_of(win32::program_file_path())).c_str());
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  ProgramState state;
  win32::Win32Desktop desktop;
  if (!libcrypto_started) {
    tell(desktop, shell::texts::kStartupError, Icon::critical);
    return 1;
  }
  win32::QuirenLibrary library;
  std::shared_ptr<block::CryptoProvider> crypto = block::platform_crypto();
  // Read (or the first key made) once start-up has refused a second copy.
  keys::KeyStore key_store(desktop, *crypto);
  win32::ViewerFrame viewer(desktop);
  win32::Win32PasswordChooser chooser(state, desktop);
  ClipboardFlows flows(state, desktop, library, crypto, chooser, viewer, key_store);
  win32::Win32KeyOfferWindow key_offer_window;
  // Key blocks on the clipboard are offered as contacts; everything else
  // goes on to the flows.
  keys::KeyBlockOffers commands(state, desktop, *crypto, key_store, key_offer_window, flows);
  win32::PasswordEditor editor(state, desktop);
  PasswordFileRewriter password_list_file(desktop);
  win32::AboutFrame about(state);
  win32::ContactsFrame contacts(state, desktop, *crypto, key_store);

  bool main_window_gone = false;
  bool closed_early = false;
  win32::MainFrame main_window(state, desktop, *crypto, commands, editor, password_list_file, about, viewer, [&] {
    main_window_gone = true;
    // The window may have gone while a sent message was handled (a clipboard
    // notice whose flow waited): the loop below would then wait on for a
    // posted message before it looked again.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  }, &contacts);
  win32::SplashFrame splash(state, desktop, [&] { main_window.open(); }, [&] { closed_early = true; });
  if (!splash.create()) return 1;

  if (splash.load() != StartupOutcome::splash) {
    // A second copy, or a failed start: no other window is open, so the
    // program ends here.
    splash.destroy();
    return 0;
  }
  keys::start_key_store(desktop, key_store);

  // The main loop: the same as every modal one. A WM_QUIT or a failed
  // fetch ends it too.
  win32::run_modal_until([&] { return closed_early || (main_window_gone && main_window.logic().program_may_end()); });
  return 0;
}
