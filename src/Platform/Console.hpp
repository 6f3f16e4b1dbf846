#pragma once
// Standard output for the program's lines: text in the locale's character set,
// each line ended by "\n", written at once. Nothing ever goes to standard error.
#include <string_view>

namespace Platform {

// Throws EConsoleError when standard output cannot be written.
void WriteLine(std::string_view utf8Line);

}  // namespace Platform
