#include <windows.h>

#include "Platform/Console/CommandLine.hpp"
#include "Platform/Windows/Win32Text.hpp"

namespace Platform {

// The C runtime's argument vector follows the system's splitting rules,
// where a backslash can escape a quote: the program reads the command line
// itself instead.
std::vector<std::string> ProgramParameters(int, const char* const*) {
  return SplitCommandLine(Utf8Text(::GetCommandLineW()));
}

}  // namespace Platform
