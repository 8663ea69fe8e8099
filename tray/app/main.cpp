// mu_quiren11e.exe: the splash, then the hidden main window in the
// notification area until the exit command or the settings dialog's close
// box. One ProgramState for the whole run, handed to every window and flow.
#include <windows.h>
#include <commctrl.h>

#include "tray/app/flow_commands.h"
#include "tray/flows/clipboard_flows.h"
#include "tray/flows/win32/quiren_library.h"
#include "tray/flows/win32/viewer_window.h"
#include "tray/passlist/win32/password_list_win32.h"
#include "tray/program_state.h"
#include "tray/shell/startup.h"
#include "tray/shell/win32/about_window.h"
#include "tray/shell/win32/main_window_frame.h"
#include "tray/shell/win32/splash_window.h"
#include "tray/shell/win32/win32_desktop.h"

namespace {

// Tab, Enter and Escape in the program's modeless windows.
bool dialog_message(MSG& msg, std::initializer_list<HWND> windows) {
  if (quiren::win32::password_list_dialog_message(msg)) return true;
  for (HWND window : windows) {
    if (window && IsWindowVisible(window) && IsDialogMessageW(window, &msg)) return true;
  }
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace quiren;
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  ProgramState state;
  win32::Win32Desktop desktop;
  win32::QuirenLibrary library;
  win32::ViewerWindow viewer(state, desktop);
  win32::Win32PasswordChooser chooser(state, desktop);
  ClipboardFlows flows(state, desktop, library, chooser, viewer);
  app::FlowCommands commands(flows);
  app::PasswordEditorWindow editor(state, desktop);
  win32::AboutWindow about(state);

  bool main_window_gone = false;
  bool closed_early = false;
  win32::MainWindowFrame main_window(state, desktop, commands, editor, about, viewer,
                                     [&] { main_window_gone = true; });
  win32::SplashWindow splash([&] { main_window.open(); }, [&] { closed_early = true; });
  if (!splash.create()) return 1;

  if (frmmain_Form_Load(state, desktop, splash) != StartupOutcome::splash) {
    // A second copy, or a failed start: no other window is open, so the
    // program ends here.
    splash.destroy();
    return 0;
  }

  MSG msg;
  while (!closed_early && !(main_window_gone && main_window.logic().program_may_end())) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;
    if (dialog_message(msg, {main_window.hwnd(), about.hwnd()})) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
