#pragma once
// The ids an import gives what it makes, chosen before anything is sent:
// derived from the target and the file's place in the tree (a notebook, a
// note) or from a file's content (a resource). The same file brought into the
// same target twice has the same id, so the server itself refuses a
// duplicate, whatever became of the journal.
#include <string>
#include <string_view>

namespace JoplinRestUtils {

enum class TImportItem { Folder, Note, Resource };

// 32 lower-case hex digits, as Joplin's own ids.
std::string ImportId(TImportItem item, std::string_view targetKey, std::string_view key);

}  // namespace JoplinRestUtils
