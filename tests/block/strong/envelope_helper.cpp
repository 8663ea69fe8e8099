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
#include "tests/support/helper_files.h"

namespace {

using namespace quiren::block;
using quiren::testing::read_file;
using quiren::testing::write_file;

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
  std::printf("%s\n", quiren::testing::seal_status_name(result.status));
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
