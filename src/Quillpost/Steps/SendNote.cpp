#include "Quillpost/Steps/SendNote.hpp"

#include <utility>

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Console/Error.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"

namespace Quillpost {
namespace {

int ReportOutcome(bool done, const JoplinRestUtils::TJoplinRest& client, bool appended) {
  if (done) {
    const JoplinRestUtils::TNoteDone& note = client.NoteDone();
    try {
      ReportNoteDone({note.Id, note.Title, note.ParentId, note.ResourceIds, appended});
    } catch (const Platform::EConsoleError& error) {
      // The note exists: the exit code still says so to whoever is left.
      Kestrel::CommonLib::TellCause(std::string(error.what()) + "; the note was " +
                                    (appended ? "written" : "created"));
    }
    return kExitOk;
  }
  ReportFailure(appended ? "Append failed." : "Create Note failed.",
                appended ? "EAppendFailed" : "ECreateNoteFailed", client.NoteFailure());
  Kestrel::CommonLib::TellCause(client.NoteFailure());
  return kExitNotCreated;
}

}  // namespace

int SendNewNote(JoplinRestUtils::TJoplinRest& client, JoplinRestUtils::TJoplinNewNote note) {
  std::string noteId;
  const bool done = client.CreateNote(std::move(note), noteId) && !noteId.empty();
  return ReportOutcome(done, client, false);
}

int SendAddedPart(JoplinRestUtils::TJoplinRest& client, JoplinRestUtils::TJoplinNewNote note,
                  const std::string& noteId, bool prepend) {
  return ReportOutcome(client.AppendToNote(std::move(note), noteId, prepend), client, true);
}

}  // namespace Quillpost
