#pragma once
// The usage text and its parts.
#include <string>
#include <vector>

#include "Quillpost/Switches.hpp"

namespace Quillpost {

inline constexpr const char* kHomePage = "https://quillpost.org";

// The option block: an empty line, the ten switches, an empty line.
void PrintUsage();
// Name and version: the first two lines of the usage text.
void PrintVersion();
// The whole usage text: name, version, option block, home page.
void PrintUsageText();
// "--help": name and version, every switch with what it does, the exit codes,
// the two output streams and where the settings are looked for.
void PrintHelp();
// A switch's lines in "--help": its name and argument, then what it does, the
// descriptions lined up; none for a switch described on the line before.
std::vector<std::string> HelpLinesOf(const TSwitchSpec& spec);

}  // namespace Quillpost
