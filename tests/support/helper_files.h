// What the cross-check helpers (small programs a Python script drives) share:
// whole files read and written, and a seal status by its name.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "block/strong/strong_envelope.h"

namespace quiren::testing {

inline std::optional<std::string> read_file(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
}

inline bool write_file(const char* path, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

inline bool write_file(const char* path, std::string_view bytes) {
  return write_file(path, bytes.data(), bytes.size());
}

inline const char* seal_status_name(block::SealStatus s) {
  using block::SealStatus;
  switch (s) {
    case SealStatus::sealed: return "sealed";
    case SealStatus::random_unavailable: return "random_unavailable";
    case SealStatus::text_not_utf8: return "text_not_utf8";
    case SealStatus::text_too_long: return "text_too_long";
    case SealStatus::crypto_failed: return "crypto_failed";
    case SealStatus::recipient_count: return "recipient_count";
    case SealStatus::recipient_key_refused: return "recipient_key_refused";
  }
  return "?";
}

}  // namespace quiren::testing
