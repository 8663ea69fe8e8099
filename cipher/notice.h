// The library's notices about damaged input. Every notice goes through
// show_notice(): a message box on Windows, standard error elsewhere, or the
// sink a test installs.
#pragma once

#include <functional>
#include <string_view>

namespace quiren::cipher {

// The notices' own texts, UTF-8.
inline constexpr std::string_view kBadLengthCaption = "quiren.dll";
inline constexpr std::string_view kBadLengthText = "暗号文が異常です";
inline constexpr std::string_view kBadCharacterCaption = "Error";

enum class NoticeText {
  utf8,  // one of the library's own texts
  ansi,  // bytes taken from the caller's input, in the ANSI code page
};

// caption is always UTF-8; text is encoded as `encoding` says.
void show_notice(std::string_view caption, std::string_view text, NoticeText encoding);

// Replaces the platform's notices with `sink` (an empty function restores
// them). The sink receives the bytes and their encoding as given to
// show_notice: the "Error" notice's text is the offending byte itself. Not
// synchronised: set it before any cipher call runs.
using NoticeSink = std::function<void(std::string_view caption, std::string_view text, NoticeText encoding)>;
void set_notice_sink(NoticeSink sink);

}  // namespace quiren::cipher
