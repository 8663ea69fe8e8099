// POSIX: iconv, with the code page named CP<number> (CP932, CP1252, ...).
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "tools/quiren/code_page.h"
#include "tools/quiren/utf8.h"

namespace quiren::tool {

namespace {

class IconvDirection {
 public:
  IconvDirection(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~IconvDirection() {
    if (valid()) iconv_close(cd_);
  }
  IconvDirection(const IconvDirection&) = delete;
  IconvDirection& operator=(const IconvDirection&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; on failure *stopped_at is the offset of the input
  // that could not be converted.
  bool convert(std::string_view in, std::string& out, std::size_t* stopped_at) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    std::vector<char> buffer(in.size() * 4 + 16);
    std::vector<char> input(in.begin(), in.end());
    char* in_ptr = input.data();
    std::size_t in_left = input.size();
    while (in_left > 0) {
      char* out_ptr = buffer.data();
      std::size_t out_left = buffer.size();
      std::size_t r = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
      out.append(buffer.data(), buffer.size() - out_left);
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
        *stopped_at = static_cast<std::size_t>(in_ptr - input.data());
        return false;
      }
    }
    char* out_ptr = buffer.data();
    std::size_t out_left = buffer.size();
    iconv(cd_, nullptr, nullptr, &out_ptr, &out_left);
    out.append(buffer.data(), buffer.size() - out_left);
    return true;
  }

 private:
  iconv_t cd_;
};

class IconvCodePage : public CodePage {
 public:
  explicit IconvCodePage(unsigned number)
      : number_(number),
        name_("CP" + std::to_string(number)),
        to_ansi_(name_, "UTF-8"),
        to_utf8_("UTF-8", name_) {}
  bool valid() const { return to_ansi_.valid() && to_utf8_.valid(); }

  Converted from_utf8(std::string_view utf8) override {
    Converted result;
    std::size_t at = 0;
    if (to_ansi_.convert(utf8, result.bytes, &at)) {
      result.ok = true;
      return result;
    }
    // The input is valid UTF-8 and iconv stops at a character's start.
    std::optional<std::u32string> rest = decode_utf8(utf8.substr(at));
    char32_t c = 0;
    if (rest && !rest->empty()) c = rest->front();
    result.problem = describe_char(c) + " cannot be written in code page " + std::to_string(number_);
    return result;
  }

  Converted to_utf8(std::string_view ansi) override {
    Converted result;
    std::size_t at = 0;
    if (to_utf8_.convert(ansi, result.bytes, &at)) {
      result.ok = true;
      return result;
    }
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", at < ansi.size() ? static_cast<unsigned char>(ansi[at]) : 0u);
    result.problem = std::string("byte ") + byte + " at offset " + std::to_string(at) +
                     " is not text in code page " + std::to_string(number_);
    return result;
  }

 private:
  unsigned number_;
  std::string name_;
  IconvDirection to_ansi_;
  IconvDirection to_utf8_;
};

}  // namespace

std::unique_ptr<CodePage> open_code_page(unsigned number) {
  auto page = std::make_unique<IconvCodePage>(number);
  if (!page->valid()) return nullptr;
  return page;
}

}  // namespace quiren::tool
