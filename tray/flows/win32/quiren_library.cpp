#include "tray/flows/win32/quiren_library.h"

#include <cstring>
#include <utility>

#include "tray/core/win32/process_info.h"
#include "tray/win32kit/wide_text.h"

namespace quiren::win32 {
namespace {

// A copy with a NUL after it, for the library's C strings.
block::SecretBytes terminated(std::string_view text) {
  block::SecretBytes copy;
  copy.reserve(text.size() + 1);
  copy.append(text);
  copy.push_back('\0');
  return copy;
}

template <typename Fn>
Fn export_named(HMODULE module, const char* name) {
  // FARPROC to the export's real type: the usual GetProcAddress idiom.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

QuirenLibrary::QuirenLibrary(std::u16string directory) : directory_(std::move(directory)) {}

QuirenLibrary::QuirenLibrary() : QuirenLibrary(directory_of(program_file_path())) {}

QuirenLibrary::~QuirenLibrary() = default;

bool QuirenLibrary::bind() {
  if (module_) return true;
  std::wstring path = to_wide(directory_);
  if (path.empty()) return false;
  if (path.back() != L'\\') path.push_back(L'\\');
  path += L"quiren.dll";
  ScopedModule module(
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!module) return false;
  auto encrypt = export_named<EncryptFn>(module.get(), "wakaranakusuru");
  auto decrypt = export_named<DecryptFn>(module.get(), "wakaruyounisuru");
  auto release = export_named<ReleaseFn>(module.get(), "quiren_release");
  if (!encrypt || !decrypt || !release) return false;
  module_ = std::move(module);
  encrypt_ = encrypt;
  decrypt_ = decrypt;
  release_ = release;
  return true;
}

block::SecretBytes QuirenLibrary::take_result(char* result) {
  if (!result) return {};
  const std::size_t length = std::strlen(result);
  block::SecretBytes text(std::string_view(result, length));
  // Results hold passwords and plain texts.
  SecureZeroMemory(result, length);
  release_(result);
  return text;
}

std::optional<std::string> QuirenLibrary::encrypt(std::string_view text, std::string_view password) {
  if (!bind()) return std::nullopt;
  // The library takes C strings; the copies hold the text and the password.
  const block::SecretBytes t = terminated(text), p = terminated(password);
  return std::string(take_result(encrypt_(t.data(), p.data())).view());
}

std::optional<block::SecretBytes> QuirenLibrary::decrypt(std::string_view body, std::string_view password,
                                                         std::string_view mode) {
  if (!bind()) return std::nullopt;
  const block::SecretBytes b = terminated(body), p = terminated(password), m = terminated(mode);
  return take_result(decrypt_(b.data(), p.data(), m.data()));
}

}  // namespace quiren::win32
