// quiren: writes and reads the tray program's armoured blocks from scripts
// and on systems without the tray program, and makes passphrases.
#include "tools/quiren/run_tool.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "block/strong/crypto_provider.h"
#include "block/strong/libcrypto_start.h"
#include "tools/quiren/cli_options.h"
#include "tools/quiren/code_page.h"
#include "tools/quiren/error_output.h"
#include "tools/quiren/key_commands.h"
#include "tools/quiren/key_file_input.h"
#include "tools/quiren/linked_cipher.h"
#include "tools/quiren/notice_line.h"
#include "tools/quiren/passphrase_command.h"
#include "tools/quiren/password_input.h"
#include "tools/quiren/tool_commands.h"
#include "tools/quiren/tool_texts.h"

namespace {

using namespace quiren::tool;

void print_message(std::string_view message) { print_error_line("quiren: " + std::string(message)); }

int fail(std::string_view message) {
  print_message(message);
  return kExitBadInput;
}

// The text to encrypt is a secret: kept as one, and the chunk buffer wiped.
SecretBytes read_standard_input() {
  SecretBytes text;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(std::string_view(buffer, n));
  quiren::block::wipe(buffer, sizeof buffer);
  return text;
}

// What the terminal asks for a password or a passphrase: the prompt, the
// prompt for the second time, and what is said when the two differ.
struct TerminalQuestion {
  std::string_view prompt;
  std::string_view again;
  std::string_view differ;
};

// A password or passphrase from its file, or asked on the terminal (twice
// for what is about to seal something).
PasswordSource secret_source(const std::string& file, const TerminalQuestion& question, bool twice) {
  if (!file.empty()) return [file] { return password_from_file(file); };
  return [question, twice] {
    PasswordRead first = password_from_terminal(std::string(question.prompt));
    if (!first.ok || !twice) return first;
    PasswordRead again = password_from_terminal(std::string(question.again));
    if (!again.ok) return again;
    if (again.password != first.password) return PasswordRead{false, {}, std::string(question.differ)};
    return first;
  };
}

PasswordSource password_source(const Options& options) {
  return secret_source(options.password_file,
                       {texts::kPasswordPrompt, texts::kPasswordAgainPrompt, texts::kPasswordsDiffer},
                       options.command == Command::encrypt);
}

PasswordSource passphrase_source(const std::string& file, bool twice) {
  return secret_source(file, {texts::kKeyPassphrasePrompt, texts::kKeyPassphraseAgainPrompt,
                              texts::kKeyPassphrasesDiffer}, twice);
}

int finish(const CommandResult& result) {
  std::fwrite(result.output.data(), 1, result.output.size(), stdout);
  std::fflush(stdout);
  for (const std::string& note : result.notes) print_message(note);
  if (!result.message.empty()) print_message(result.message);
  if (!result.detail.empty()) print_message(result.detail);
  return result.exit_code;
}

// The commands of keys but decrypt, which reads a key only when the text
// holds a block for one.
CommandResult key_command(const Options& options, quiren::block::CryptoProvider& crypto) {
  const std::string name = options.name.value_or(default_key_name());
  if (options.command == Command::key_new) {
    const PasswordSource sealing =
        options.no_passphrase ? PasswordSource{} : passphrase_source(options.password_file, true);
    return key_new_command(options.out_file, name, sealing, options.width, crypto);
  }
  if (options.command == Command::key_digits) return key_digits_command(read_standard_input().view(), crypto);

  SecretBytes input;
  std::vector<RecipientFile> recipients;
  if (options.command == Command::encrypt) {
    input = read_standard_input();
    for (const std::string& path : options.to_files) {
      FileBytes file = read_key_file(path);
      if (!file.ok) return {kExitBadInput, {}, file.problem};
      recipients.push_back({path, std::string(file.bytes.view())});
    }
  }
  KeyRead key = key_from_file(options.key_file, passphrase_source(options.key_passphrase_file, false), crypto);
  if (!key.ok) return {kExitBadInput, {}, key.problem};
  if (options.command == Command::key_show) return key_show_command(*key.key, name, options.width, crypto);
  return encrypt_to_keys_command(input.view(), options.width, *key.key, recipients, crypto);
}

}  // namespace

namespace quiren::tool {

int run_tool(const std::vector<std::string>& args) {
  // Before anything reaches libcrypto: an openssl.cnf planted where it looks
  // (or named by OPENSSL_CONF) must not change what the tool does.
  if (!quiren::block::start_libcrypto()) return fail(texts::kLibcryptoNotStarted);
#if defined(_WIN32)
  // CR LF must pass through unchanged.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  // Unbuffered, so that no copy of a text stays behind in a stdio buffer;
  // the tool reads and writes in large pieces anyway.
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  Options options = parse_options(args);
  if (options.command == Command::help) {
    std::fputs(kUsage, stdout);
    return kExitDone;
  }
  if (!options.problem.empty()) return fail(options.problem);
  const bool keys = options.command == Command::key_new || options.command == Command::key_show ||
                    options.command == Command::key_digits ||
                    (options.command == Command::encrypt && !options.key_file.empty());
  if (keys) return finish(key_command(options, *quiren::block::platform_crypto()));
  if (options.command == Command::passphrase) {
    const CommandResult made = passphrase_command(
        options.kana ? quiren::block::PassphraseForm::kana : quiren::block::PassphraseForm::latin,
        *quiren::block::platform_crypto());
    std::fwrite(made.output.data(), 1, made.output.size(), stdout);
    if (!made.message.empty()) print_message(made.message);
    return made.exit_code;
  }

  std::unique_ptr<CodePage> code_page = open_code_page(options.code_page);
  if (!code_page) return fail("code page " + std::to_string(options.code_page) + " is not known to this system");
  send_notices_to(print_error_line);

  LinkedCipher cipher;
  const Ciphers ciphers{cipher, quiren::block::platform_crypto()};
  const SecretBytes input = read_standard_input();
  PasswordSource password = password_source(options);
  const BlockFormat format = options.compatible ? BlockFormat::compatible : BlockFormat::strong;
  KeySource key;
  if (!options.key_file.empty()) {
    key = [&options, crypto = ciphers.crypto] {
      return key_from_file(options.key_file, passphrase_source(options.key_passphrase_file, false), *crypto);
    };
  }
  CommandResult result = options.command == Command::encrypt
                             ? encrypt_command(input.view(), options.width, format, password, *code_page, ciphers)
                             : decrypt_command(input.view(), password, *code_page, ciphers,
                                               options.no_limit ? RoundLimit::none : RoundLimit::budget, key,
                                               options.strong_only ? quiren::block::CompatibleBlocks::refuse
                                                                   : quiren::block::CompatibleBlocks::read);
  return finish(result);
}

}  // namespace quiren::tool
