#include "tray/win32kit/fonts.h"

#include <array>

namespace quiren::win32 {
namespace {

int CALLBACK font_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool font_installed(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  ScopedDC dc(nullptr);
  if (dc) EnumFontFamiliesExW(dc.get(), &query, font_found, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// The designed face first, then faces with Japanese glyphs (Wine ships
// none of its own); the first installed one wins, once per run.
const wchar_t* ui_face() {
  static const wchar_t* const face = [] {
    static constexpr std::array<const wchar_t*, 4> kFaces = {L"ＭＳ Ｐゴシック", L"MS PGothic", L"IPAPGothic",
                                                             L"IPAGothic"};
    for (const wchar_t* candidate : kFaces) {
      if (font_installed(candidate)) return candidate;
    }
    return kFaces.front();  // the font mapper picks the closest it has
  }();
  return face;
}

}  // namespace

ScopedFont make_ui_font(int points, Dpi dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, dpi.y, 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lstrcpynW(font.lfFaceName, ui_face(), LF_FACESIZE);
  return ScopedFont(CreateFontIndirectW(&font));
}

}  // namespace quiren::win32
