#include "tray/core/win32/password_prompt.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <utility>

#include "tray/core/password_prompt_form.h"
#include "tray/core/shared_texts.h"
#include "tray/core/win32/message_box.h"
#include "tray/core/win32/prompt_ids.h"
#include "tray/core/win32/prompt_window.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/edit_box.h"
#include "tray/win32kit/owned_window.h"
#include "tray/win32kit/thread_messages.h"

namespace quiren::win32 {
namespace {

namespace layout = prompt_window;

// The prompt window; its logic is PasswordPromptForm. Whatever way it
// closes, both fields are wiped before they go.
class PasswordPromptFrame {
 public:
  explicit PasswordPromptFrame(PasswordPromptForm& form) : form_(form) {}

  bool open();
  bool done() const { return !window_; }
  // Closes it as Cancel does.
  void cancel() {
    form_.cancel();
    window_.destroy();
  }

 private:
  friend class quiren::win32::WindowProc;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void ok();
  void generate();
  void show_form();
  HWND item(int id) const { return GetDlgItem(window_.get(), id); }

  PasswordPromptForm& form_;
  wchar_t mask_ = L'*';
  OwnedWindow window_;
};

bool PasswordPromptFrame::open() {
  if (!window_.create(*this, {.window_class = kPasswordPromptClass, .style = layout::kStyle,
                              .ex_style = layout::kExStyle, .caption = form_.title(),
                              .font_points = layout::kFontPoints})) {
    return false;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  HFONT font = window_.font();

  const ChildArgs field{.window_class = L"EDIT", .style = WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
                        .ex_style = WS_EX_CLIENTEDGE, .font = font};
  int top = layout::kMargin;
  HWND focus = nullptr;
  // "宛先を選ぶ" and the contacts' boxes, from `top` down.
  const auto add_recipients = [&](const RecipientChoice& recipients) {
    make_child(hwnd, {.text = core::texts::kChooseRecipients, .style = SS_LEFT | SS_NOPREFIX,
                       .id = kPromptRecipientsLabelId,
                       .place = {layout::kMargin, top, layout::kInner, layout::kCheckHeight}, .font = font}, dpi);
    top += layout::kCheckHeight;
    for (std::size_t i = 0; i < recipients.size(); ++i) {
      const int column = static_cast<int>(i % layout::kRecipientColumns);
      const int row_top = top + static_cast<int>(i / layout::kRecipientColumns) * layout::kCheckHeight;
      HWND box = make_child(hwnd, {.window_class = L"BUTTON", .text = recipients.line(i),
                                   .style = WS_TABSTOP | BS_AUTOCHECKBOX,
                                   .id = kPromptRecipientFirstId + static_cast<int>(i),
                                   .place = {layout::kMargin + column * (layout::kRecipientWidth + layout::kGap),
                                             row_top, layout::kRecipientWidth, layout::kCheckHeight},
                                   .font = font}, dpi);
      SendMessageW(box, BM_SETCHECK, recipients.ticked(i) ? BST_CHECKED : BST_UNCHECKED, 0);
      if (!focus) focus = box;
    }
    const auto rows = static_cast<int>((recipients.size() + layout::kRecipientColumns - 1) / layout::kRecipientColumns);
    top += rows * layout::kCheckHeight + layout::kGap;
  };
  const RecipientChoice* recipients = form_.recipients();
  // Above the password fields, the people: the prompt's text then labels
  // the field right under it. A prompt without password fields says first
  // what choosing nobody does.
  if (recipients && form_.asks_password()) add_recipients(*recipients);
  const int label_height = layout::label_height(form_.prompt(), font, dpi, layout::kInner);
  make_child(hwnd, {.text = form_.prompt(), .style = SS_LEFT | SS_NOPREFIX, .id = kPromptLabelId,
                     .place = {layout::kMargin, top, layout::kInner, label_height}, .font = font}, dpi);
  top += label_height + layout::kGap;
  if (recipients && !form_.asks_password()) add_recipients(*recipients);
  if (!form_.asks_password()) {
    const int client_height = layout::add_buttons(hwnd, top + layout::kButtonGap - layout::kGap, font, dpi);
    show_form();
    layout::show(hwnd, client_height, dpi, focus);
    return true;
  }

  ChildArgs password = field;
  password.id = kPromptEditId;
  password.place = {layout::kMargin, top, layout::kInner, layout::kEditHeight};
  HWND password_box = make_child(hwnd, password, dpi);
  top += layout::kEditHeight + layout::kGap;

  if (form_.asks_confirmation()) {
    const int again_height = layout::label_height(core::texts::kConfirmPassword, font, dpi, layout::kInner);
    make_child(hwnd, {.text = core::texts::kConfirmPassword, .style = SS_LEFT | SS_NOPREFIX,
                       .id = kPromptConfirmLabelId, .place = {layout::kMargin, top, layout::kInner, again_height},
                       .font = font}, dpi);
    top += again_height + layout::kGap;
    ChildArgs again = field;
    again.id = kPromptConfirmEditId;
    again.place = {layout::kMargin, top, layout::kInner, layout::kEditHeight};
    make_child(hwnd, again, dpi);
    top += layout::kEditHeight + layout::kGap;
  }

  make_child(hwnd, {.window_class = L"BUTTON", .text = core::texts::kShowPassword,
                     .style = WS_TABSTOP | BS_AUTOCHECKBOX, .id = kPromptShowCheckId,
                     .place = {layout::kMargin, top, layout::kInner, layout::kCheckHeight}, .font = font}, dpi);
  top += layout::kCheckHeight;

  if (form_.offers_passphrase()) {
    top += layout::kGap;
    make_child(hwnd, {.window_class = L"BUTTON", .text = core::texts::kGeneratePassphrase,
                       .style = WS_TABSTOP | BS_PUSHBUTTON, .id = kPromptGenerateId,
                       .place = {layout::kMargin, top, layout::kGenerateWidth, layout::kButtonHeight}, .font = font},
               dpi);
    const int check_top = top + (layout::kButtonHeight - layout::kCheckHeight) / 2;
    HWND kana = make_child(hwnd, {.window_class = L"BUTTON", .text = core::texts::kPassphraseInKana,
                                  .style = WS_TABSTOP | BS_AUTOCHECKBOX, .id = kPromptKanaCheckId,
                                  .place = {layout::kMargin + layout::kGenerateWidth + layout::kGap, check_top,
                                            layout::kKanaCheckWidth, layout::kCheckHeight},
                                  .font = font}, dpi);
    SendMessageW(kana, BM_SETCHECK, form_.passphrase_kana() ? BST_CHECKED : BST_UNCHECKED, 0);
    top += layout::kButtonHeight;
  }

  // The character the system masks with (a dot with visual styles, "*"
  // without), for masking again after the show box.
  if (const auto mask = static_cast<wchar_t>(SendMessageW(password_box, EM_GETPASSWORDCHAR, 0, 0))) mask_ = mask;
  const int client_height = layout::add_buttons(hwnd, top + layout::kButtonGap, font, dpi);
  show_form();
  // A remembered choice of people: the password is off, the list has it.
  layout::show(hwnd, client_height, dpi, form_.password_enabled() || !focus ? password_box : focus);
  return true;
}

void PasswordPromptFrame::show_form() {
  HWND password_box = item(kPromptEditId);
  if (!password_box) return;  // a prompt for the choice of people alone
  const bool shown = form_.password_shown();
  SendMessageW(item(kPromptShowCheckId), BM_SETCHECK, shown ? BST_CHECKED : BST_UNCHECKED, 0);
  show_password_text(password_box, shown, mask_);
  const bool password = form_.password_enabled();
  EnableWindow(password_box, password);
  // Here the prompt's text labels the password field (the people come
  // above it), so it greys with the field.
  EnableWindow(item(kPromptLabelId), password);
  EnableWindow(item(kPromptShowCheckId), password);
  if (HWND generate = item(kPromptGenerateId)) {
    EnableWindow(generate, password);
    EnableWindow(item(kPromptKanaCheckId), password);
  }
  if (HWND again = item(kPromptConfirmEditId)) {
    EnableWindow(again, form_.confirmation_enabled());
    EnableWindow(item(kPromptConfirmLabelId), form_.confirmation_enabled());
  }
}

void PasswordPromptFrame::ok() {
  HWND password_box = item(kPromptEditId);
  HWND again = item(kPromptConfirmEditId);
  const block::SecretText confirmation = again ? read_secret_text(again) : block::SecretText();
  block::SecretText typed = password_box ? read_secret_text(password_box) : block::SecretText();
  if (form_.ok(std::move(typed), confirmation) == PasswordPromptForm::Ok::differs) {
    // Owned by the prompt, so nothing in it can be pressed meanwhile.
    show_message_box(window_.get(), {std::u16string(core::texts::kPasswordsDiffer), Buttons::ok, Icon::exclamation});
    wipe_edit_box(password_box);
    wipe_edit_box(again);
    SetFocus(password_box);
    return;
  }
  window_.destroy();
}

void PasswordPromptFrame::generate() {
  const std::optional<block::SecretText> passphrase = form_.generate_passphrase();
  if (!passphrase) {
    // Owned by the prompt, so nothing in it can be pressed meanwhile.
    show_message_box(window_.get(), {std::u16string(core::texts::kPassphraseFailed), Buttons::ok, Icon::exclamation});
    return;
  }
  // What the fields held is wiped, not just replaced.
  set_secret_text(item(kPromptEditId), passphrase->view());
  if (HWND again = item(kPromptConfirmEditId)) set_secret_text(again, passphrase->view());
  show_form();
}

LRESULT PasswordPromptFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kPromptOkId:
          ok();
          return 0;
        case kPromptCancelId:
          cancel();
          return 0;
        case kPromptShowCheckId:
          if (HIWORD(wp) == BN_CLICKED) {
            form_.show_password(SendMessageW(item(kPromptShowCheckId), BM_GETCHECK, 0, 0) == BST_CHECKED);
            show_form();
          }
          return 0;
        case kPromptGenerateId:
          if (HIWORD(wp) == BN_CLICKED) generate();
          return 0;
        case kPromptKanaCheckId:
          if (HIWORD(wp) == BN_CLICKED) {
            form_.choose_passphrase_kana(SendMessageW(item(kPromptKanaCheckId), BM_GETCHECK, 0, 0) == BST_CHECKED);
          }
          return 0;
        default:
          if (const RecipientChoice* recipients = form_.recipients(); recipients && HIWORD(wp) == BN_CLICKED) {
            const int id = LOWORD(wp);
            if (id >= kPromptRecipientFirstId &&
                static_cast<std::size_t>(id - kPromptRecipientFirstId) < recipients->size()) {
              form_.tick_recipient(static_cast<std::size_t>(id - kPromptRecipientFirstId),
                                   SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED);
              show_form();
              return 0;
            }
          }
          break;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kPromptOkId, DC_HASDEFID);
    case WM_CLOSE:
      cancel();
      return 0;
    case WM_DESTROY:
      // The children still exist here, whatever closed the window.
      wipe_edit_box(item(kPromptEditId));
      wipe_edit_box(item(kPromptConfirmEditId));
      break;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), msg, wp, lp);
}

}  // namespace

block::SecretText run_password_prompt(const PasswordQuestion& question) {
  PasswordPromptForm form(question);
  PasswordPromptFrame frame(form);
  if (!frame.open()) return {};
  run_modal_until([&frame] { return frame.done(); }, [&frame] { frame.cancel(); });
  return form.take_answer();
}

}  // namespace quiren::win32
