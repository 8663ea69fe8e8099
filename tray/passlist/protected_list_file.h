// quiren.pas sealed for the Windows user ("パスワードをこのユーザーだけが読める
// 形で保存する"): the marker line, then the plain file's bytes, exactly,
// sealed (tray/core/protected_text.h) and written as base64 in lines of
// kSealedLineLength characters, CR LF after every line. Since the plain
// bytes are sealed as they are, a change of form never changes the list,
// whole or damaged. An earlier version reads such a file as damaged and
// lists nothing; its save keeps the file as quiren.pas.bak first.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "block/secret.h"
#include "tray/core/desktop.h"

namespace quiren {

inline constexpr std::string_view kProtectedListMarker = "#mu-quiren protected password list 1";
inline constexpr std::size_t kSealedLineLength = 76;

// Whether the file's first line is the marker.
bool is_protected_list_file(std::string_view bytes);

// The sealed file for the plain file `plain`; nullopt when the system
// refused to seal it.
std::optional<std::string> seal_list_file(Desktop& desktop, std::string_view plain);

// The plain file a sealed one holds; nullopt when it cannot be unprotected
// here (sealed for another user or on another computer, or damaged).
std::optional<block::SecretBytes> unseal_list_file(Desktop& desktop, std::string_view sealed);

}  // namespace quiren
