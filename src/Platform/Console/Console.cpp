#include "Platform/Console/Console.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "Platform/Console/Error.hpp"
#include "Platform/Text/Charset.hpp"

namespace Platform {
namespace {

// False (with errno set) when the stream fails.
bool WriteBytes(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t rc = ::write(fd, bytes.data(), bytes.size());
    if (rc < 0 && errno == EINTR)
      continue;
    if (rc <= 0)
      return false;
    bytes.remove_prefix(static_cast<size_t>(rc));
  }
  return true;
}

bool WriteAll(int fd, std::string_view utf8Line) {
  std::string bytes = EncodeToLocale(VisibleText(utf8Line));
  bytes += '\n';
  return WriteBytes(fd, bytes);
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

void WriteRawToStandardError(std::string_view text) {
  (void)WriteBytes(STDERR_FILENO, EncodeToLocale(text));
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

}  // namespace Platform
