#include "tray/shell/win32/main_frame.h"

#include <shellapi.h>

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/settings_layout.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

namespace layout = settings_layout;

}  // namespace

MainFrame::MainFrame(ProgramState& state, Desktop& desktop, block::CryptoProvider& random, CipherCommands& flows,
                     ModelessWindow& password_editor, ListFileProtection& password_list_file, ModelessWindow& about,
                     DecryptedTextViewer& viewer, std::function<void()> on_destroyed)
    : on_destroyed_(std::move(on_destroyed)) {
  logic_.emplace(state, desktop, random, *this,
                 MainFormParts{*this, flows, password_editor, about, viewer, password_list_file});
  settings_frame_.emplace(logic_->settings());
}

MainFrame::~MainFrame() = default;

bool MainFrame::open() {
  small_icon_ = program_icon(GetSystemMetrics(SM_CXSMICON));
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  // Fixed single border with a close box, no minimise or maximise box.
  if (!window_.create(*this, {.window_class = layout::kMainWindowClass,
                              .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, .ex_style = WS_EX_CONTROLPARENT,
                              .caption = shell::texts::kSettingsTitle})) {
    return false;
  }
  size_and_centre(hwnd(), layout::kClientWidth, layout::kClientHeight, window_.dpi());
  settings_frame_->create(hwnd(), window_.dpi(), window_.font());
  create_menu();
  logic_->load();
  return true;
}

void MainFrame::create_menu() {
  struct Item {
    MenuCommand id;
    std::u16string_view text;
    bool separator_after;
  };
  const Item items[] = {
      {MenuCommand::encrypt, shell::texts::kMenuEncrypt, false},
      {MenuCommand::decrypt, shell::texts::kMenuDecrypt, true},
      {MenuCommand::settings, shell::texts::kMenuSettings, false},
      {MenuCommand::password_list, shell::texts::kMenuPasswordList, true},
      {MenuCommand::about, shell::texts::kMenuAbout, true},
      {MenuCommand::exit, shell::texts::kMenuExit, false},
  };
  menu_.reset(CreatePopupMenu());
  for (const Item& item : items) {
    const std::wstring text = to_wide(item.text);
    AppendMenuW(menu_.get(), MF_STRING, static_cast<UINT_PTR>(item.id), text.c_str());
    if (item.separator_after) AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
  }
}

void MainFrame::add_tray_icon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(NOTIFYICONDATAW);
  data.hWnd = hwnd();
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = small_icon_;
  const std::wstring tip = to_wide(shell::texts::kTrayTip);
  lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(std::size(data.szTip)));
  Shell_NotifyIconW(NIM_ADD, &data);
}

void MainFrame::remove_tray_icon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(NOTIFYICONDATAW);
  data.hWnd = hwnd();
  data.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void MainFrame::pop_up_menu() {
  POINT at{};
  GetCursorPos(&at);
  // Without the foreground the menu would not close on a click elsewhere.
  SetForegroundWindow(hwnd());
  TrackPopupMenu(menu_.get(), 0, at.x, at.y, 0, hwnd(), nullptr);
  PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void MainFrame::show_settings() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void MainFrame::hide_settings() { ShowWindow(hwnd(), SW_HIDE); }

void MainFrame::refresh_settings() {
  settings_frame_->show_form();
}

void MainFrame::unload() { window_.destroy(); }

WindowHandle MainFrame::join() {
  return reinterpret_cast<WindowHandle>(SetClipboardViewer(hwnd()));
}

void MainFrame::leave(WindowHandle next_viewer) {
  ChangeClipboardChain(hwnd(), reinterpret_cast<HWND>(next_viewer));
}

void MainFrame::forward_draw(WindowHandle next_viewer) {
  SendMessageW(reinterpret_cast<HWND>(next_viewer), WM_DRAWCLIPBOARD, 0, 0);
}

std::uint32_t MainFrame::clipboard_sequence() {
  return static_cast<std::uint32_t>(GetClipboardSequenceNumber());
}

void MainFrame::forward_chain_change(WindowHandle next_viewer, WindowHandle leaving,
                                           WindowHandle following) {
  SendMessageW(reinterpret_cast<HWND>(next_viewer), WM_CHANGECBCHAIN, static_cast<WPARAM>(leaving),
               static_cast<LPARAM>(following));
}

void MainFrame::on_command(int id, int code) {
  if (code == BN_CLICKED) {
    if (id == layout::ok_button) {
      settings_frame_->take_typed();
      logic_->settings_ok();
      return;
    }
    if (id == layout::cancel_button) {
      logic_->settings_cancel();
      return;
    }
    if (settings_frame_->on_option_clicked(id) || settings_frame_->on_show_clicked(id) ||
        settings_frame_->on_passphrase_clicked(id)) {
      return;
    }
  }
  switch (static_cast<MenuCommand>(id)) {
    case MenuCommand::encrypt:
    case MenuCommand::decrypt:
    case MenuCommand::settings:
    case MenuCommand::password_list:
    case MenuCommand::about:
    case MenuCommand::exit:
      if (code == 0) logic_->run(static_cast<MenuCommand>(id));
      break;
  }
}

void MainFrame::after_nc_destroy() {
  if (on_destroyed_) on_destroyed_();
}

LRESULT MainFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (taskbar_created_ != 0 && msg == taskbar_created_) {
    // The task bar was made anew (the shell restarted): the icon is gone.
    add_tray_icon();
    return 0;
  }
  switch (msg) {
    case kTrayCallbackMessage:
      // The icon's notices share their number with mouse moves; they carry
      // the icon's ID in wParam and the mouse code alone in lParam.
      if (wp == kTrayIconId && HIWORD(lp) == 0) logic_->on_tray_icon(LOWORD(lp));
      return 0;
    case WM_DRAWCLIPBOARD:
      logic_->watch().on_clipboard_changed();
      return 0;
    case WM_CHANGECBCHAIN:
      logic_->watch().on_chain_changed(static_cast<WindowHandle>(wp), static_cast<WindowHandle>(lp));
      return 0;
    case WM_COMMAND:
      on_command(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_CLOSE:
      // The close box of the visible dialog ends the program.
      unload();
      return 0;
    case WM_DESTROY:
      logic_->unload();
      return 0;
    default:
      return DefWindowProcW(hwnd(), msg, wp, lp);
  }
}

}  // namespace quiren::win32
