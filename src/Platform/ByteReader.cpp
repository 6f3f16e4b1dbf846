#include "Platform/ByteReader.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace Platform {

ByteReader ByteReader::StandardInput() {
  return ByteReader(STDIN_FILENO);
}

bool ByteReader::Fill() {
  if (FPos < FBuffer.size())
    return true;
  if (FEnded)
    return false;
  FBuffer.resize(65536);
  FPos = 0;
  while (true) {
    const ssize_t got = ::read(FFd, FBuffer.data(), FBuffer.size());
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0) {
      // A closed or unreadable input counts as its end.
      FBuffer.clear();
      FEnded = true;
      return false;
    }
    FBuffer.resize(static_cast<size_t>(got));
    return true;
  }
}

int ByteReader::Peek() {
  return Fill() ? static_cast<unsigned char>(FBuffer[FPos]) : -1;
}

int ByteReader::Get() {
  return Fill() ? static_cast<unsigned char>(FBuffer[FPos++]) : -1;
}

std::string_view ByteReader::TakeBuffered() {
  if (!Fill())
    return {};
  const std::string_view rest = std::string_view(FBuffer).substr(FPos);
  FPos = FBuffer.size();
  return rest;
}

std::uint64_t ByteReader::SizeHint() const {
  struct stat info {};
  if (::fstat(FFd, &info) != 0 || !S_ISREG(info.st_mode))
    return 0;
  const off_t at = ::lseek(FFd, 0, SEEK_CUR);
  return at < 0 || at > info.st_size ? 0 : static_cast<std::uint64_t>(info.st_size - at);
}

}  // namespace Platform
