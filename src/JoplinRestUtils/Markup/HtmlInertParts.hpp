#pragma once
// The parts of an HTML page that show nothing: comments and the text of
// script elements. An image reference there is no image of the page.
#include <cstddef>
#include <string_view>
#include <vector>

namespace JoplinRestUtils {

struct TTextRange {
  size_t Start = 0;
  size_t End = 0;  // one past the last byte
};

// In page order; an unclosed comment or script runs to the end of the page.
std::vector<TTextRange> FindInertParts(std::string_view html);

// Whether `position` lies in one of the ranges (sorted, as found above).
bool LiesInAny(const std::vector<TTextRange>& ranges, size_t position);

}  // namespace JoplinRestUtils
