#include "tray/flows/win32/quiren_library.h"

#include <cstring>

#include "tray/core/win32/process_info.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

template <typename Fn>
Fn export_named(HMODULE module, const char* name) {
  // FARPROC to the export's real type: the usual GetProcAddress idiom.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

QuirenLibrary::QuirenLibrary(std::u16string directory) : directory_(std::move(directory)) {}

QuirenLibrary::QuirenLibrary() : QuirenLibrary(directory_of(program_file_path())) {}

QuirenLibrary::~QuirenLibrary() {
  if (module_) FreeLibrary(module_);
}

bool QuirenLibrary::bind() {
  if (module_) return true;
  std::wstring path = to_wide(directory_);
  if (path.empty()) return false;
  if (path.back() != L'\\') path.push_back(L'\\');
  path += L"quiren.dll";
  HMODULE module =
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return false;
  auto encrypt = export_named<EncryptFn>(module, "wakaranakusuru");
  auto decrypt = export_named<DecryptFn>(module, "wakaruyounisuru");
  auto release = export_named<ReleaseFn>(module, "quiren_release");
  if (!encrypt || !decrypt || !release) {
    FreeLibrary(module);
    return false;
  }
  module_ = module;
  encrypt_ = encrypt;
  decrypt_ = decrypt;
  release_ = release;
  return true;
}

std::string QuirenLibrary::take_result(char* result) {
  if (!result) return {};
  const std::size_t length = std::strlen(result);
  std::string text(result, length);  // up to the first NUL
  // Results hold passwords and plain texts.
  SecureZeroMemory(result, length);
  release_(result);
  return text;
}

std::optional<std::string> QuirenLibrary::encrypt(std::string_view text, std::string_view password) {
  if (!bind()) return std::nullopt;
  const std::string t(text), p(password);
  return take_result(encrypt_(t.c_str(), p.c_str()));
}

std::optional<std::string> QuirenLibrary::decrypt(std::string_view body, std::string_view password,
                                                  std::string_view mode) {
  if (!bind()) return std::nullopt;
  const std::string b(body), p(password), m(mode);
  return take_result(decrypt_(b.c_str(), p.c_str(), m.c_str()));
}

}  // namespace quiren::win32
