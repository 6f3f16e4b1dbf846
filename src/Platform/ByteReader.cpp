#include "Platform/ByteReader.hpp"

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

}  // namespace Platform
