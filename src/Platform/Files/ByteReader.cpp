#include "Platform/Files/ByteReader.hpp"

#include "Platform/Files/InputHandle.hpp"

namespace Platform {

ByteReader ByteReader::StandardInput() {
  return ByteReader(0);
}

bool ByteReader::Fill() {
  if (FPos < FBuffer.size())
    return true;
  if (FEnded)
    return false;
  FBuffer.resize(65536);
  FPos = 0;
  const size_t got = ReadFromInput(FFd, FBuffer.data(), FBuffer.size());
  // A closed or unreadable input counts as its end.
  FBuffer.resize(got);
  FEnded = got == 0;
  return !FEnded;
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
  return InputBytesLeft(FFd);
}

}  // namespace Platform
