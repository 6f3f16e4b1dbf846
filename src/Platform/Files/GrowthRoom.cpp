#include "Platform/Files/GrowthRoom.hpp"

#include <new>
#include <stdexcept>

namespace Platform {

bool ReserveGrowthRoom(std::string& text, size_t size, unsigned growthRoom) {
  if (growthRoom == 0)
    return false;
  try {
    text.reserve(size + size * growthRoom + 2);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

}  // namespace Platform
