#include "Quillpost/Steps/SendNote.hpp"

#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Console/Console.hpp"
#include "Platform/Console/Error.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"
#include "Quillpost/Settings/Settings.hpp"

namespace Quillpost {

int SendNote(const std::string& url, const std::string& token,
             JoplinRestUtils::TJoplinNewNote note) {
  JoplinRestUtils::TJoplinRest client(token, url, RunLimits());
  std::string noteId;
  if (client.CreateNote(std::move(note), noteId) && !noteId.empty()) {
    const JoplinRestUtils::TNoteDone& done = client.NoteDone();
    try {
      ReportNoteDone({done.Id, done.Title, done.ParentId, done.ResourceIds, false});
    } catch (const Platform::EConsoleError& error) {
      // The note exists: the exit code still says so to whoever is left.
      Kestrel::CommonLib::TellCause(std::string(error.what()) + "; the note was created");
    }
    return kExitOk;
  }
  ReportFailure("Create Note failed.", "ECreateNoteFailed", client.NoteFailure());
  Kestrel::CommonLib::TellCause(client.NoteFailure());
  return kExitNotCreated;
}

}  // namespace Quillpost
