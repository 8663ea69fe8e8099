#include "tray/passlist/protected_list_file.h"

#include "tray/core/protected_text.h"

namespace quiren {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

bool is_protected_list_file(std::string_view bytes) {
  if (!bytes.starts_with(kProtectedListMarker)) return false;
  const std::string_view rest = bytes.substr(kProtectedListMarker.size());
  return rest.empty() || rest.starts_with(kLineEnd) || rest.starts_with('\n');
}

std::optional<std::string> seal_list_file(Desktop& desktop, std::string_view plain) {
  const std::optional<std::string> text = protected_text(desktop, plain);
  if (!text) return std::nullopt;
  std::string file(kProtectedListMarker);
  file += kLineEnd;
  for (std::size_t at = 0; at < text->size(); at += kSealedLineLength) {
    file += std::string_view(*text).substr(at, kSealedLineLength);
    file += kLineEnd;
  }
  return file;
}

std::optional<block::SecretBytes> unseal_list_file(Desktop& desktop, std::string_view sealed) {
  if (!is_protected_list_file(sealed)) return std::nullopt;
  // The lines after the marker joined, line ends (and nothing else) left out.
  std::string text;
  for (const char c : sealed.substr(kProtectedListMarker.size())) {
    if (c != '\r' && c != '\n') text.push_back(c);
  }
  return unprotected_text(desktop, text);
}

}  // namespace quiren
