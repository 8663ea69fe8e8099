// libcrypto started as the tray program and the tool start it ignores a
// configuration file planted where libcrypto looks: the folder fixed when it
// was built, and the file OPENSSL_CONF names. Controls first: the same probe,
// started the way libcrypto starts unless told not to, fails to make a key
// with either file, so the last step shows something.
#include <windows.h>

#include <openssl/conf.h>
#include <openssl/crypto.h>

#include <cstdio>
#include <string>

#include "tests/e2e/driver/driver.h"

namespace {

using namespace quiren::e2e;

// libcrypto_probe's exit codes (tests/libcrypto/libcrypto_probe.cpp).
constexpr long long kAllRight = 0;
constexpr long long kKeyGenerationFailed = 3;

// The file libcrypto reads when OPENSSL_CONF is not set.
std::wstring built_in_config_file() {
  char* path = CONF_get1_default_config_file();
  const std::wstring file = path ? wide(path) : std::wstring();
  OPENSSL_free(path);
  return file;
}

// Makes the folder and those above it.
bool make_directories(const std::wstring& path) {
  for (std::size_t at = path.find_first_of(L"/\\", 3); at != std::wstring::npos;
       at = path.find_first_of(L"/\\", at + 1)) {
    if (!make_directory(path.substr(0, at))) return false;
  }
  return make_directory(path);
}

// The probe's exit code, or -1 when it did not start or end.
long long run_probe(const wchar_t* mode) {
  Process probe(driver_directory() + L"\\libcrypto_probe.exe", {mode});
  if (!probe.started()) return -1;
  const std::optional<DWORD> code = probe.wait(60s);
  return code ? static_cast<long long>(*code) : -1;
}

}  // namespace

int wmain() {
  const std::optional<std::string> planted = read_file_bytes(driver_directory() + L"\\planted-openssl.cnf");
  if (!check(planted.has_value(), "planted-openssl.cnf beside the driver")) return exit_code();

  step("where libcrypto looks when OPENSSL_CONF is not set");
  SetEnvironmentVariableW(L"OPENSSL_CONF", nullptr);
  const std::wstring built_in = built_in_config_file();
  std::printf("   %s\n", utf8(built_in).c_str());
  // A path without a drive would mean the current drive's root, where
  // ordinary users may create folders; Program Files takes administrators.
  check(built_in.starts_with(L"C:/Program Files/"), "the built-in folder is under C:/Program Files");
  const std::wstring folder = built_in.substr(0, built_in.find_last_of(L"/\\"));
  if (!check(make_directories(folder) && write_file_bytes(built_in, *planted), "planted in the built-in folder")) {
    return exit_code();
  }

  step("control: a start that reads its configuration file finds the one in the built-in folder");
  check_equal(run_probe(L"loading-config"), kKeyGenerationFailed, "key generation fails");

  step("control: the same with the file OPENSSL_CONF names");
  check(delete_file(built_in), "the built-in folder's file removed");
  const std::wstring named = driver_directory() + L"\\planted\\openssl.cnf";
  check(make_directory(driver_directory() + L"\\planted") && write_file_bytes(named, *planted), "planted elsewhere");
  SetEnvironmentVariableW(L"OPENSSL_CONF", named.c_str());
  check_equal(run_probe(L"loading-config"), kKeyGenerationFailed, "key generation fails");

  step("the programs' start, with both files in place: known answers");
  check(write_file_bytes(built_in, *planted), "planted in the built-in folder again");
  check_equal(run_probe(L"as-the-program"), kAllRight, "X25519 and HKDF give the known answers");
  return exit_code();
}
