#include "tray/shell/start_with_windows.h"

#include <algorithm>
#include <optional>

#include "block/filled_text.h"
#include "tray/core/boxes.h"
#include "tray/shell/shell_texts.h"

namespace quiren {
namespace {

char16_t ascii_lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// The path an entry starts: without blanks around it and one pair of quotes.
std::u16string_view started_path(std::u16string_view command) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!command.empty() && blank(command.front())) command.remove_prefix(1);
  while (!command.empty() && blank(command.back())) command.remove_suffix(1);
  if (command.size() >= 2 && command.front() == u'"' && command.back() == u'"') {
    command = command.substr(1, command.size() - 2);
  }
  return command;
}

bool same_path(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return ascii_lower(x) == ascii_lower(y); });
}

LogonEntry classify(const std::optional<std::u16string>& entry, std::u16string_view program_path) {
  if (!entry) return LogonEntry::none;
  return same_path(started_path(*entry), program_path) ? LogonEntry::this_program : LogonEntry::elsewhere;
}

}  // namespace

std::u16string logon_command(std::u16string_view program_path) {
  std::u16string command;
  command.reserve(program_path.size() + 2);
  command.push_back(u'"');
  command.append(program_path);
  command.push_back(u'"');
  return command;
}

LogonEntry find_logon_entry(Desktop& desktop) { return classify(desktop.read_logon_entry(), desktop.program_path()); }

bool set_start_with_windows(Desktop& desktop, bool start) {
  if (start) {
    const std::u16string command = logon_command(desktop.program_path());
    return desktop.read_logon_entry() == command || desktop.write_logon_entry(command);
  }
  return find_logon_entry(desktop) != LogonEntry::this_program || desktop.remove_logon_entry();
}

void offer_logon_entry_update(Desktop& desktop) {
  const std::optional<std::u16string> entry = desktop.read_logon_entry();
  const std::u16string program = desktop.program_path();
  if (classify(entry, program) != LogonEntry::elsewhere) return;
  const std::u16string question = block::filled(
      shell::texts::kLogonEntryElsewhere, {{"entry", std::u16string(started_path(*entry))}, {"program", program}});
  if (ask(desktop, question) != Answer::yes) return;
  if (!desktop.write_logon_entry(logon_command(program))) tell(desktop, shell::texts::kLogonEntryNotWritten, Icon::critical);
}

}  // namespace quiren
