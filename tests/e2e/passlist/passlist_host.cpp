// Test host: opens the password list window the way the tray program does.
//   passlist_host editor            the modeless editor; exits when it closes
//   passlist_host chooser OUTFILE   the modal chooser; writes its pick
//                                   (UTF-8) to OUTFILE when it returns
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "tray/core/win32/win32_desktop.h"
#include "tray/passlist/win32/password_list_windows.h"
#include "tray/win32kit/thread_messages.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring mode = argc > 1 ? argv[1] : L"editor";
  quiren::win32::Win32Desktop desktop;
  quiren::ProgramState state;

  if (mode == L"chooser") {
    if (argc < 3) return 2;
    quiren::win32::Win32PasswordChooser chooser(state, desktop);
    const std::optional<quiren::block::SecretText> picked = chooser.choose_password();
    const std::u16string_view picked_text = picked ? picked->view() : std::u16string_view();
    std::wstring pick(picked_text.begin(), picked_text.end());
    std::string bytes(static_cast<std::size_t>(pick.size()) * 4, '\0');
    int n = WideCharToMultiByte(CP_UTF8, 0, pick.data(), static_cast<int>(pick.size()), bytes.data(),
                                static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    HANDLE out = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);
    return state.busy.idle() ? 0 : 4;
  }

  quiren::win32::PasswordEditor editor(state, desktop);
  editor.show();
  quiren::win32::run_modal_until([&editor] { return !editor.is_open(); });
  return state.busy.idle() ? 0 : 4;
}
