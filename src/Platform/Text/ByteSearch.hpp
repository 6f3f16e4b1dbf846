#pragma once
// Searching memory for a byte from the end, as fast as the C library can.
#include <cstddef>

namespace Platform {

// The last `byte` among the first `size` bytes at `data`, or nullptr.
const char* FindLastByte(const char* data, size_t size, char byte);

}  // namespace Platform
