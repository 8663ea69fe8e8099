#include "tests/support/fake_desktop.h"

#include "tray/core/boxes.h"
#include "tray/core/password_prompt_form.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

#include "tray/core/progress_form.h"

namespace quiren::testing {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv_open ") + from + " -> " + to);
    }
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts `in`; an input unit that has no conversion becomes `replacement`
  // (the output of converting it) and is skipped, `unit` bytes at a time.
  std::string convert(std::string_view in, std::size_t unit, std::string_view replacement,
                      bool* lossless) {
    std::string out;
    char buffer[256];
    auto* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      std::size_t rc = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
        // EILSEQ or EINVAL: one unconvertible unit.
        *lossless = false;
        out.append(replacement);
        std::size_t skip = unit;
        if (unit == 2 && left >= 4) {
          // Skip a whole surrogate pair as one character.
          auto hi = static_cast<unsigned char>(src[1]);
          if (hi >= 0xD8 && hi <= 0xDB) skip = 4;
        }
        skip = std::min(skip, left);
        src += skip;
        left -= skip;
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
};

const char* iconv_name(int code_page) {
  switch (code_page) {
    case 932: return "CP932";
    case 1252: return "CP1252";
    default: throw std::invalid_argument("FakeDesktop: code page 932 or 1252");
  }
}

}  // namespace

std::u16string u16(std::string_view utf8_text) {
  bool ok = true;
  std::string bytes = Iconv("UTF-16LE", "UTF-8").convert(utf8_text, 1, "\xFD\xFF", &ok);
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

std::string utf8(std::u16string_view text) {
  bool ok = true;
  std::string_view in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return Iconv("UTF-8", "UTF-16LE").convert(in, 2, "?", &ok);
}

FakeDesktop::FakeDesktop(int cp) : code_page(cp) { iconv_name(cp); }

Answer FakeDesktop::message_box(const MessageBoxSpec& box) {
  boxes.push_back(box);
  if (on_modal) on_modal();
  if (!box_answers.empty()) {
    Answer answer = box_answers.front();
    box_answers.pop_front();
    return answer;
  }
  if (box.buttons == Buttons::ok) return Answer::ok;
  return box.second_is_default ? Answer::no : Answer::yes;
}

bool FakeDesktop::run_in_background(const std::shared_ptr<block::BackgroundJob>& job, ProgressForm& progress) {
  ++background_jobs;
  waiting_progress = &progress;
  if (while_waiting) while_waiting(progress);
  waiting_progress = nullptr;
  if (progress.cancelled()) job->abandon();
  job->run();
  return !progress.cancelled();
}

void FakeDesktop::fire_progress_timer() {
  if (waiting_progress) waiting_progress->delay_passed();
}

std::u16string FakeDesktop::input_prompt(std::u16string_view prompt, std::u16string_view title) {
  prompts.push_back({std::u16string(prompt), std::u16string(title)});
  if (on_modal) on_modal();
  if (prompt_answers.empty()) return {};
  std::u16string answer = prompt_answers.front();
  prompt_answers.pop_front();
  return answer;
}

block::SecretText FakeDesktop::password_prompt(const PasswordQuestion& question) {
  prompts.push_back({std::u16string(question.prompt), std::u16string(question.title),
                     question.confirm ? PromptKind::confirmed_password : PromptKind::password,
                     question.passphrase != nullptr});
  if (const RecipientChoice* choice = question.recipients) {
    for (std::size_t i = 0; i < choice->size(); ++i) {
      prompts.back().recipients.push_back(choice->line(i));
      prompts.back().ticked_at_open.push_back(choice->ticked(i));
    }
  }
  prompts.back().asks_password = question.asks_password;
  if (on_modal) on_modal();
  PasswordPromptForm form(question);
  if (const RecipientChoice* choice = form.recipients()) {
    if (!recipient_ticks.empty()) {
      const std::vector<std::size_t> ticks = recipient_ticks.front();
      recipient_ticks.pop_front();
      for (std::size_t i = 0; i < choice->size(); ++i) {
        form.tick_recipient(i, std::find(ticks.begin(), ticks.end(), i) != ticks.end());
      }
    }
    if (!form.password_enabled()) {
      if (cancel_recipient_prompts) {
        form.cancel();
      } else {
        form.ok(block::SecretText(), block::SecretText());
      }
      return form.take_answer();
    }
  }
  if (press_generate && form.offers_passphrase()) {
    if (std::optional<block::SecretText> generated = form.generate_passphrase()) {
      generated_passphrases.emplace_back(generated->view());
      const block::SecretText again = generated->copy();
      form.ok(std::move(*generated), again);
      return form.take_answer();
    }
    tell(*this, core::texts::kPassphraseFailed, Icon::exclamation);
  }
  while (!form.closed()) {
    if (prompt_answers.empty()) {
      form.cancel();
      break;
    }
    block::SecretText typed(prompt_answers.front());
    prompt_answers.pop_front();
    block::SecretText again = typed.copy();
    if (form.confirmation_enabled() && !confirmation_answers.empty()) {
      again = block::SecretText(confirmation_answers.front());
      confirmation_answers.pop_front();
    }
    if (form.ok(std::move(typed), again) == PasswordPromptForm::Ok::differs) {
      tell(*this, core::texts::kPasswordsDiffer, Icon::exclamation);
    }
  }
  return form.take_answer();
}

bool FakeDesktop::clipboard_has_text() { return clipboard.has_value(); }

std::u16string FakeDesktop::clipboard_text() { return clipboard.value_or(u""); }

bool FakeDesktop::clipboard_put_text(std::u16string_view text) {
  ++clipboard_writes;
  if (clipboard_write_fails) return false;
  clipboard = std::u16string(text);
  return true;
}

AnsiText FakeDesktop::to_ansi(std::u16string_view text) {
  AnsiText result;
  std::string_view in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  result.bytes = Iconv(iconv_name(code_page), "UTF-16LE").convert(in, 2, "?", &result.lossless);
  return result;
}

std::u16string FakeDesktop::from_ansi(std::string_view bytes) {
  bool ok = true;
  // U+30FB KATAKANA MIDDLE DOT would be odd; Windows gives U+30FB for bad
  // DBCS too, but a plain "?" keeps test expectations readable.
  std::string out = Iconv("UTF-16LE", iconv_name(code_page)).convert(bytes, 1, std::string("?\0", 2), &ok);
  std::u16string text(out.size() / 2, u'\0');
  std::memcpy(text.data(), out.data(), text.size() * 2);
  return text;
}

std::optional<std::u16string> FakeDesktop::read_setting(std::u16string_view key) {
  auto it = settings.find(key);
  if (it == settings.end()) return std::nullopt;
  return it->second;
}

void FakeDesktop::write_setting(std::u16string_view key, std::u16string_view value) {
  settings[std::u16string(key)] = std::u16string(value);
  settings_writes.emplace_back(key);
}

bool FakeDesktop::write_logon_entry(std::u16string_view command) {
  logon_entry_changes.push_back(u"write " + std::u16string(command));
  if (logon_entry_locked) return false;
  logon_entry = std::u16string(command);
  return true;
}

bool FakeDesktop::remove_logon_entry() {
  logon_entry_changes.emplace_back(u"remove");
  if (logon_entry_locked) return false;
  logon_entry.reset();
  return true;
}

FileRead FakeDesktop::read_plain_file(std::u16string_view path) {
  FileRead result;
  auto it = files.find(path);
  if (it == files.end()) return result;
  if (hidden_files.count(path)) {
    result.status = FileStatus::not_plain;
  } else if (unreadable_files.count(path)) {
    result.status = FileStatus::unreadable;
  } else {
    result.status = FileStatus::read;
    result.bytes = block::SecretBytes(std::string_view(it->second));
  }
  return result;
}

bool FakeDesktop::replace_file(std::u16string_view path, std::string_view bytes) {
  file_writes.emplace_back(path);
  if (file_writes_fail || hidden_files.count(path) || unreadable_files.count(path)) return false;
  files[std::u16string(path)] = std::string(bytes);
  return true;
}

NewFile FakeDesktop::write_new_file(std::u16string_view path, std::string_view bytes) {
  file_writes.emplace_back(path);
  if (files.count(path)) return NewFile::exists;
  if (file_writes_fail) return NewFile::failed;
  files[std::u16string(path)] = std::string(bytes);
  return NewFile::written;
}

std::vector<std::u16string> FakeDesktop::box_texts() const {
  std::vector<std::u16string> texts;
  for (const auto& box : boxes) texts.push_back(box.text);
  return texts;
}

}  // namespace quiren::testing

