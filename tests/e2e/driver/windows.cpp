#include "tests/e2e/driver/driver.h"

#include "tray/core/win32/prompt_ids.h"

namespace quiren::e2e {
namespace {

// WM_GETTEXT with a timeout, so a hung window cannot stop the driver.
std::wstring text_of(HWND window) {
  if (!window) return {};
  const auto length_now = [window](DWORD_PTR& length) {
    return SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) != 0;
  };
  // A text the window changes between the two calls (a field wiped, then
  // filled) would come cut to the earlier length: read again until the
  // length stays, a few times at most.
  std::wstring text;
  for (int tries = 0; tries < 5; ++tries) {
    DWORD_PTR length = 0;
    if (!length_now(length)) return {};
    text.assign(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &got)) {
      return {};
    }
    // A window that went away in between may answer anything (Wine has been
    // seen to give -1): keep only what the buffer can hold.
    text.resize(got < text.size() ? static_cast<std::size_t>(got) : 0);
    DWORD_PTR after = 0;
    if (!length_now(after) || after == length) break;
  }
  return text;
}

std::wstring class_of(HWND window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<std::size_t>(n > 0 ? n : 0));
}

struct Search {
  std::wstring_view class_name;
  std::wstring_view caption;
  DWORD pid;
  HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window)) return TRUE;
  if (search->pid != 0) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid) return TRUE;
  }
  if (!search->class_name.empty() && class_of(window) != search->class_name) return TRUE;
  if (!search->caption.empty() && text_of(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND find_window(std::wstring_view class_name, std::wstring_view caption, DWORD pid) {
  Search search{class_name, caption, pid, nullptr};
  EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND wait_for_window(std::wstring_view class_name, std::wstring_view caption, DWORD pid, Millis timeout) {
  HWND found = nullptr;
  wait_until([&] { return (found = find_window(class_name, caption, pid)) != nullptr; }, timeout);
  return found;
}

bool wait_until_gone(HWND window, Millis timeout) {
  return wait_until([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

HWND wait_for_message_box(std::wstring_view caption, DWORD pid, Millis timeout) {
  return wait_for_window(kMessageBoxClass, caption, pid, timeout);
}

std::wstring message_box_text(HWND box) { return text_of(GetDlgItem(box, 0xFFFF)); }

std::vector<int> message_box_buttons(HWND box) {
  std::vector<int> buttons;
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) buttons.push_back(id);
  }
  return buttons;
}

std::wstring window_text(HWND window) { return text_of(window); }

std::wstring control_text(HWND window, int id) { return text_of(GetDlgItem(window, id)); }

bool has_control(HWND window, int id) { return GetDlgItem(window, id) != nullptr; }

bool set_control_text(HWND window, int id, std::wstring_view text) {
  HWND control = GetDlgItem(window, id);
  if (!control) return false;
  const std::wstring copy(text);
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), SMTO_ABORTIFHUNG,
                             5000, &result) != 0 &&
         result != 0;
}

bool press_button(HWND window, int id) {
  HWND button = GetDlgItem(window, id);
  if (!button) return false;
  return PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

LONG control_style(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  return control ? GetWindowLongW(control, GWL_STYLE) : 0;
}

std::vector<std::wstring> list_box_lines(HWND window, int id) {
  HWND list = GetDlgItem(window, id);
  std::vector<std::wstring> lines;
  DWORD_PTR count = 0;
  if (!list || !SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return lines;
  // A line that went between two calls (the window refilled or shortened
  // its list meanwhile) answers LB_ERR: the lines read so far are returned,
  // and the caller, which polls, reads again.
  const auto failed = [](DWORD_PTR answer) { return static_cast<LRESULT>(answer) == LB_ERR; };
  for (int i = 0; i < static_cast<int>(count); ++i) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG, 5000, &length) ||
        failed(length)) {
      break;
    }
    // LB_GETTEXT copies across processes only what fits the driver's buffer.
    std::wstring line(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()),
                             SMTO_ABORTIFHUNG, 5000, &got) ||
        failed(got)) {
      break;
    }
    line.resize(got <= length ? static_cast<std::size_t>(got) : 0);
    lines.push_back(line);
  }
  return lines;
}

HWND find_prompt(std::wstring_view caption, DWORD pid) {
  if (HWND password = find_window(win32::kPasswordPromptClass, caption, pid)) return password;
  return find_window(win32::kPromptClass, caption, pid);
}

HWND wait_for_prompt(std::wstring_view caption, DWORD pid, Millis timeout) {
  HWND prompt = nullptr;
  wait_until([&] { return (prompt = find_prompt(caption, pid)) != nullptr; }, timeout);
  return prompt;
}

HWND wait_for_password_prompt(std::wstring_view caption, DWORD pid, Millis timeout) {
  return wait_for_window(win32::kPasswordPromptClass, caption, pid, timeout);
}

std::wstring prompt_label(HWND prompt) { return control_text(prompt, win32::kPromptLabelId); }

HWND expect_prompt(DWORD pid, std::wstring_view caption, std::u16string_view label, Millis timeout,
                   std::source_location where) {
  const std::wstring asked(label.begin(), label.end());
  HWND prompt = nullptr;
  wait_until([&] { return (prompt = find_prompt(caption, pid)) != nullptr && prompt_label(prompt) == asked; },
             timeout);
  const bool found = prompt != nullptr && prompt_label(prompt) == asked;
  check(found, "prompt asks: " + utf8(asked), where);
  return found ? prompt : nullptr;
}

bool answer_prompt(HWND prompt, std::wstring_view text, bool ok) {
  return answer_password_prompt(prompt, text, text, ok);
}

bool answer_password_prompt(HWND prompt, std::wstring_view password, std::wstring_view confirmation, bool ok) {
  if (!set_control_text(prompt, win32::kPromptEditId, password)) return false;
  HWND again = GetDlgItem(prompt, win32::kPromptConfirmEditId);
  if (again && IsWindowEnabled(again) && !set_control_text(prompt, win32::kPromptConfirmEditId, confirmation)) {
    return false;
  }
  return press_button(prompt, ok ? win32::kPromptOkId : win32::kPromptCancelId);
}

bool click_control(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  return control && PostMessageW(control, BM_CLICK, 0, 0) != 0;
}

HWND expect_message_box(std::wstring_view caption, DWORD pid, std::wstring_view text, std::string_view what,
                        Millis timeout, std::source_location where) {
  HWND box = wait_for_message_box(caption, pid, timeout);
  if (!check(box != nullptr, std::string(what) + ": box shown", where)) return nullptr;
  check_equal(message_box_text(box), text, what, where);
  return box;
}

bool answer_message_box(HWND box, int button, Millis timeout) {
  if (!box) return false;
  press_button(box, button);
  return wait_until_gone(box, timeout);
}

}  // namespace quiren::e2e
