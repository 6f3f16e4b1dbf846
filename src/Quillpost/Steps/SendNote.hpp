#pragma once
// Sends the finished note and writes the result line: "Done (Note id: ...)"
// and exit code 0 only when the server answered with the new note's id;
// otherwise "Create Note failed." and exit code 3, with the cause on standard
// error.
#include <string>

#include "JoplinRestUtils/NewNote.hpp"

namespace Quillpost {

int SendNote(const std::string& url, const std::string& token,
             JoplinRestUtils::TJoplinNewNote note);

}  // namespace Quillpost