namespace quiren::testing {
namespace {

constexpr std::string_view kSealedMark = "fake-dpapi:";
constexpr char kScramble = 0x5A;

std::string scrambled(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = static_cast<char>(c ^ kScramble);
  return out;
}

}  // namespace

std::optional<std::string> FakeDesktop::protect_for_user(std::string_view plain) {
  if (protection_fails) return std::nullopt;
  return std::string(kSealedMark) + utf8(windows_user) + ":" + std::to_string(++seals) + ":" + scrambled(plain);
}

std::optional<block::SecretBytes> FakeDesktop::unprotect_for_user(std::string_view sealed) {
  if (protection_fails || !sealed.starts_with(kSealedMark)) return std::nullopt;
  sealed.remove_prefix(kSealedMark.size());
  const std::string user = utf8(windows_user) + ":";
  if (!sealed.starts_with(user)) return std::nullopt;
  sealed.remove_prefix(user.size());
  const std::size_t serial_end = sealed.find(':');
  if (serial_end == std::string_view::npos) return std::nullopt;
  return block::SecretBytes(scrambled(sealed.substr(serial_end + 1)));
}

std::optional<std::u16string> FakeDesktop::choose_file_to_save(std::u16string_view title, std::u16string_view) {
  return choose_file_to_open(title);
}

std::optional<std::u16string> FakeDesktop::choose_file_to_open(std::u16string_view title) {
  file_dialogs.emplace_back(title);
  if (chosen_files.empty()) return std::nullopt;
  std::optional<std::u16string> chosen = std::move(chosen_files.front());
  chosen_files.pop_front();
  return chosen;
}

std::optional<LocalTime> FakeDesktop::local_time(std::uint64_t utc_seconds) {
  using namespace std::chrono;
  // Far past any clock's year; the real system refuses such times too.
  if (utc_seconds > 253'402'300'799ULL) return std::nullopt;  // 9999-12-31 23:59:59
  const sys_seconds at{seconds(static_cast<std::int64_t>(utc_seconds) + utc_offset_minutes * 60LL)};
  const sys_days day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss time{at - day};
  return LocalTime{static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                   static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
                   static_cast<int>(time.minutes().count())};
}

}  // namespace quiren::testing
