#include "Platform/Console/Console.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "Platform/Console/Error.hpp"
#include "Platform/Files/FileDescriptor.hpp"
#include "Platform/Text/Charset.hpp"

namespace Platform {
namespace {

bool WriteAll(int fd, std::string_view utf8Line) {
  std::string bytes = EncodeToLocale(VisibleText(utf8Line));
  bytes += '\n';
  return WriteFully(fd, bytes);
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
  (void)WriteFully(STDERR_FILENO, EncodeToLocale(text));
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

}  // namespace Platform
