#include "Platform/Text/ByteSearch.hpp"

#include <cstring>

namespace Platform {

const char* FindLastByte(const char* data, size_t size, char byte) {
  return static_cast<const char*>(::memrchr(data, byte, size));
}

}  // namespace Platform
