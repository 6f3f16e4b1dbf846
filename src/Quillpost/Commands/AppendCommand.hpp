#pragma once
// "/Append" and "/Prepend": the run's body, attachments, tags and to-do state
// added to an existing note, at its end or its top. The note is "/Id"'s, or
// the one titled "/I" in the notebook "/N" (in any notebook without it);
// when no note has that title, it is created. Returns the exit code.
#include "Quillpost/Arguments.hpp"
#include "Quillpost/Settings/Settings.hpp"

namespace Quillpost {

// `settings` holds a token and a settled URL.
int RunAppend(const TArguments& args, const TSettings& settings);

}  // namespace Quillpost
