#pragma once
// The standard streams. Standard output carries the program's result or error
// line; standard error carries warnings and the causes of failures. Text is
// written in the locale's character set, each line ended by "\n", at once.
#include <string_view>

namespace Platform {

// Throws EConsoleError when standard output cannot be written.
void WriteLine(std::string_view utf8Line);

// Writes one line to standard error; a failure is ignored, since there is no
// other stream left to report it on.
void WriteErrorLine(std::string_view utf8Line);

// True when standard input is a terminal (a person may be typing).
bool StandardInputIsTerminal();

}  // namespace Platform
