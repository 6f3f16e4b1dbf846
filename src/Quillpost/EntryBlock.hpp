#pragma once
// The process entry: runs the one run (Run.hpp) and turns an escaped error into
// its line "kind: message" and exit code 3 (nothing was created).
namespace Quillpost {

int RunEntryBlock(int argc, const char* const* argv);

}  // namespace Quillpost
