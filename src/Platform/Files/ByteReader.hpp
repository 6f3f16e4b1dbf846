#pragma once
// Buffered reading of a file descriptor (standard input): a byte at a time,
// or all that was read ahead at once.
#include <cstdint>
#include <string>
#include <string_view>

namespace Platform {

class ByteReader {
 public:
  explicit ByteReader(int fd) : FFd(fd) {}
  static ByteReader StandardInput();

  // The next byte without taking it, or -1 at the end of input.
  int Peek();
  // Takes the next byte, or -1 at the end of input.
  int Get();
  // Takes every byte read ahead (reading more first when none is): empty at
  // the end of input. Valid until the next call.
  std::string_view TakeBuffered();
  // How many bytes are left to read when the input is a regular file; 0 when
  // that cannot be known (a pipe, a terminal).
  std::uint64_t SizeHint() const;

 private:
  bool Fill();

  int FFd;
  std::string FBuffer;
  size_t FPos = 0;
  bool FEnded = false;
};

}  // namespace Platform
