#include "tools/quiren/cli_options.h"

#include <charconv>

#include "block/block_rules.h"

namespace quiren::tool {

const char* const kUsage =
    "usage: quiren encrypt [-w WIDTH] [--compatible [--codepage N]] [--password-file FILE]\n"
    "       quiren encrypt [-w WIDTH] --key FILE [--key-passphrase-file F] --to KEYFILE [--to KEYFILE...]\n"
    "       quiren decrypt [--codepage N] [--password-file FILE] [--no-limit] [--strong-only]\n"
    "                      [--key FILE [--key-passphrase-file F]]\n"
    "       quiren key new [--name NAME] [-w WIDTH] --out FILE [--no-passphrase | --password-file F]\n"
    "       quiren key show [--name NAME] [-w WIDTH] --key FILE [--key-passphrase-file F]\n"
    "       quiren key digits\n"
    "       quiren passphrase [--kana]\n"
    "\n"
    "encrypt  reads a text on standard input and writes its armoured block, as the\n"
    "         tray program writes it: CR LF line breaks, no line break after\n"
    "         (quiren_end). -w sets the wrap width, 10 to 100 (default 60).\n"
    "         The block is a strong one (AES-256-GCM under a key derived from the\n"
    "         password): only this version and later ones read it. --compatible\n"
    "         writes the earlier version's block instead, which that version reads\n"
    "         but which gives the password away to anyone who can guess how the\n"
    "         text begins, and cannot show that it was changed (a line on\n"
    "         standard error says so).\n"
    "decrypt  reads a text holding one or more blocks of any kind and writes\n"
    "         their plain texts, joined by a separator line. Line breaks may be\n"
    "         CR LF, LF or CR; quote prefixes such as \"> \" before the block's\n"
    "         lines are removed. A block whose password check fails, or a strong\n"
    "         block that was changed, gives a text saying so in its place and a\n"
    "         line on standard error (\"block 2 of 3: wrong password, or the block\n"
    "         was changed on the way\"); so does every compatible block read\n"
    "         (\"compatible block: cannot detect changes\"). Strong blocks whose\n"
    "         key derivations add up to more than 30,000,000 rounds (about fifty\n"
    "         blocks; one takes a quarter of a second or more) are refused unless\n"
    "         --no-limit is given.\n"
    "         --strong-only refuses every compatible block unread, since it\n"
    "         cannot show whether it was changed: a line on standard error for\n"
    "         each (\"block 1 of 3: compatible block refused: ...\"), no text for\n"
    "         it, exit status 2; the other blocks' texts are still written.\n"
    "         With --key, blocks written to your key open with it, without a\n"
    "         password (which is asked only when the text holds password blocks\n"
    "         too); a line on standard error names each one's sender by the\n"
    "         safety digits of their key and the time written, by the sender's\n"
    "         clock (\"block 1 of 2: from 97452 31774 64868 54053 48266 91028,\n"
    "         written 2026-12-11 09:30 UTC\"), or says \"not addressed to this key,\n"
    "         or changed\".\n"
    "encrypt --key FILE --to KEYFILE\n"
    "         writes a block for people's keys instead of a password: each\n"
    "         KEYFILE holds one key block, as received (quoted in a mail, say);\n"
    "         the block opens with the secret key of each of them, and of yours\n"
    "         (the writer can always read what they wrote), and names your key\n"
    "         as its sender. At most 64 keys, yours included.\n"
    "key new  makes a key pair: the secret key goes to a new file FILE, readable\n"
    "         by you alone (mode 0600), never over an existing one; the key block,\n"
    "         your public key to send people, is written on standard output, and\n"
    "         your safety digits on standard error. The secret key is sealed as a\n"
    "         strong block under a passphrase asked twice on the terminal (or read\n"
    "         from --password-file F), or kept as one bare line with\n"
    "         --no-passphrase. The key block carries NAME, or your login name\n"
    "         (USER or LOGNAME; USERNAME on Windows) when it is one a key block\n"
    "         takes: at most 64 bytes, no control character or direction mark.\n"
    "key show writes your key block again, and your safety digits.\n"
    "key digits\n"
    "         reads key blocks on standard input as received and writes each\n"
    "         one's name and safety digits. Compare the digits with the key's\n"
    "         holder by phone or in person once before you encrypt to it: anyone\n"
    "         can write a key block with any name.\n"
    "passphrase\n"
    "         writes a new passphrase and a line break, as the tray program's\n"
    "         \"generate\" button makes it: six words of the EFF large list joined\n"
    "         by \"-\" (77.5 bits), or with --kana seven words of the Japanese\n"
    "         BIP-39 list joined by the ideographic space U+3000 (77 bits), drawn\n"
    "         with the system's cryptographic random source. It is meant for\n"
    "         strong blocks: most are longer than the 30 characters a compatible\n"
    "         block takes. It reads nothing.\n"
    "\n"
    "Standard input and output are UTF-8. A strong block carries the text as it\n"
    "is, in any script. A compatible block carries it in an ANSI code page, 932 by\n"
    "default (Japanese Windows systems); use --codepage 1252 for western ones. A\n"
    "character the code page cannot hold is refused.\n"
    "\n"
    "The password is asked on the terminal without echo (twice when encrypting),\n"
    "or read from the first line of --password-file FILE, a regular file whose\n"
    "first line is at most 4096 bytes (a UTF-8 byte order mark before it and the\n"
    "CR of a CR LF after it are not part of it). It is never taken from the\n"
    "command line. Encryption refuses an empty password and one longer than 128\n"
    "characters, 30 for a compatible block. A strong block's key comes from the\n"
    "password in Unicode normalisation form C: the same characters, precomposed or\n"
    "not, are the same password.\n"
    "\n"
    "A key FILE (--key) holds your secret key as key new wrote it, bare or\n"
    "sealed; it is read as received (a byte order mark, CR LF line breaks, a\n"
    "sealed block quoted in a mail). The passphrase of a sealed one is asked on\n"
    "the terminal, or read from the first line of --key-passphrase-file F.\n"
    "\n"
    "Exit status:\n"
    "  0  done: every block opened\n"
    "  1  no block opened: the password is wrong for every one\n"
    "  2  bad input or usage (a one-line message on standard error; for a damaged\n"
    "     block, a second line says where, counting lines and characters in\n"
    "     standard input); with --strong-only, a compatible block refused\n"
    "  3  some blocks opened and some did not (a line for each that did not)\n";

namespace {

bool parse_number(const std::string& s, long& value) {
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, value);
  return ec == std::errc() && ptr == end && !s.empty();
}

bool is_key_command(Command command) {
  return command == Command::key_new || command == Command::key_show || command == Command::key_digits;
}

// What the options of keys allow, by command; empty when the line is good.
std::string key_option_problem(const Options& o, bool width_given, bool code_page_given) {
  const bool encrypt = o.command == Command::encrypt;
  const bool decrypt = o.command == Command::decrypt;
  if (!o.key_file.empty() && !encrypt && !decrypt && o.command != Command::key_show) {
    return "--key applies to encrypt, decrypt and key show";
  }
  if (!o.key_passphrase_file.empty() && o.key_file.empty()) return "--key-passphrase-file applies with --key only";
  if (!o.to_files.empty() && !encrypt) return "--to applies to encrypt only";
  if (encrypt && o.key_file.empty() != o.to_files.empty()) {
    return "encrypting to people's keys takes your key (--key FILE) and theirs (--to KEYFILE)";
  }
  if (encrypt && !o.key_file.empty() && (o.compatible || !o.password_file.empty())) {
    return "a block for people's keys takes no password: --compatible and --password-file do not apply";
  }
  if (o.name && o.command != Command::key_new && o.command != Command::key_show) {
    return "--name applies to key new and key show";
  }
  if (!o.out_file.empty() && o.command != Command::key_new) return "--out applies to key new only";
  if (o.no_passphrase && o.command != Command::key_new) return "--no-passphrase applies to key new only";
  if (!is_key_command(o.command)) return {};
  if (o.compatible || o.no_limit || o.kana || code_page_given) {
    return "key takes none of --compatible, --no-limit, --kana and --codepage";
  }
  switch (o.command) {
    case Command::key_new:
      if (o.out_file.empty()) return "key new needs --out FILE, where your secret key goes";
      if (o.no_passphrase && !o.password_file.empty()) return "--no-passphrase and --password-file exclude each other";
      break;
    case Command::key_show:
      if (o.key_file.empty()) return "key show needs --key FILE, your secret key";
      if (!o.password_file.empty()) return "key show reads the key's passphrase with --key-passphrase-file";
      break;
    default:  // key digits
      if (width_given || !o.password_file.empty()) return "key digits takes no options";
      break;
  }
  return {};
}

}  // namespace

