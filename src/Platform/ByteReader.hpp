#pragma once
// Buffered reading of a file descriptor one byte at a time (standard input).
#include <string>

namespace Platform {

class ByteReader {
 public:
  explicit ByteReader(int fd) : FFd(fd) {}
  static ByteReader StandardInput();

  // The next byte without taking it, or -1 at the end of input.
  int Peek();
  // Takes the next byte, or -1 at the end of input.
  int Get();

 private:
  bool Fill();

  int FFd;
  std::string FBuffer;
  size_t FPos = 0;
  bool FEnded = false;
};

}  // namespace Platform
