#include "tray/shell/win32/settings_frame.h"

#include "tray/shell/win32/settings_layout.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/edit_box.h"

namespace quiren::win32 {
namespace {

namespace layout = settings_layout;

void set_checked(HWND control, bool on) {
  SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool is_checked(HWND control) { return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

void SettingsFrame::create(HWND window, Dpi dpi, HFONT font) {
  window_ = window;
  for (const layout::Control& c : layout::kFocusable) {
    ChildArgs args{.window_class = L"BUTTON", .text = c.text, .style = WS_TABSTOP | WS_GROUP, .id = c.id,
                   .place = c.place, .font = font};
    switch (c.kind) {
      case layout::Kind::edit:
      case layout::Kind::password:
        args.window_class = L"EDIT";
        args.style |= ES_AUTOHSCROLL;
        if (c.kind == layout::Kind::password) args.style |= ES_PASSWORD;
        args.ex_style = WS_EX_CLIENTEDGE;
        break;
      case layout::Kind::option:
        // Two groups whose buttons interleave in the tab order: the form
        // keeps one of each group selected.
        args.style |= BS_RADIOBUTTON;
        break;
      case layout::Kind::check:
      case layout::Kind::captioned_check:
        args.style |= BS_AUTOCHECKBOX;
        break;
      default:
        args.style |= BS_PUSHBUTTON;
        break;
    }
    HWND control = make_child(window_, args, dpi);
    if (c.kind == layout::Kind::password) {
      // The system's mask character, for masking again after the show box.
      if (const auto mask = static_cast<wchar_t>(SendMessageW(control, EM_GETPASSWORDCHAR, 0, 0))) mask_ = mask;
    }
  }
  // Frames and labels last: made after the controls, they lie under them
  // and cannot paint over them.
  for (const layout::Control& c : layout::kStatic) {
    const bool frame = c.kind == layout::Kind::frame;
    make_child(window_,
               {.window_class = frame ? L"BUTTON" : L"STATIC", .text = c.text,
                .style = frame ? DWORD{BS_GROUPBOX | WS_CLIPSIBLINGS} : DWORD{SS_LEFT | SS_NOPREFIX}, .id = c.id,
                .place = c.place, .font = font},
               dpi);
  }
}

void SettingsFrame::show_form() {
  const SettingsControls& c = form_.controls;
  auto item = [this](int id) { return GetDlgItem(window_, id); };
  set_window_text(item(layout::wrap_width_box), c.wrap_width);
  // What the boxes held is wiped, not just replaced.
  set_secret_text(item(layout::encrypt_password_box), c.encrypt_password.view());
  set_secret_text(item(layout::decrypt_password_box), c.decrypt_password.view());
  show_passwords(c.show_passwords);
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
  set_checked(item(layout::strong_only_check), c.strong_only);
  set_checked(item(layout::passphrase_kana_check), c.passphrase_kana);
  set_checked(item(layout::start_with_windows_check), c.start_with_windows);
  set_checked(item(layout::protect_passwords_check), c.protect_passwords);
  EnableWindow(item(layout::encrypt_generate), form_.passphrase_offered());
  EnableWindow(item(layout::decrypt_generate), form_.passphrase_offered());
}

void SettingsFrame::take_typed() {
  SettingsControls& c = form_.controls;
  auto item = [this](int id) { return GetDlgItem(window_, id); };
  c.wrap_width = window_text(item(layout::wrap_width_box));
  c.encrypt_password = read_secret_text(item(layout::encrypt_password_box));
  c.decrypt_password = read_secret_text(item(layout::decrypt_password_box));
  c.watch_clipboard = is_checked(item(layout::watch_check));
  c.ask_before_encrypt = is_checked(item(layout::ask_encrypt_check));
  c.ask_before_decrypt = is_checked(item(layout::ask_decrypt_check));
  c.strong = is_checked(item(layout::strong_check));
  c.strong_only = is_checked(item(layout::strong_only_check));
  c.passphrase_kana = is_checked(item(layout::passphrase_kana_check));
  c.start_with_windows = is_checked(item(layout::start_with_windows_check));
  c.protect_passwords = is_checked(item(layout::protect_passwords_check));
}

void SettingsFrame::show_passwords(bool shown) {
  set_checked(GetDlgItem(window_, layout::show_passwords_check), shown);
  show_password_text(GetDlgItem(window_, layout::encrypt_password_box), shown, mask_);
  show_password_text(GetDlgItem(window_, layout::decrypt_password_box), shown, mask_);
}

bool SettingsFrame::on_show_clicked(int id) {
  if (id != layout::show_passwords_check) return false;
  form_.controls.show_passwords = is_checked(GetDlgItem(window_, layout::show_passwords_check));
  show_passwords(form_.controls.show_passwords);
  return true;
}

bool SettingsFrame::on_passphrase_clicked(int id) {
  switch (id) {
    case layout::strong_check:
      // The generate buttons follow the box at once.
      take_typed();
      show_form();
      return true;
    case layout::encrypt_generate:
    case layout::decrypt_generate:
      // With what the boxes hold and the form ticked beside the buttons.
      take_typed();
      if (form_.generate_passphrase(id == layout::encrypt_generate ? FixedPassword::encrypt : FixedPassword::decrypt)) {
        show_form();
      }
      return true;
    default:
      return false;
  }
}

bool SettingsFrame::on_option_clicked(int id) {
  SettingsControls& c = form_.controls;
  switch (id) {
    case layout::encrypt_fixed: c.encrypt_source = EncryptPasswordSource::fixed; break;
    case layout::encrypt_ask: c.encrypt_source = EncryptPasswordSource::ask; break;
    case layout::encrypt_list: c.encrypt_source = EncryptPasswordSource::list; break;
    case layout::decrypt_fixed: c.decrypt_source = DecryptPasswordSource::fixed; break;
    case layout::decrypt_ask: c.decrypt_source = DecryptPasswordSource::ask; break;
    case layout::decrypt_same: c.decrypt_source = DecryptPasswordSource::same_as_encrypt; break;
    case layout::decrypt_list: c.decrypt_source = DecryptPasswordSource::list; break;
    default: return false;
  }
  // Keep the typed texts while the option buttons are redrawn.
  take_typed();
  show_form();
  return true;
}

}  // namespace quiren::win32
