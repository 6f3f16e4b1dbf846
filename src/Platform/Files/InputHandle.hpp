#pragma once
// Reading an input stream by its descriptor number (0: standard input), the
// system calls under ByteReader.
#include <cstddef>
#include <cstdint>

namespace Platform {

// Up to `size` bytes into `buffer`; 0 at the end of input or when it cannot
// be read (both end the input).
size_t ReadFromInput(int fd, char* buffer, size_t size);
// How many bytes are left when the input is a regular file; 0 when that
// cannot be known (a pipe, a terminal).
std::uint64_t InputBytesLeft(int fd);

}  // namespace Platform
