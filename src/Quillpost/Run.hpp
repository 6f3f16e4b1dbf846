#pragma once
// One run of the program: the information switches ("/?", "--help",
// "--version"), the settings, then the one command the switches ask for
// (a new note, "--check", "--list-notebooks", "--list-tags"). Returns the
// exit code (ExitCodes.hpp).
#include "Quillpost/Arguments.hpp"

namespace Quillpost {

int RunNoteCommand(const TArguments& args);

}  // namespace Quillpost
