#include "Platform/Console.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "Platform/Charset.hpp"
#include "Platform/Error.hpp"
#include "Platform/Utf8.hpp"

namespace Platform {
namespace {

bool IsBidiControl(char32_t cp) {
  return cp == 0x061C || cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
         (cp >= 0x2066 && cp <= 0x2069);
}

bool MustEscape(char32_t cp) {
  return (cp < 0x20 && cp != '\t') || (cp >= 0x7F && cp <= 0x9F) || IsBidiControl(cp);
}

// "\x1B" for a byte or an ASCII control, "\u009B" for any other character.
std::string Escape(char32_t cp, bool asByte = false) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const bool shortForm = asByte || cp < 0x80;
  std::string escape = shortForm ? "\\x" : "\\u";
  for (int shift = shortForm ? 4 : 12; shift >= 0; shift -= 4)
    escape += kHex[(cp >> shift) & 0xF];
  return escape;
}

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

std::string VisibleText(std::string_view utf8Line) {
  std::string visible;
  visible.reserve(utf8Line.size());
  size_t pos = 0;
  while (pos < utf8Line.size()) {
    const size_t start = pos;
    const char32_t cp = NextCodePoint(utf8Line, pos);
    if (cp == kReplacementChar && pos - start == 1) {
      // An ill-formed byte, such as a lone 0x9B that 8-bit terminals obey.
      visible += Escape(static_cast<unsigned char>(utf8Line[start]), true);
    } else if (MustEscape(cp)) {
      visible += Escape(cp);
    } else {
      visible.append(utf8Line.substr(start, pos - start));
    }
  }
  return visible;
}

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

namespace {

std::string Mebibytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

void WriteRaw(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t rc = ::write(STDERR_FILENO, bytes.data(), bytes.size());
    if (rc < 0 && errno == EINTR)
      continue;
    if (rc <= 0)
      return;
    bytes.remove_prefix(static_cast<size_t>(rc));
  }
}

constexpr std::string_view kClearLine = "\r\x1B[K";

}  // namespace

ProgressLine::ProgressLine(std::string label)
    : FLabel(EncodeToLocale(VisibleText(label))), FEnabled(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
  if (FShown)
    WriteRaw(kClearLine);
}

void ProgressLine::Update(std::uint64_t done, std::uint64_t total) {
  const auto now = Clock::now();
  if (!FEnabled || now - FStart < std::chrono::seconds(1) ||
      now - FLastDrawn < std::chrono::milliseconds(100))
    return;
  FLastDrawn = now;
  const double seconds = std::chrono::duration<double>(now - FStart).count();
  const auto rate = static_cast<std::uint64_t>(static_cast<double>(done) / seconds);
  WriteRaw(std::string(kClearLine) + FLabel + ": " + Mebibytes(done) + " of " + Mebibytes(total) +
           ", " + Mebibytes(rate) + "/s");
  FShown = true;
}

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

}  // namespace Platform
