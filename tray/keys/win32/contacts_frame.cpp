#include "tray/keys/win32/contacts_frame.h"

#include <array>
#include <initializer_list>
#include <string>

#include "tray/keys/key_texts.h"
#include "tray/keys/win32/key_window_ids.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/fonts.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

constexpr int kMargin = 165;
constexpr int kClientWidth = 7800;
constexpr int kInner = kClientWidth - 2 * kMargin;
constexpr int kGap = 120;
constexpr int kLineHeight = 300;
constexpr int kButtonHeight = 375;
constexpr int kDigitsPoints = 12;
constexpr int kDigitsHeight = 390;
constexpr int kListHeight = 2700;
// The list's columns (dialog units): name, digits, mark.
constexpr std::array<int, 2> kTabStops{72, 250};

struct Button {
  int id;
  std::u16string_view text;
  int width;
};

// A row of buttons from the left at `top`.
void add_button_row(HWND hwnd, int top, std::initializer_list<Button> buttons, HFONT font, Dpi dpi) {
  int left = kMargin;
  for (const Button& b : buttons) {
    make_child(hwnd, {.window_class = L"BUTTON", .text = b.text, .style = WS_TABSTOP | BS_PUSHBUTTON, .id = b.id,
                      .place = {left, top, b.width, kButtonHeight}, .font = font},
               dpi);
    left += b.width + kGap;
  }
}

}  // namespace

ContactsFrame::ContactsFrame(ProgramState& state, Desktop& desktop, block::CryptoProvider& crypto,
                             keys::KeyStore& store)
    : logic_(state, desktop, crypto, store) {}

ContactsFrame::~ContactsFrame() = default;

void ContactsFrame::show() {
  if (window_) {
    SetForegroundWindow(window_.get());
    return;
  }
  if (!window_.create(*this, {.window_class = kContactsClass, .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                              .ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                              .caption = keys::texts::kContactsTitle, .owner = hidden_owner()})) {
    return;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  HFONT font = window_.font();
  digits_font_ = make_ui_font(kDigitsPoints, dpi);
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;

  int top = kMargin;
  make_child(hwnd, {.style = kLabel, .id = kContactsMyNameId, .place = {kMargin, top, kInner, kLineHeight},
                    .font = font},
             dpi);
  top += kLineHeight;
  make_child(hwnd, {.style = kLabel, .id = kContactsMyDigitsId, .place = {kMargin, top, kInner, kDigitsHeight},
                    .font = digits_font_.get()},
             dpi);
  top += kDigitsHeight + kGap;
  add_button_row(hwnd, top,
                 {{kContactsCopyId, keys::texts::kCopyMyKey, 1900},
                  {kContactsRenameMeId, keys::texts::kRenameMe, 1300}},
                 font, dpi);
  top += kButtonHeight + kGap;
  add_button_row(hwnd, top,
                 {{kContactsExportId, keys::texts::kExportKey, 1900},
                  {kContactsImportId, keys::texts::kImportKey, 1300},
                  {kContactsBesideProgramId, keys::texts::kKeepBesideProgram, 1700}},
                 font, dpi);
  top += kButtonHeight + 2 * kGap;
  make_child(hwnd, {.style = SS_ETCHEDHORZ, .place = {kMargin, top, kInner, 30}}, dpi);
  top += 30 + kGap;
  make_child(hwnd, {.text = keys::texts::kContactsHeading, .style = kLabel, .id = kContactsHeadingId,
                    .place = {kMargin, top, kInner, kLineHeight}, .font = font},
             dpi);
  top += kLineHeight;
  HWND list = make_child(hwnd, {.window_class = L"LISTBOX",
                                .style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
                                .ex_style = WS_EX_CLIENTEDGE, .id = kContactsListId,
                                .place = {kMargin, top, kInner, kListHeight}, .font = font},
                         dpi);
  SendMessageW(list, LB_SETTABSTOPS, kTabStops.size(), reinterpret_cast<LPARAM>(kTabStops.data()));
  top += kListHeight + kGap;
  add_button_row(hwnd, top,
                 {{kContactsRenameId, keys::texts::kRename, 1300},
                  {kContactsRemoveId, keys::texts::kRemove, 900},
                  {kContactsConfirmId, keys::texts::kConfirm, 1700}},
                 font, dpi);
  make_child(hwnd, {.window_class = L"BUTTON", .text = keys::texts::kClose, .style = WS_TABSTOP | BS_PUSHBUTTON,
                    .id = kContactsCloseId, .place = {kClientWidth - kMargin - 1100, top, 1100, kButtonHeight},
                    .font = font},
             dpi);
  top += kButtonHeight + kMargin;
  size_and_centre(hwnd, kClientWidth, top, dpi);

  logic_.load();
  show_form();
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(GetDlgItem(hwnd, kContactsCopyId));
}

void ContactsFrame::show_form() {
  HWND hwnd = window_.get();
  const std::u16string name = logic_.has_key() ? logic_.my_name() : std::u16string(keys::texts::kNoKey);
  set_window_text(GetDlgItem(hwnd, kContactsMyNameId), std::u16string(keys::texts::kMyKeyHeading) + u": " + name);
  set_window_text(GetDlgItem(hwnd, kContactsMyDigitsId), logic_.my_digits());
  EnableWindow(GetDlgItem(hwnd, kContactsCopyId), logic_.has_key());
  EnableWindow(GetDlgItem(hwnd, kContactsRenameMeId), logic_.has_key());
  EnableWindow(GetDlgItem(hwnd, kContactsExportId), logic_.has_key());
  EnableWindow(GetDlgItem(hwnd, kContactsBesideProgramId), logic_.has_key());
  HWND list = GetDlgItem(hwnd, kContactsListId);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const keys::ContactLine& line : logic_.lines()) {
    const std::wstring text = to_wide(keys::contact_line_text(line));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  const std::optional<std::size_t> selected = logic_.selected();
  SendMessageW(list, LB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);
}

void ContactsFrame::on_command(int id, int code) {
  switch (id) {
    case kContactsListId:
      if (code == LBN_SELCHANGE) {
        const LRESULT index = SendMessageW(GetDlgItem(window_.get(), kContactsListId), LB_GETCURSEL, 0, 0);
        logic_.select(index == LB_ERR ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index)));
      }
      return;
    case kContactsCopyId:
      logic_.copy_my_key();
      break;
    case kContactsRenameMeId:
      logic_.rename_me();
      break;
    case kContactsExportId:
      logic_.export_key();
      break;
    case kContactsImportId:
      logic_.import_key();
      break;
    case kContactsBesideProgramId:
      logic_.keep_key_beside_program();
      break;
    case kContactsRenameId:
      logic_.rename_selected();
      break;
    case kContactsRemoveId:
      logic_.remove_selected();
      break;
    case kContactsConfirmId:
      logic_.confirm_selected();
      break;
    case kContactsCloseId:
      close();
      return;
    default:
      return;
  }
  // A box or prompt may have closed the window meanwhile (the program ending).
  if (window_) show_form();
}

LRESULT ContactsFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      on_command(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && IsWindowVisible(window_.get())) {
        logic_.load();
        show_form();
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), msg, wp, lp);
}

}  // namespace quiren::win32
