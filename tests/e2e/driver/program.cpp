#include <windows.h>

#include <vector>

#include "block/block_rules.h"
#include "block/word_lists.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_block.h"
#include "tests/support/quick_crypto.h"
#include "tests/e2e/driver/driver.h"
#include "tray/core/shared_texts.h"
#include "tray/core/win32/registry_settings.h"
#include "tray/flows/flow_texts.h"
#include "tray/flows/viewer_form.h"
#include "tray/flows/win32/viewer_frame.h"
#include "tray/shell/main_form.h"
#include "tray/shell/win32/settings_layout.h"

namespace quiren::e2e {

const std::wstring kAppTitle = wide(core::texts::kAppTitle);
const std::wstring kViewerClass = win32::ViewerFrame::kClassName;
const std::wstring kViewerCaption = wide(ViewerForm::kCaption);
static_assert(kViewerTextId == win32::ViewerFrame::kTextBoxId);
static_assert(kViewerStatusId == win32::ViewerFrame::kStatusLineId);

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

HWND main_window() { return FindWindowW(win32::settings_layout::kMainWindowClass, nullptr); }

HWND ready_main_window(Millis timeout) {
  HWND main = nullptr;
  if (!wait_until([&] { return (main = main_window()) != nullptr && GetClipboardViewer() == main; }, timeout)) {
    return nullptr;
  }
  // Idle means waiting for input with nothing queued, which the program
  // first is after its start-up, not while it waits on another window.
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return nullptr;
  const DWORD idle = WaitForInputIdle(process, static_cast<DWORD>(timeout.count()));
  CloseHandle(process);
  return idle == 0 ? main : nullptr;
}

void menu(HWND main, MenuCommand command) {
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
}

std::wstring settings_key() { return win32::settings_key_path(); }

std::optional<std::wstring> stored_setting(std::wstring_view name) {
  return read_user_registry_string(settings_key(), name);
}

bool store_setting(std::wstring_view name, std::wstring_view value) {
  const std::wstring key = settings_key();
  const std::wstring value_name(name);
  const std::wstring text(value);
  return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value_name.c_str(), REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool clear_stored_settings() { return delete_user_registry_tree(win32::application_key_path()); }

HWND expect_box(DWORD pid, std::u16string_view text, std::string_view what, Millis timeout,
                std::source_location where) {
  return expect_message_box(kAppTitle, pid, wide(text), what, timeout, where);
}

bool answer(HWND box, int button, Millis timeout) { return answer_message_box(box, button, timeout); }

bool no_box_for_a_while(DWORD pid, Millis how_long) {
  return !wait_until([&] { return find_window(kMessageBoxClass, kAppTitle, pid) != nullptr; }, how_long);
}

std::wstring slow_strong_block(std::uint32_t rounds) {
  testing::QuickCrypto one_round;
  block::SealParameters parameters;
  parameters.iterations = rounds;
  if (!one_round.random_bytes(parameters.salt) || !one_round.random_bytes(parameters.nonce)) return {};
  const block::SealResult sealed = block::seal_envelope_with(one_round, "slow", "pw", parameters);
  return wide(block::frame_strong_envelope(sealed.envelope, block::kDefaultWrap));
}

std::wstring block_mode_letter(std::wstring_view text) {
  const std::wstring head = wide(block::kStartMarker) + wide(block::kLineBreak);
  const std::size_t at = text.find(head);
  if (at == std::wstring_view::npos || at + head.size() >= text.size()) return {};
  return std::wstring(text.substr(at + head.size(), 1));
}

bool is_generated_passphrase(std::wstring_view text, bool kana) {
  const block::WordList& list = kana ? block::kKanaWords : block::kLatinWords;
  const std::u16string whole(text.begin(), text.end());
  const std::u16string_view rest(whole);
  const std::size_t most = list.per_passphrase;
  // ends[n]: where a split of the text's beginning into n list words, joined
  // by the separator, can end.
  std::vector<std::vector<bool>> ends(most + 1, std::vector<bool>(whole.size() + 1, false));
  ends[0][0] = true;
  for (std::size_t n = 0; n < most; ++n) {
    for (std::size_t at = 0; at <= whole.size(); ++at) {
      if (!ends[n][at]) continue;
      std::size_t start = at;
      if (n > 0) {
        if (rest.substr(at, list.separator.size()) != list.separator) continue;
        start += list.separator.size();
      }
      for (const std::u16string_view word : list.words) {
        if (rest.substr(start, word.size()) == word) ends[n + 1][start + word.size()] = true;
      }
    }
  }
  return ends[most][whole.size()];
}

std::optional<ViewerShown> open_unasked(DWORD pid, std::wstring_view clip, std::wstring_view picture) {
  set_clipboard_text(clip);
  answer(expect_box(pid, flows::texts::kAskDecrypt, "decrypt question"), IDYES);
  HWND viewer = nullptr;
  wait_until([&] {
    viewer = find_window(kViewerClass, kViewerCaption, pid);
    return viewer || find_prompt(kAppTitle, pid);
  });
  check(find_prompt(kAppTitle, pid) == nullptr, "no password prompt for a block to the program's key");
  if (!check(viewer != nullptr, "viewer appears")) return std::nullopt;
  ViewerShown shown;
  wait_until([&] { return !(shown.text = control_text(viewer, kViewerTextId)).empty(); });
  shown.status = control_text(viewer, kViewerStatusId);
  if (!picture.empty()) guide_picture(viewer, picture);
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  check(wait_until_gone(viewer), "viewer closes");
  return shown;
}

}  // namespace quiren::e2e
