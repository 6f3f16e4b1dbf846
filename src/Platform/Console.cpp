#include "Platform/Console.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "Platform/Charset.hpp"
#include "Platform/Error.hpp"

namespace Platform {
namespace {

// Writes the line and its "\n"; false (with errno set) when the stream fails.
bool WriteAll(int fd, std::string_view utf8Line) {
  std::string bytes = EncodeToLocale(VisibleText(utf8Line));
  bytes += '\n';
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t rc = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (rc < 0 && errno == EINTR)
      continue;
    if (rc <= 0)
      return false;
    written += static_cast<size_t>(rc);
  }
  return true;
}

}  // namespace

void PrepareStandardStreams() {
  std::signal(SIGPIPE, SIG_IGN);
}

void WriteLine(std::string_view utf8Line) {
  if (!WriteAll(STDOUT_FILENO, utf8Line))
    throw EConsoleError(std::string("cannot write to standard output: ") + ErrorText(errno));
}

void WriteErrorLine(std::string_view utf8Line) {
  (void)WriteAll(STDERR_FILENO, utf8Line);
}

void WriteRawToStandardError(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t rc = ::write(STDERR_FILENO, bytes.data(), bytes.size());
    if (rc < 0 && errno == EINTR)
      continue;
    if (rc <= 0)
      return;
    bytes.remove_prefix(static_cast<size_t>(rc));
  }
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

}  // namespace Platform
