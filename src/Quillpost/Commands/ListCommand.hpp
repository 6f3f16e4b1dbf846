#pragma once
// "--list-notebooks" and "--list-tags", for scripts and shell completions:
// every notebook as its path from the top ("Parent/Child"), or every tag
// title, one per line on standard output, sorted.
#include <string>

namespace Quillpost {

enum class TListKind { Notebooks, Tags };

// Returns 0, or 3 with the cause on standard error when the list cannot be read.
int RunList(TListKind kind, const std::string& url, const std::string& token);

}  // namespace Quillpost
