#pragma once
// Image files and the references to them in an HTML body.
#include <optional>
#include <string>
#include <string_view>

namespace JoplinRestUtils {

// A reference holding this anywhere is a web address, not a local path.
inline constexpr std::string_view kNotALocalPathMarker = "://";

// The full path a reference names against `baseDir`; nothing for a web
// address or a reference that is no valid path (such as "img.png?v=2"), which
// is left alone rather than ending the run.
std::optional<std::string> ResolveLocalReference(const std::string& reference,
                                                 std::string_view baseDir);

// The path's extension is .png, .jpg, .jpeg, .bmp, .gif, .ico or .svg (any case).
bool IsImageFile(std::string_view path);

}  // namespace JoplinRestUtils
