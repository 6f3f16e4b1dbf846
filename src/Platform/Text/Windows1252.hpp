#pragma once
// Windows-1252, the single-byte code page that HTTP's Latin-1 means in
// practice and that stands for the ANSI code page on Linux.
#include <string>
#include <string_view>

namespace Platform {

// Never fails: the five bytes the code page leaves undefined (81, 8D, 8F, 90,
// 9D) become the code points of the same value.
std::string DecodeWindows1252(std::string_view bytes);

}  // namespace Platform
