#pragma once
// One run of the program: the information switches ("/?", "--help",
// "--version"), the settings, then the one command the switches ask for
// (a new note, "/Append" or "/Prepend" to a note, "--import" of a folder,
// "--check", "--list-notebooks", "--list-tags"). Returns the exit code
// (ExitCodes.hpp).
#include "Quillpost/Arguments.hpp"

namespace Quillpost {

int RunNoteCommand(const TArguments& args);

}  // namespace Quillpost
