#include "Platform/Console.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "Platform/Charset.hpp"
#include "Platform/Error.hpp"

namespace Platform {

void WriteLine(std::string_view utf8Line) {
  std::string bytes = EncodeToLocale(utf8Line);
  bytes += '\n';
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t rc = ::write(STDOUT_FILENO, bytes.data() + written, bytes.size() - written);
    if (rc < 0 && errno == EINTR)
      continue;
    if (rc <= 0)
      throw EConsoleError(std::string("cannot write to standard output: ") + std::strerror(errno));
    written += static_cast<size_t>(rc);
  }
}

}  // namespace Platform
