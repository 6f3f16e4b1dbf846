#pragma once
// One run: usage text, settings, the note record built from the switches,
// sending it, the result line. Returns the exit code (0, 1 or 3).
#include "Quillpost/Arguments.hpp"

namespace Quillpost {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNoToken = 1;
inline constexpr int kExitNotCreated = 3;

int RunNoteCommand(const TArguments& args);

}  // namespace Quillpost
