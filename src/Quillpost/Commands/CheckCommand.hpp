#pragma once
// "--check": whether the settings lead to a Joplin Data API that accepts the
// token. One line each on standard output: the URL and its source, the
// token's source (never the token), whether /ping answers, whether the token
// is accepted, and the number of notebooks. Creates nothing.
#include "Quillpost/Settings/Settings.hpp"

namespace Quillpost {

// Returns 0 when all is well, 3 otherwise. The URL must be settled.
int RunCheck(const TSettings& settings);

}  // namespace Quillpost
