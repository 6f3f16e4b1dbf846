#pragma once
// Room reserved in a text for it to grow in place later.
#include <cstddef>
#include <string>

namespace Platform {

// Reserves room for `size` bytes plus `growthRoom` more for each of them;
// false when nothing was asked for or the address space is short (the text
// then grows by copying instead).
bool ReserveGrowthRoom(std::string& text, size_t size, unsigned growthRoom);

}  // namespace Platform
