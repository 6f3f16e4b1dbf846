#pragma once
// The note command: the note record built from the switches, step by step,
// then sent, with its result line. Returns the exit code (ExitCodes.hpp).
#include "Quillpost/Arguments.hpp"
#include "Quillpost/Settings/Settings.hpp"

namespace Quillpost {

// `settings` holds a token and a settled URL.
int RunNewNote(const TArguments& args, const TSettings& settings);

}  // namespace Quillpost
