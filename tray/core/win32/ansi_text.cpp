#include "tray/core/win32/ansi_text.h"

#include <windows.h>

#include <climits>

#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {

std::u16string from_ansi_text(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int in = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), in, nullptr, 0);
  if (units <= 0) return {};
  std::wstring out(static_cast<std::size_t>(units), L'\0');
  const int got = MultiByteToWideChar(CP_ACP, 0, bytes.data(), in, out.data(), units);
  out.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return from_wide(out);
}

AnsiText to_ansi_text(std::u16string_view text) {
  AnsiText result;
  if (text.empty()) return result;
  if (text.size() > INT_MAX / 4) {
    result.lossless = false;
    return result;
  }
  const std::wstring wide = to_wide(text);
  const int in = static_cast<int>(wide.size());
  // The UTF-8 code page takes neither the flag nor the used-default report.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used_default_out = utf8 ? nullptr : &used_default;
  const int bytes = WideCharToMultiByte(CP_ACP, flags, wide.data(), in, nullptr, 0, nullptr, used_default_out);
  if (bytes <= 0) {
    result.lossless = false;
    return result;
  }
  result.bytes.assign(static_cast<std::size_t>(bytes), '\0');
  used_default = FALSE;
  const int got = WideCharToMultiByte(CP_ACP, flags, wide.data(), in, result.bytes.data(), bytes, nullptr,
                                      used_default_out);
  result.bytes.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  // The round trip also catches what the report misses (lone surrogates in
  // UTF-8, characters a code page maps to a different one).
  result.lossless = got > 0 && !used_default && from_ansi_text(result.bytes) == text;
  return result;
}

}  // namespace quiren::win32
