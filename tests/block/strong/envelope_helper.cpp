// Seals and opens envelopes between files, for cross_check.py:
//   strong_envelope_helper seal ITERATIONS|default TEXT PASSWORD ENVELOPE
//   strong_envelope_helper open ENVELOPE PASSWORD TEXT
// "default" seals as the program does (seal_envelope); a number seals with
// that count and a fresh random salt and nonce. Prints the status name;
// exits 0 when sealed or opened, 1 otherwise, 2 on bad usage.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "block/secure_wipe.h"
#include "block/strong/strong_envelope.h"

namespace {

using namespace quiren::block;

std::optional<std::string> read_file(const char* path) {
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

bool write_file(const char* path, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

const char* name(SealStatus s) {
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


int seal_command(const char* iterations, const char* text_path, const char* password_path,
                 const char* envelope_path) {
  const auto text = read_file(text_path);
  auto password = read_file(password_path);
  if (!text || !password) return 2;
  const auto crypto = platform_crypto();
  SealResult result;
  if (std::string(iterations) == "default") {
    result = seal_envelope(*crypto, *text, *password);
  } else {
    SealParameters p;
    p.iterations = static_cast<std::uint32_t>(std::strtoul(iterations, nullptr, 10));
    if (!crypto->random_bytes(p.salt) || !crypto->random_bytes(p.nonce)) return 1;
    result = seal_envelope_with(*crypto, *text, *password, p);
  }
  wipe(*password);
  std::printf("%s\n", name(result.status));
  if (result.status != SealStatus::sealed) return 1;
  return write_file(envelope_path, result.envelope.data(), result.envelope.size()) ? 0 : 2;
}

int open_command(const char* envelope_path, const char* password_path, const char* text_path) {
  const auto envelope = read_file(envelope_path);
  auto password = read_file(password_path);
  if (!envelope || !password) return 2;
  const auto crypto = platform_crypto();
  const OpenResult result = open_envelope(
      *crypto, std::span(reinterpret_cast<const std::uint8_t*>(envelope->data()), envelope->size()), *password);
  wipe(*password);
  std::printf("%s\n", std::string(outcome_name(result.outcome)).c_str());
  if (result.outcome != Outcome::opened) return 1;
  return write_file(text_path, result.text.data(), result.text.size()) ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "seal") return seal_command(argv[2], argv[3], argv[4], argv[5]);
  if (argc == 5 && std::string(argv[1]) == "open") return open_command(argv[2], argv[3], argv[4]);
  std::fprintf(stderr, "usage: %s seal ITERATIONS|default TEXT PASSWORD ENVELOPE\n"
                       "       %s open ENVELOPE PASSWORD TEXT\n", argv[0], argv[0]);
  return 2;
}
