#pragma once
// What the fuzz targets share: a scratch file that holds the input, for
// parsers that read files, and the input as a text.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The input written to one file of this process, named with `suffix`.
inline const std::string& WriteScratch(std::string_view bytes, const char* suffix) {
  static std::string path = [suffix] {
    std::string pattern = std::string("/tmp/quillpost-fuzz-XXXXXX") + suffix;
    const int fd = ::mkstemps(pattern.data(), static_cast<int>(std::string_view(suffix).size()));
    if (fd >= 0)
      ::close(fd);
    return pattern;
  }();
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd >= 0) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n <= 0)
        break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
  }
  return path;
}

}  // namespace Fuzz
