#pragma once
// Sends the finished note and writes the result line: "Done (Note id: ...)"
// (or its "--json" form) and exit code 0 only when the server answered with
// the note's id; otherwise the failure line and exit code 3, with the cause
// on standard error.
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/NewNote.hpp"

namespace Quillpost {

// A new note: "Create Note failed." when none was made.
int SendNewNote(JoplinRestUtils::TJoplinRest& client, JoplinRestUtils::TJoplinNewNote note);

// The run's part added to the note `noteId`: "Append failed." when the note
// was not written as asked.
int SendAddedPart(JoplinRestUtils::TJoplinRest& client, JoplinRestUtils::TJoplinNewNote note,
                  const std::string& noteId, bool prepend);

}  // namespace Quillpost
