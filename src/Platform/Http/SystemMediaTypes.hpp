#pragma once
// The media types the system registers for file-name extensions (/etc/mime.types).
#include <string>
#include <string_view>

namespace Platform {

// The registered type for a lower-case extension without its dot; empty when none.
std::string SystemMediaType(std::string_view extension);

}  // namespace Platform
