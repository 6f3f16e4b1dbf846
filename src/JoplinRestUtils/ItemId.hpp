#pragma once
// What Joplin's item ids look like: 32 hexadecimal digits.
#include <string_view>

namespace JoplinRestUtils {

inline constexpr size_t kItemIdLength = 32;

// Whether the text has the form of an item id (either case).
constexpr bool IsItemId(std::string_view text) {
  if (text.size() != kItemIdLength)
    return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
      return false;
  }
  return true;
}

}  // namespace JoplinRestUtils
