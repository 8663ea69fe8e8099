// quiren.dll bound at run time: loaded at the first cipher call from the
// program's own folder by full path (never through the search path, so a
// quiren.dll in the current folder is not picked up), exports found by name.
#pragma once

#include <windows.h>

#include <string>

#include "block/cipher_library.h"
#include "tray/win32kit/owned_handle.h"

namespace quiren::win32 {

class QuirenLibrary : public block::CipherLibrary {
 public:
  // `directory`: the folder holding quiren.dll (normally the program's).
  explicit QuirenLibrary(std::u16string directory);
  // The program's own folder.
  QuirenLibrary();
  ~QuirenLibrary() override;
  QuirenLibrary(const QuirenLibrary&) = delete;
  QuirenLibrary& operator=(const QuirenLibrary&) = delete;

  // nullopt when the library or an export is missing. A failed load is
  // tried again at the next call, so restoring the file needs no restart.
  std::optional<std::string> encrypt(std::string_view text, std::string_view password) override;
  std::optional<block::SecretBytes> decrypt(std::string_view body, std::string_view password,
                                            std::string_view mode) override;

 private:
  using EncryptFn = char*(__stdcall*)(const char*, const char*);
  using DecryptFn = char*(__stdcall*)(const char*, const char*, const char*);
  using ReleaseFn = void(__stdcall*)(char*);

  bool bind();
  // The result up to its first NUL, the library's copy wiped and given back.
  block::SecretBytes take_result(char* result);

  std::u16string directory_;
  ScopedModule module_;
  EncryptFn encrypt_ = nullptr;
  DecryptFn decrypt_ = nullptr;
  ReleaseFn release_ = nullptr;
};

}  // namespace quiren::win32
