#include "cipher/code_table.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quiren::cipher {

namespace {

void put_u32le(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put_bits(std::vector<std::uint8_t>& out, const BitString& bits) {
  put_u32le(out, static_cast<std::uint32_t>(bits.size()));
  out.insert(out.end(), bits.bytes().begin(), bits.bytes().end());
}

// Reads one (bit count, bytes) field at `offset` within the first `end`
// bytes; advances offset. nullopt when the count is below 1 or the bytes
// run past `end`.
std::optional<BitString> take_bits(std::span<const std::uint8_t> data, std::size_t end, std::size_t& offset) {
  if (end - offset < 4) return std::nullopt;
  const auto bits = static_cast<std::int32_t>(read_u32le(data, offset));
  offset += 4;
  if (bits < 1) return std::nullopt;
  const std::size_t bytes = (static_cast<std::size_t>(bits) + 7) / 8;
  if (end - offset < bytes) return std::nullopt;
  BitString result(data.subspan(offset, bytes), static_cast<std::uint64_t>(bits));
  offset += bytes;
  return result;
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens a file already found regular. On POSIX the open must not block and
// the opened file is checked again: a FIFO swapped in after the check would
// otherwise wait for a writer.
File open_regular_file(const char* file_name) {
#if defined(_WIN32)
  return File(std::fopen(file_name, "rb"), &std::fclose);
#else
  const int fd = ::open(file_name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return File(nullptr, &std::fclose);
  struct stat st {};
  std::FILE* file = nullptr;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) file = ::fdopen(fd, "rb");
  if (file == nullptr) ::close(fd);
  return File(file, &std::fclose);
#endif
}

}  // namespace

std::uint32_t read_u32le(std::span<const std::uint8_t> data, std::size_t offset) {
  return std::uint32_t{data[offset]} | (std::uint32_t{data[offset + 1]} << 8) |
         (std::uint32_t{data[offset + 2]} << 16) | (std::uint32_t{data[offset + 3]} << 24);
}

std::vector<std::uint8_t> serialize_code_table(const CodeTable& table) {
  std::vector<std::uint8_t> out(8, 0);
  for (const CodeRecord& record : table) {
    put_bits(out, record.pattern);
    put_bits(out, record.code);
  }
  const auto size = static_cast<std::uint32_t>(out.size());
  const auto count = static_cast<std::uint32_t>(table.size());
  for (int i = 0; i < 4; ++i) {
    out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    out[static_cast<std::size_t>(4 + i)] = static_cast<std::uint8_t>(count >> (8 * i));
  }
  return out;
}

std::optional<CodeTable> parse_code_table(std::span<const std::uint8_t> data) {
  if (data.size() < 8) return std::nullopt;
  const std::size_t size = read_u32le(data, 0);
  const std::uint32_t count = read_u32le(data, 4);
  if (size < 8 || size > data.size()) return std::nullopt;
  CodeTable table;
  std::size_t offset = 8;
  while (offset < size) {
    auto pattern = take_bits(data, size, offset);
    if (!pattern) return std::nullopt;
    auto code = take_bits(data, size, offset);
    if (!code) return std::nullopt;
    table.push_back({std::move(*pattern), std::move(*code)});
  }
  if (table.size() != count) return std::nullopt;
  return table;
}

std::optional<CodeTable> read_shared_table(const char* file_name) {
  // Anything but a regular file of bounded size counts as missing: a FIFO
  // would block the call, a device or a huge file would cost it seconds and
  // memory.
  std::error_code error;
  const std::filesystem::path path(file_name);
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const std::uintmax_t file_size = std::filesystem::file_size(path, error);
  if (error || file_size > kMaxSharedTableFileBytes) return std::nullopt;

  const File file = open_regular_file(file_name);
  if (!file) return std::nullopt;
  std::uint8_t head[4];
  if (std::fread(head, 1, 4, file.get()) != 4) return std::nullopt;
  const std::uint32_t size = read_u32le(head, 0);
  // Read no more than the file held when checked: a size field beyond that
  // fails here instead of allocating what it claims, and a file growing
  // meanwhile is read no further.
  if (size < 8 || size > file_size) return std::nullopt;
  std::vector<std::uint8_t> data(size);
  std::copy(head, head + 4, data.begin());
  if (std::fread(data.data() + 4, 1, size - 4, file.get()) != size - 4) return std::nullopt;
  return parse_code_table(data);
}

}  // namespace quiren::cipher
