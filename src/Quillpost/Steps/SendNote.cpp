#include "Quillpost/Steps/SendNote.hpp"

#include <utility>

#include "JoplinRestUtils/NoteAppending.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Console/Error.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"

namespace Quillpost {
namespace {

int ReportOutcome(const JoplinRestUtils::TNoteOutcome& outcome, bool appended) {
  if (outcome.Done) {
    const JoplinRestUtils::TNoteDone& note = outcome.Note;
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
                appended ? "EAppendFailed" : "ECreateNoteFailed", outcome.Failure);
  Kestrel::CommonLib::TellCause(outcome.Failure);
  return kExitNotCreated;
}

}  // namespace

int SendNewNote(JoplinRestUtils::TJoplinRest& client, JoplinRestUtils::TJoplinNewNote note) {
  std::string noteId;
  const bool done = client.CreateNote(std::move(note), noteId) && !noteId.empty();
  JoplinRestUtils::TNoteOutcome outcome = client.NoteOutcome();
  outcome.Done = done;
  return ReportOutcome(outcome, false);
}

int SendAddedPart(JoplinRestUtils::TJoplinRest& client, JoplinRestUtils::TJoplinNewNote note,
                  const std::string& noteId, bool prepend) {
  JoplinRestUtils::TNoteAppender appender(client);
  return ReportOutcome(appender.Append(std::move(note), noteId, prepend), true);
}

}  // namespace Quillpost
