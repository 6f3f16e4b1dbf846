#include "Platform/Text/ByteSearch.hpp"

namespace Platform {

// The C runtime on Windows has no memrchr.
const char* FindLastByte(const char* data, size_t size, char byte) {
  for (size_t i = size; i > 0; --i) {
    if (data[i - 1] == byte)
      return data + i - 1;
  }
  return nullptr;
}

}  // namespace Platform
