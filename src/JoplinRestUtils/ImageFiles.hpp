#pragma once
// Image files and the references to them in an HTML body.
#include <string_view>

namespace JoplinRestUtils {

// The `src` attribute of an element; group 1 is the reference between the quotes.
inline constexpr std::string_view kImageReferencePattern = R"re(src\s*=\s*"([^"]+)")re";
// A reference holding this anywhere is a web address, not a local path.
inline constexpr std::string_view kNotALocalPathMarker = "://";

// The path's extension is .png, .jpg, .jpeg, .bmp, .gif, .ico or .svg (any case).
bool IsImageFile(std::string_view path);

}  // namespace JoplinRestUtils
