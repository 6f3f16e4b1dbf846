#pragma once
// The program's parameters: everything after the program's own path, none of
// them empty. On Linux they are the bytes of the argument vector; on Windows
// the wide command line, split by the program's own rules (SplitCommandLine)
// rather than the system's, as UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

std::vector<std::string> ProgramParameters(int argc, const char* const* argv);

// The parameters of a whole command line (program path first): items are
// separated by characters U+0001..U+0020 outside double quotes; a double
// quote opens or closes a quoted stretch and is never part of an item; there
// is no escape character, so a backslash before a quote is just a backslash;
// pairs of quotes where an item would begin are skipped, and an item that
// comes out empty is no parameter.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace Platform
