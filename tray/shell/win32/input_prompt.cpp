#include "tray/shell/win32/input_prompt.h"

#include <windows.h>

#include "tray/shell/shell_texts.h"
#include "tray/shell/win32/prompt_ids.h"
#include "tray/shell/win32/screen_metrics.h"
#include "tray/shell/win32/wide_text.h"

namespace quiren::win32 {
namespace {

struct PromptState {
  std::wstring text;
  bool done = false;
};

PromptState* state_of(HWND hwnd) {
  return reinterpret_cast<PromptState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void finish(HWND hwnd, bool accepted) {
  if (PromptState* state = state_of(hwnd)) {
    if (accepted) {
      HWND edit = GetDlgItem(hwnd, kPromptEditId);
      const int length = GetWindowTextLengthW(edit);
      std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
      const int got = GetWindowTextW(edit, text.data(), length + 1);
      text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
      state->text = std::move(text);
    }
  }
  DestroyWindow(hwnd);
}

LRESULT CALLBACK prompt_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == kPromptOkId) {
        finish(hwnd, true);
        return 0;
      }
      if (LOWORD(wparam) == kPromptCancelId) {
        finish(hwnd, false);
        return 0;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kPromptOkId, DC_HASDEFID);
    case WM_CLOSE:
      finish(hwnd, false);
      return 0;
    case WM_NCDESTROY:
      if (PromptState* state = state_of(hwnd)) state->done = true;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void register_class(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = prompt_proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kPromptClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
}

HFONT message_font() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  return nullptr;
}

HWND add_child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex_style, int id,
               RECT r, HFONT font) {
  HWND child = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (child && font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// Height of the prompt text when wrapped to `width` pixels.
int text_height(const std::wstring& text, HFONT font, int width) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  if (old) SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int line = static_cast<int>(tm.tmHeight);
  return r.bottom > line ? r.bottom : line;
}

}  // namespace

std::u16string run_input_prompt(std::u16string_view prompt, std::u16string_view title) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  register_class(instance);

  const std::wstring prompt_text = to_wide(prompt);
  const std::wstring caption = to_wide(title);
  HFONT font = message_font();
  const int dpi = screen_dpi().x;
  auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };

  // Layout in pixels at the screen's DPI: label, edit box, then the buttons
  // on the right.
  const int margin = px(11);
  const int width = px(360);
  const int inner = width - 2 * margin;
  const int label_h = text_height(prompt_text, font, inner);
  const int edit_h = px(23);
  const int button_w = px(80);
  const int button_h = px(25);
  RECT label{margin, margin, margin + inner, margin + label_h};
  RECT edit{margin, label.bottom + px(8), margin + inner, label.bottom + px(8) + edit_h};
  RECT cancel{width - margin - button_w, edit.bottom + px(12), width - margin, edit.bottom + px(12) + button_h};
  RECT ok{cancel.left - px(8) - button_w, cancel.top, cancel.left - px(8), cancel.bottom};
  const int client_h = cancel.bottom + margin;

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
  RECT outer{0, 0, width, client_h};
  AdjustWindowRectEx(&outer, style, FALSE, ex_style);
  const int outer_w = outer.right - outer.left;
  const int outer_h = outer.bottom - outer.top;
  const POINT at = centred_on_work_area(outer_w, outer_h);

  PromptState state;
  HWND hwnd = CreateWindowExW(ex_style, kPromptClass, caption.c_str(), style, at.x, at.y, outer_w, outer_h,
                              nullptr, nullptr, instance, &state);
  if (!hwnd) {
    if (font) DeleteObject(font);
    return {};
  }
  add_child(hwnd, L"STATIC", prompt_text.c_str(), SS_LEFT | SS_NOPREFIX, 0, kPromptLabelId, label, font);
  HWND edit_box = add_child(hwnd, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                            kPromptEditId, edit, font);
  add_child(hwnd, L"BUTTON", to_wide(texts::kButtonOk).c_str(), WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kPromptOkId, ok, font);
  add_child(hwnd, L"BUTTON", to_wide(texts::kButtonCancel).c_str(), WS_TABSTOP | BS_PUSHBUTTON, 0, kPromptCancelId, cancel, font);

  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
  SetFocus(edit_box);

  bool quit = false;
  WPARAM quit_code = 0;
  MSG msg;
  while (!state.done) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quit_code = msg.wParam;
      break;
    }
    if (got == -1) break;
    if (!IsDialogMessageW(hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (!state.done) {
    state.text.clear();
    DestroyWindow(hwnd);
  }
  if (font) DeleteObject(font);
  if (quit) PostQuitMessage(static_cast<int>(quit_code));
  return from_wide(state.text);
}

}  // namespace quiren::win32
