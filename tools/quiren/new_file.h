// Writing a file that must not exist yet (a new secret key): created
// exclusively, readable and writable by its owner alone, never over another
// file or through a link.
#pragma once

#include <string>
#include <string_view>

namespace quiren::tool {

enum class NewFile {
  written,
  exists,  // something is there already: left as it was
  failed,  // not created, or not written whole (and then removed)
};

// `problem` says why, when failed.
NewFile write_new_file(const std::string& path, std::string_view bytes, std::string& problem);

}  // namespace quiren::tool