Options parse_options(const std::vector<std::string>& args) {
  Options options;
  bool width_given = false;
  bool code_page_given = false;
  auto bad = [&](std::string problem) {
    options.problem = std::move(problem);
    return options;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      options.command = Command::help;
      return options;
    }
    if (arg == "encrypt" || arg == "decrypt" || arg == "passphrase" || arg == "key") {
      if (options.command != Command::none) return bad("only one command may be given");
      if (arg == "key") {
        std::string what;
        if (!value(what)) return bad("key needs what to do: new, show or digits");
        if (what == "new") options.command = Command::key_new;
        else if (what == "show") options.command = Command::key_show;
        else if (what == "digits") options.command = Command::key_digits;
        else return bad("key needs what to do: new, show or digits, not " + what);
        continue;
      }
      options.command = arg == "encrypt"   ? Command::encrypt
                        : arg == "decrypt" ? Command::decrypt
                                           : Command::passphrase;
    } else if (arg == "--key" || arg == "--key-passphrase-file" || arg == "--out" || arg == "--to") {
      std::string file;
      if (!value(file) || file.empty()) return bad(arg + " needs a file name");
      if (arg == "--to") {
        options.to_files.push_back(std::move(file));
      } else {
        std::string& field = arg == "--key"   ? options.key_file
                             : arg == "--out" ? options.out_file
                                              : options.key_passphrase_file;
        field = std::move(file);
      }
    } else if (arg == "--name") {
      std::string name;
      if (!value(name)) return bad("--name needs a name");
      options.name = std::move(name);
    } else if (arg == "--no-passphrase") {
      options.no_passphrase = true;
    } else if (arg == "-w" || arg == "--width") {
      std::string text;
      long width = 0;
      if (!value(text) || !parse_number(text, width) || width < block::kNarrowestWrap || width > block::kWidestWrap) {
        return bad("the wrap width must be a number from 10 to 100");
      }
      options.width = static_cast<int>(width);
      width_given = true;
    } else if (arg == "--compatible") {
      options.compatible = true;
    } else if (arg == "--no-limit") {
      options.no_limit = true;
    } else if (arg == "--strong-only") {
      options.strong_only = true;
    } else if (arg == "--kana") {
      options.kana = true;
    } else if (arg == "--password-file") {
      if (!value(options.password_file) || options.password_file.empty()) {
        return bad("--password-file needs a file name");
      }
    } else if (arg == "--codepage") {
      std::string text;
      long number = 0;
      if (!value(text) || !parse_number(text, number) || number <= 0 || number > 65535) {
        return bad("--codepage needs a code page number such as 932 or 1252");
      }
      options.code_page = static_cast<unsigned>(number);
      code_page_given = true;
    } else if (arg == "--password" || arg == "-p" || arg.rfind("--password=", 0) == 0) {
      return bad("passwords are never taken from the command line: use --password-file FILE or the terminal");
    } else {
      return bad("unknown argument: " + arg);
    }
  }
  if (options.command == Command::none) {
    return bad("give a command: encrypt, decrypt, key or passphrase (see --help)");
  }
  if (const std::string problem = key_option_problem(options, width_given, code_page_given); !problem.empty()) {
    return bad(problem);
  }
  if (options.kana && options.command != Command::passphrase) return bad("--kana applies to passphrase only");
  if (options.command == Command::passphrase &&
      (width_given || options.compatible || options.no_limit || options.strong_only ||
       !options.password_file.empty() || code_page_given)) {
    return bad("passphrase takes no other option than --kana");
  }
  if (width_given && options.command == Command::decrypt) return bad("-w applies to encrypt, key new and key show");
  if (options.no_limit && options.command == Command::encrypt) return bad("--no-limit applies to decrypt only");
  if (options.strong_only && options.command == Command::encrypt) {
    return bad("--strong-only applies to decrypt only: encrypt writes a strong block unless --compatible is given");
  }
  if (options.compatible && options.command == Command::decrypt) {
    return bad("--compatible applies to encrypt only: decrypt reads both kinds of block");
  }
  return options;
}

}  // namespace quiren::tool
