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
  logic_->Form_Load();
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
      {MenuCommand::mnuango, shell::texts::kMenuAngo, false},
      {MenuCommand::mnuhukugo, shell::texts::kMenuHukugo, true},
      {MenuCommand::mnusettei, shell::texts::kMenuSettei, false},
      {MenuCommand::mnupassword, shell::texts::kMenuPassword, true},
      {MenuCommand::mnuversion, shell::texts::kMenuVersion, true},
      {MenuCommand::mnuend, shell::texts::kMenuEnd, false},
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

void MainFrame::show_dialog() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void MainFrame::hide_dialog() { ShowWindow(hwnd_, SW_HIDE); }

void MainFrame::refresh_controls() {
  const SettingsControls& c = logic_->dialog().controls;
  auto item = [this](int id) { return GetDlgItem(hwnd_, id); };
  set_window_text(item(layout::txtorikaesi), c.txtorikaesi);
  set_window_text(item(layout::txtpass1), c.txtpass1);
  set_window_text(item(layout::txtpass2), c.txtpass2);
  set_checked(item(layout::option1_fixed), c.option1 == AngoChoice::fixed);
  set_checked(item(layout::option1_ask), c.option1 == AngoChoice::ask);
  set_checked(item(layout::option1_list), c.option1 == AngoChoice::list);
  set_checked(item(layout::option2_fixed), c.option2 == HukugoChoice::fixed);
  set_checked(item(layout::option2_ask), c.option2 == HukugoChoice::ask);
  set_checked(item(layout::option2_equal), c.option2 == HukugoChoice::equalpass);
  set_checked(item(layout::option2_list), c.option2 == HukugoChoice::list);
  set_checked(item(layout::check1), c.check1);
  set_checked(item(layout::chkquestango), c.chkquestango);
  set_checked(item(layout::chkquesthukugo), c.chkquesthukugo);
  set_checked(item(layout::chkstrong), c.chkstrong);
}

void MainFrame::pull_controls() {
  SettingsControls& c = logic_->dialog().controls;
  auto item = [this](int id) { return GetDlgItem(hwnd_, id); };
  c.txtorikaesi = window_text(item(layout::txtorikaesi));
  c.txtpass1 = window_text(item(layout::txtpass1));
  c.txtpass2 = window_text(item(layout::txtpass2));
  c.check1 = is_checked(item(layout::check1));
  c.chkquestango = is_checked(item(layout::chkquestango));
  c.chkquesthukugo = is_checked(item(layout::chkquesthukugo));
  c.chkstrong = is_checked(item(layout::chkstrong));
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
  SettingsControls& c = logic_->dialog().controls;
  if (code == BN_CLICKED) {
    switch (id) {
      case layout::option1_fixed: c.option1 = AngoChoice::fixed; break;
      case layout::option1_ask: c.option1 = AngoChoice::ask; break;
      case layout::option1_list: c.option1 = AngoChoice::list; break;
      case layout::option2_fixed: c.option2 = HukugoChoice::fixed; break;
      case layout::option2_ask: c.option2 = HukugoChoice::ask; break;
      case layout::option2_equal: c.option2 = HukugoChoice::equalpass; break;
      case layout::option2_list: c.option2 = HukugoChoice::list; break;
      case layout::command1:
        pull_controls();
        logic_->Command1_Click();
        return;
      case layout::command2:
        logic_->Command2_Click();
        return;
      default:
        break;
    }
    if (id >= layout::option1_fixed && id <= layout::option2_list) {
      // Keep the typed texts while the option buttons are redrawn.
      pull_controls();
      refresh_controls();
      return;
    }
  }
  switch (static_cast<MenuCommand>(id)) {
    case MenuCommand::mnuango:
    case MenuCommand::mnuhukugo:
    case MenuCommand::mnusettei:
    case MenuCommand::mnupassword:
    case MenuCommand::mnuversion:
    case MenuCommand::mnuend:
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
      if (wp == kTrayIconId && HIWORD(lp) == 0) logic_->Form_MouseMove(LOWORD(lp));
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
      logic_->Form_Unload();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace quiren::win32
