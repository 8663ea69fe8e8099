#include "tray/shell/win32/about_frame.h"

#include <string>

#include "tray/shell/shell_texts.h"
#include "tray/win32kit/controls.h"
#include "tray/win32kit/fonts.h"

namespace quiren::win32 {
namespace {

constexpr int kClientWidth = 7200;
constexpr int kClientHeight = 5040;
// The word lists' credits: three lines in the buttons' smaller type, under
// the credits, the OK button under them.
constexpr TwipsRect kWordListCredits{240, 3600, 6720, 720};
constexpr TwipsRect kOkButton{5700, 4440, 1260, 375};

}  // namespace

AboutFrame::AboutFrame(ProgramState& state) : logic_(state) {}

AboutFrame::~AboutFrame() = default;

void AboutFrame::show() {
  if (window_) {
    SetForegroundWindow(window_.get());
    return;
  }
  if (!window_.create(*this, {.window_class = kAboutClass, .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                              .ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                              .caption = shell::texts::kAboutTitle, .owner = hidden_owner(), .font_points = 12})) {
    return;
  }
  HWND hwnd = window_.get();
  const Dpi dpi = window_.dpi();
  HFONT font = window_.font();
  if (!button_font_) button_font_ = make_ui_font(9, dpi);
  size_and_centre(hwnd, kClientWidth, kClientHeight, dpi);

  logic_.open();
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
  // OK first: it takes the focus and the tab order starts there.
  HWND ok = make_child(hwnd, {.window_class = L"BUTTON", .text = shell::texts::kButtonOk,
                              .style = WS_TABSTOP | BS_DEFPUSHBUTTON, .id = IDOK, .place = kOkButton,
                              .font = button_font_.get()}, dpi);
  HWND icon = make_child(hwnd, {.style = SS_ICON, .id = kAboutIconId, .place = {240, 240, 480, 480}}, dpi);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(program_icon(32)), 0);
  make_child(hwnd, {.text = logic_.title, .style = kLabel, .id = kAboutTitleId, .place = {1050, 240, 5000, 360},
                    .font = font}, dpi);
  make_child(hwnd, {.text = shell::texts::kAboutRelease, .style = kLabel, .id = kAboutReleaseId,
                    .place = {1050, 620, 5000, 360}, .font = font}, dpi);
  make_child(hwnd, {.text = shell::texts::kAboutAuthor, .style = kLabel, .id = kAboutAuthorId,
                    .place = {1050, 1080, 5000, 360}, .font = font}, dpi);
  make_child(hwnd, {.text = shell::texts::kAboutContact, .style = kLabel, .id = kAboutContactId,
                    .place = {1050, 1500, 5000, 720}, .font = font}, dpi);
  make_child(hwnd, {.text = shell::texts::kAboutStrong, .style = kLabel, .id = kAboutStrongId,
                    .place = {240, 2340, 6720, 360}, .font = font}, dpi);
  make_child(hwnd, {.style = SS_ETCHEDHORZ, .place = {240, 2760, 6720, 30}}, dpi);
  make_child(hwnd, {.text = shell::texts::kAboutCredits, .style = kLabel, .id = kAboutCreditsId,
                    .place = {240, 2940, 6720, 600}, .font = font}, dpi);
  make_child(hwnd, {.text = shell::texts::kAboutWordListCredits, .style = kLabel, .id = kAboutWordListCreditsId,
                    .place = kWordListCredits, .font = button_font_.get()}, dpi);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(ok);
}

void AboutFrame::close() { window_.destroy(); }

LRESULT AboutFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // OK, Enter (IDOK) and Escape (IDCANCEL) all close the window.
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) close();
      return 0;
    case WM_DESTROY:
      logic_.close();
      return 0;
    default:
      return DefWindowProcW(window_.get(), msg, wp, lp);
  }
}

}  // namespace quiren::win32
