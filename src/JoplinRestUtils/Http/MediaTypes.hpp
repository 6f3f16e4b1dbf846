#pragma once
// The media type of an uploaded file, by its name's extension: our own table
// first, then the system's registered types, then "application/octet-stream".
#include <string>
#include <string_view>

namespace JoplinRestUtils {

std::string MediaTypeForFileName(std::string_view fileName);

}  // namespace JoplinRestUtils
