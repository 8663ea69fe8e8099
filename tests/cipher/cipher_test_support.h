// Helpers shared by the cipher tests: a private current directory, a
// notice recorder and byte/bit conversions.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cipher/bit_string.h"
#include "cipher/code_table.h"
#include "cipher/notice.h"

namespace quiren::cipher::testing {

// Runs the test in a fresh empty current directory, so "DfFugoList.lst" is
// present only when the test writes it.
class TempCurrentDirectory {
 public:
  TempCurrentDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quiren-cipher-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  ~TempCurrentDirectory() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  TempCurrentDirectory(const TempCurrentDirectory&) = delete;
  TempCurrentDirectory& operator=(const TempCurrentDirectory&) = delete;

  void write(const std::string& name, std::span<const std::uint8_t> bytes) const {
    std::ofstream out(dir_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void remove(const std::string& name) const { std::filesystem::remove(dir_ / name); }

 private:
  std::filesystem::path dir_, previous_;
};

struct Notice {
  std::string caption, text;
  bool operator==(const Notice&) const = default;
};

// Records every notice while alive.
class NoticeRecorder {
 public:
  NoticeRecorder() {
    set_notice_sink([this](std::string_view caption, std::string_view text, NoticeText) {
      notices.push_back({std::string(caption), std::string(text)});
    });
  }
  ~NoticeRecorder() { set_notice_sink({}); }
  NoticeRecorder(const NoticeRecorder&) = delete;
  NoticeRecorder& operator=(const NoticeRecorder&) = delete;

  std::vector<Notice> notices;
};

inline std::vector<std::uint8_t> bytes_of(std::string_view s) { return {s.begin(), s.end()}; }
inline std::string string_of(std::span<const std::uint8_t> b) { return {b.begin(), b.end()}; }

// "0110" style, written from the highest bit down to bit 0.
inline std::string bits_text(const BitString& bits) {
  std::string s;
  for (std::uint64_t k = bits.size(); k-- > 0;) s.push_back(bits.bit(k) ? '1' : '0');
  return s;
}

inline BitString bits_from_text(std::string_view text) {
  BitString bits;
  for (std::size_t i = text.size(); i-- > 0;) bits.push_back(text[i] == '1');
  return bits;
}

inline CodeRecord record(std::string_view pattern_bytes, std::string_view code_text) {
  return {BitString(bytes_of(pattern_bytes), 8 * pattern_bytes.size()), bits_from_text(code_text)};
}

inline std::string random_bytes(std::mt19937& rng, std::size_t n, int low = 1, int high = 255) {
  std::uniform_int_distribution<int> byte(low, high);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(byte(rng));
  return s;
}

}  // namespace quiren::cipher::testing
