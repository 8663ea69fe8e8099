// Windows: MultiByteToWideChar / WideCharToMultiByte, with best-fit mapping
// off and the default-character flag checked, so a lossy conversion is
// refused rather than written as "?".
#include <windows.h>

#include <cstdio>

#include "tools/quiren/code_page.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {

namespace {

std::wstring widen_utf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  }
  return wide;
}

class WindowsCodePage : public CodePage {
 public:
  explicit WindowsCodePage(unsigned number) : number_(number) {}

  Converted from_utf8(std::string_view utf8) override {
    Converted result;
    std::wstring wide = widen_utf8(utf8);
    if (narrow(wide, result.bytes)) {
      result.ok = true;
      return result;
    }
    // Find the first character that does not convert, to name it.
    char32_t refused = 0;
    std::optional<std::u32string> chars = decode_utf8(utf8);
    if (chars) {
      for (char32_t c : *chars) {
        std::string one;
        append_utf8(one, c);
        std::string ignored;
        if (!narrow(widen_utf8(one), ignored)) {
          refused = c;
          break;
        }
      }
    }
    result.problem = describe_char(refused) + " cannot be written in code page " + std::to_string(number_);
    return result;
  }

  Converted to_utf8(std::string_view ansi) override {
    Converted result;
    if (ansi.empty()) {
      result.ok = true;
      return result;
    }
    int length = static_cast<int>(ansi.size());
    int n = MultiByteToWideChar(number_, MB_ERR_INVALID_CHARS, ansi.data(), length, nullptr, 0);
    if (n <= 0) {
      result.problem = "the text is not valid in code page " + std::to_string(number_);
      return result;
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(number_, MB_ERR_INVALID_CHARS, ansi.data(), length, wide.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    result.bytes.assign(static_cast<std::size_t>(m > 0 ? m : 0), '\0');
    if (m > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, result.bytes.data(), m, nullptr, nullptr);
    result.ok = true;
    return result;
  }

 private:
  // True when every character of `wide` has its own form in the code page.
  bool narrow(const std::wstring& wide, std::string& out) const {
    out.clear();
    if (wide.empty()) return true;
    // These code pages take neither flag nor default-character report.
    bool utf = number_ == CP_UTF8 || number_ == CP_UTF7;
    DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    LPBOOL used = utf ? nullptr : &used_default;
    int length = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(number_, flags, wide.data(), length, nullptr, 0, nullptr, used);
    if (n <= 0 || used_default) return false;
    out.assign(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(number_, flags, wide.data(), length, out.data(), n, nullptr, used);
    return !used_default;
  }

  unsigned number_;
};

}  // namespace

std::unique_ptr<CodePage> open_code_page(unsigned number) {
  CPINFO info;
  if (!GetCPInfo(number, &info)) return nullptr;
  return std::make_unique<WindowsCodePage>(number);
}

}  // namespace quiren::tool
