#pragma once
// "--import DIR": a folder of Markdown and HTML files brought into Joplin as
// notebooks and notes, and kept in step on later runs (see ImportPlan).
// Prints one summary line; returns the exit code (0 only when every file
// made it).
#include "Quillpost/Arguments.hpp"
#include "Quillpost/Settings/Settings.hpp"

namespace Quillpost {

// `settings` holds a token and a settled URL.
int RunImport(const TArguments& args, const TSettings& settings);

}  // namespace Quillpost
