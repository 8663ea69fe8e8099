// Seals and opens recipient blocks and writes and reads key blocks between
// files, for cross_check.py; keys are given in hex:
//   keys_helper seal SENDER_SECRET TEXT BLOCK [RECIPIENT_PUBLIC...]
//   keys_helper open SECRET BLOCK TEXT
//   keys_helper key-block PUBLIC NAME BLOCK
//   keys_helper read-key BLOCK
//   keys_helper digits PUBLIC
// Blocks are read as received texts are (repaired, then read). Prints the
// status or outcome name, then what was read; exits 0 when sealed, opened
// or read, 1 otherwise, 2 on bad usage.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "block/ascii.h"
#include "block/decrypt_run.h"
#include "block/keys/key_block.h"
#include "block/keys/recipient_block.h"
#include "block/keys/recipient_open.h"
#include "block/keys/safety_digits.h"
#include "block/utf8.h"
#include "tests/support/helper_files.h"
#include "tests/support/hex.h"

namespace {

using namespace quiren::block;
using quiren::testing::public_key_from_hex;
using quiren::testing::secret_key_from_hex;
using quiren::testing::read_file;
using quiren::testing::to_hex;
using quiren::testing::write_file;

// The envelope of the first block of a received text, as the program reads
// it; nullopt (its problem printed) when there is none to open.
std::optional<std::vector<std::uint8_t>> first_envelope(const std::string& text) {
  const std::u16string received = utf16_from_utf8(text).value_or(widen_bytes(text));
  std::vector<BlockItem> items = read_received_blocks(received);
  if (items.empty()) {
    std::printf("no_block\n");
    return std::nullopt;
  }
  if (items.front().problem) {
    std::printf("%s\n", std::string(outcome_name(*items.front().problem)).c_str());
    return std::nullopt;
  }
  return std::move(items.front().envelope);
}

int seal_command(char** args, int count) {
  const auto text = read_file(args[1]);
  if (!text) return 2;
  std::vector<X25519PublicKey> recipients;
  for (int i = 3; i < count; ++i) recipients.push_back(public_key_from_hex(args[i]));
  const auto crypto = platform_crypto();
  const RecipientBlock written = write_recipient_block(*crypto, *text, secret_key_from_hex(args[0]), recipients, 60);
  std::printf("%s\n", quiren::testing::seal_status_name(written.status));
  if (written.status != SealStatus::sealed) return 1;
  return write_file(args[2], narrow_ascii(written.block)) ? 0 : 2;
}

int open_command(const char* secret, const char* block_path, const char* text_path) {
  const auto block = read_file(block_path);
  if (!block) return 2;
  const std::optional<std::vector<std::uint8_t>> envelope = first_envelope(*block);
  if (!envelope) return 1;
  const auto crypto = platform_crypto();
  const RecipientOpened opened = open_recipient_envelope(*crypto, *envelope, secret_key_from_hex(secret));
  std::printf("%s", std::string(outcome_name(opened.outcome)).c_str());
  if (opened.outcome != Outcome::opened) {
    std::printf("\n");
    return 1;
  }
  std::printf(" %s %llu\n", to_hex(opened.sender.public_key).c_str(),
              static_cast<unsigned long long>(opened.sender.written_at));
  return write_file(text_path, opened.text.view()) ? 0 : 2;
}

int key_block_command(const char* public_key, const char* name_path, const char* block_path) {
  const auto name = read_file(name_path);
  if (!name) return 2;
  const auto crypto = platform_crypto();
  const KeyEnvelopeWrite written = write_key_envelope(*crypto, public_key_from_hex(public_key), *name);
  if (written.envelope.empty()) {
    std::printf("refused\n");
    return 1;
  }
  std::printf("written\n");
  return write_file(block_path, narrow_ascii(frame_key_envelope(written.envelope, 60))) ? 0 : 2;
}

int read_key_command(const char* block_path) {
  const auto block = read_file(block_path);
  if (!block) return 2;
  const std::optional<std::vector<std::uint8_t>> envelope = first_envelope(*block);
  if (!envelope) return 1;
  const auto crypto = platform_crypto();
  const KeyBlockRead read = read_key_envelope(*crypto, *envelope);
  std::printf("%s", std::string(outcome_name(read.outcome)).c_str());
  if (read.outcome != Outcome::opened) {
    std::printf("\n");
    return 1;
  }
  const std::string& n = read.content.name;
  std::printf(" %s %s\n", to_hex(read.content.public_key).c_str(),
              to_hex(std::span(reinterpret_cast<const std::uint8_t*>(n.data()), n.size())).c_str());
  return 0;
}

int digits_command(const char* public_key) {
  const auto crypto = platform_crypto();
  const std::optional<std::string> digits = safety_digits(*crypto, public_key_from_hex(public_key));
  if (!digits) return 1;
  std::printf("%s\n", digits->c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "seal" && argc >= 5) return seal_command(argv + 2, argc - 2);
  if (command == "open" && argc == 5) return open_command(argv[2], argv[3], argv[4]);
  if (command == "key-block" && argc == 5) return key_block_command(argv[2], argv[3], argv[4]);
  if (command == "read-key" && argc == 3) return read_key_command(argv[2]);
  if (command == "digits" && argc == 3) return digits_command(argv[2]);
  std::fprintf(stderr, "usage: keys_helper seal|open|key-block|read-key|digits ... (see its source)\n");
  return 2;
}
