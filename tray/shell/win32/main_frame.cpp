#include "tray/shell/win32/main_frame.h"

#include <shellapi.h>

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/settings_layout.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/wide_text.h"
#include "tray/win32kit/window_class.h"

namespace quiren::win32 {
namespace {

namespace layout = settings_layout;

void set_checked(HWND control, bool on) {
  SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool is_checked(HWND control) { return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

MainFrame::MainFrame(ProgramState& state, Desktop& desktop, CipherCommands& flows, ModelessWindow& password_editor,
                     ModelessWindow& about, DecryptedTextViewer& viewer, std::function<void()> on_destroyed)
    : on_destroyed_(std::move(on_destroyed)) {
  logic_.emplace(state, desktop, *this, MainFormParts{*this, flows, password_editor, about, viewer});
}

MainFrame::~MainFrame() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (menu_) DestroyMenu(menu_);
}

bool MainFrame::open() {
  if (!register_window_class(layout::kMainWindowClass, WindowProc::of<MainFrame>, face_brush())) return false;

  dpi_ = screen_dpi();
  font_ = make_ui_font(9, dpi_);
  small_icon_ = program_icon(GetSystemMetrics(SM_CXSMICON));
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");

  const std::wstring title = to_wide(shell::texts::kSettingsTitle);
  // Fixed single border with a close box, no minimise or maximise box.
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, layout::kMainWindowClass, title.c_str(),
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                          100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  size_and_centre(hwnd_, layout::kClientWidth, layout::kClientHeight, dpi_);
  create_controls();
  create_menu();
  logic_->load();
  return true;
}

void MainFrame::create_controls() {
  for (const layout::Control& c : layout::kFocusable) {
    ChildArgs args{.window_class = L"BUTTON", .text = c.text, .style = WS_TABSTOP | WS_GROUP, .id = c.id,
                   .place = c.place, .font = font_.get()};
    switch (c.kind) {
      case layout::Kind::edit:
        args.window_class = L"EDIT";
        args.style |= ES_AUTOHSCROLL;
        args.ex_style = WS_EX_CLIENTEDGE;
        break;
      case layout::Kind::option:
        // Two groups whose buttons interleave in the tab order: the logic
        // keeps one of each group selected.
        args.style |= BS_RADIOBUTTON;
        break;
      case layout::Kind::check:
        args.style |= BS_AUTOCHECKBOX;
        break;
      default:
        args.style |= BS_PUSHBUTTON;
        break;
    }
    make_child(hwnd_, args, dpi_);
  }
  // Frames and labels last: made after the controls, they lie under them
  // and cannot paint over them.
  for (const layout::Control& c : layout::kStatic) {
    const bool frame = c.kind == layout::Kind::frame;
    make_child(hwnd_,
               {.window_class = frame ? L"BUTTON" : L"STATIC", .text = c.text,
                .style = frame ? DWORD{BS_GROUPBOX | WS_CLIPSIBLINGS} : DWORD{SS_LEFT | SS_NOPREFIX}, .id = c.id,
                .place = c.place, .font = font_.get()},
               dpi_);
  }
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
  menu_ = CreatePopupMenu();
  for (const Item& item : items) {
    const std::wstring text = to_wide(item.text);
    AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(item.id), text.c_str());
    if (item.separator_after) AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  }
}

void MainFrame::add_tray_icon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(NOTIFYICONDATAW);
  data.hWnd = hwnd_;
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
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void MainFrame::pop_up_menu() {
  POINT at{};
  GetCursorPos(&at);
  // Without the foreground the menu would not close on a click elsewhere.
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu_, 0, at.x, at.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void MainFrame::show_settings() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void MainFrame::hide_settings() { ShowWindow(hwnd_, SW_HIDE); }

void MainFrame::refresh_settings() {
  const SettingsControls& c = logic_->settings().controls;
  auto item = [this](int id) { return GetDlgItem(hwnd_, id); };
  set_window_text(item(layout::wrap_width_box), c.wrap_width);
  set_window_text(item(layout::encrypt_password_box), c.encrypt_password);
  set_window_text(item(layout::decrypt_password_box), c.decrypt_password);
  set_checked(item(layout::encrypt_fixed), c.encrypt_source == EncryptPasswordSource::fixed);
  set_checked(item(layout::encrypt_ask), c.encrypt_source == EncryptPasswordSource::ask);
  set_checked(item(layout::encrypt_list), c.encrypt_source == EncryptPasswordSource::list);
  set_checked(item(layout::decrypt_fixed), c.decrypt_source == DecryptPasswordSource::fixed);
  set_checked(item(layout::decrypt_ask), c.decrypt_source == DecryptPasswordSource::ask);
  set_checked(item(layout::decrypt_same), c.decrypt_source == DecryptPasswordSource::same_as_encrypt);
  set_checked(item(layout::decrypt_list), c.decrypt_source == DecryptPasswordSource::list);
  set_checked(item(layout::watch_check), c.watch_clipboard);
  set_checked(item(layout::ask_encrypt_check), c.ask_before_encrypt);
  set_checked(item(layout::ask_decrypt_check), c.ask_before_decrypt);
  set_checked(item(layout::strong_check), c.strong);
}

void MainFrame::pull_controls() {
  SettingsControls& c = logic_->settings().controls;
  auto item = [this](int id) { return GetDlgItem(hwnd_, id); };
  c.wrap_width = window_text(item(layout::wrap_width_box));
  c.encrypt_password = window_text(item(layout::encrypt_password_box));
  c.decrypt_password = window_text(item(layout::decrypt_password_box));
  c.watch_clipboard = is_checked(item(layout::watch_check));
  c.ask_before_encrypt = is_checked(item(layout::ask_encrypt_check));
  c.ask_before_decrypt = is_checked(item(layout::ask_decrypt_check));
  c.strong = is_checked(item(layout::strong_check));
}

void MainFrame::unload() {
  if (hwnd_) DestroyWindow(hwnd_);
}

WindowHandle MainFrame::join() {
  return reinterpret_cast<WindowHandle>(SetClipboardViewer(hwnd_));
}

void MainFrame::leave(WindowHandle next_viewer) {
  ChangeClipboardChain(hwnd_, reinterpret_cast<HWND>(next_viewer));
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
  SettingsControls& c = logic_->settings().controls;
  if (code == BN_CLICKED) {
    switch (id) {
      case layout::encrypt_fixed: c.encrypt_source = EncryptPasswordSource::fixed; break;
      case layout::encrypt_ask: c.encrypt_source = EncryptPasswordSource::ask; break;
      case layout::encrypt_list: c.encrypt_source = EncryptPasswordSource::list; break;
      case layout::decrypt_fixed: c.decrypt_source = DecryptPasswordSource::fixed; break;
      case layout::decrypt_ask: c.decrypt_source = DecryptPasswordSource::ask; break;
      case layout::decrypt_same: c.decrypt_source = DecryptPasswordSource::same_as_encrypt; break;
      case layout::decrypt_list: c.decrypt_source = DecryptPasswordSource::list; break;
      case layout::ok_button:
        pull_controls();
        logic_->settings_ok();
        return;
      case layout::cancel_button:
        logic_->settings_cancel();
        return;
      default:
        break;
    }
    if (id >= layout::encrypt_fixed && id <= layout::decrypt_list) {
      // Keep the typed texts while the option buttons are redrawn.
      pull_controls();
      refresh_settings();
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
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace quiren::win32
