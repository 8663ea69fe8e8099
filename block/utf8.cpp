#include "block/utf8.h"

namespace quiren::block {

namespace {

std::size_t valid_length(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t lead = bytes[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra;
    // The allowed range of the first continuation byte shuts out overlong
    // forms, surrogates and values above U+10FFFF (the Unicode table of
    // well-formed byte sequences).
    std::uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (size - i - 1 < extra) return i;
    if (bytes[i + 1] < low || bytes[i + 1] > high) return i;
    for (std::size_t k = 2; k <= extra; ++k) {
      if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF) return i;
    }
    i += extra + 1;
  }
  return size;
}

}  // namespace

bool is_valid_utf8(std::span<const std::uint8_t> bytes) { return valid_length(bytes) == bytes.size(); }

bool is_valid_utf8(std::string_view text) { return valid_utf8_length(text) == text.size(); }

std::size_t valid_utf8_length(std::string_view text) {
  return valid_length(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::optional<std::u32string> decode_utf8(std::string_view text, std::size_t* bad_offset) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t i = 0;
  auto fail = [&]() -> std::optional<std::u32string> {
    if (bad_offset) *bad_offset = i;
    return std::nullopt;
  };
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra;
    char32_t c;
    char32_t least;
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, c = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, c = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, c = lead & 0x07u, least = 0x10000;
    } else {
      return fail();
    }
    if (text.size() - i <= extra) return fail();
    for (std::size_t k = 1; k <= extra; ++k) {
      auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0u) != 0x80u) return fail();
      c = (c << 6) | (b & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return fail();
    out.push_back(c);
    i += extra + 1;
  }
  return out;
}

void append_utf8(std::string& out, char32_t c) {
  auto put = [&](unsigned v) { out.push_back(static_cast<char>(v)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18));
    put(0x80 | ((c >> 12) & 0x3F));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
}

std::string utf8_from_utf16(std::u16string_view text) {
  std::string out;
  // A UTF-16 unit takes at most three bytes (a pair, four for two units).
  out.reserve(3 * text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    append_utf8(out, c);
  }
  return out;
}

std::optional<std::u16string> utf16_from_utf8(std::string_view text) {
  std::optional<std::u32string> points = decode_utf8(text);
  if (!points) return std::nullopt;
  std::u16string out;
  out.reserve(points->size());
  for (char32_t c : *points) {
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::size_t utf16_length(std::u32string_view text) {
  std::size_t n = 0;
  for (char32_t c : text) n += c >= 0x10000 ? 2 : 1;
  return n;
}

bool is_valid_utf16(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

}  // namespace quiren::block
