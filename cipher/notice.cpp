#include "cipher/notice.h"

#include <string>
#include <utility>

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#else
#  include <cstdio>
#endif

namespace quiren::cipher {

namespace {

NoticeSink& installed_sink() {
  static NoticeSink sink;
  return sink;
}

#if defined(_WIN32)
std::wstring widen(std::string_view bytes, UINT code_page) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), n);
  return wide;
}

void platform_notice(std::string_view caption, std::string_view text, NoticeText encoding) {
  const std::wstring wide_caption = widen(caption, CP_UTF8);
  const std::wstring wide_text = widen(text, encoding == NoticeText::utf8 ? CP_UTF8 : CP_ACP);
  MessageBoxW(nullptr, wide_text.c_str(), wide_caption.c_str(), MB_TOPMOST);
}
#else
void platform_notice(std::string_view caption, std::string_view text, NoticeText) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
}
#endif

}  // namespace

void show_notice(std::string_view caption, std::string_view text, NoticeText encoding) {
  if (const NoticeSink& sink = installed_sink()) {
    sink(caption, text, encoding);
    return;
  }
  platform_notice(caption, text, encoding);
}

void set_notice_sink(NoticeSink sink) { installed_sink() = std::move(sink); }

}  // namespace quiren::cipher
