#include "Quillpost/Commands/AppendCommand.hpp"

#include <utility>

#include "JoplinRestUtils/ItemId.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/NoteAppending.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Quillpost/CommandLineCheck.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"
#include "Quillpost/Steps/NoteFromSwitches.hpp"
#include "Quillpost/Steps/SendNote.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {
namespace {

// "/Id" as given, checked before anything is read or sent; empty without it.
std::string GivenNoteId(const Kestrel::CommonLib::TParamList& params) {
  std::string id;
  if (!SwitchValue(params, "Id", id)) {
    if (!FindSwitch(params, "I"))
      throw ECommandLineError("/Append and /Prepend need /I (the note's title) or /Id");
    return {};
  }
  if (!JoplinRestUtils::IsItemId(id))
    throw ECommandLineError("/Id " + Kestrel::CommonLib::Quoted(id) +
                            " is not a note id (32 hexadecimal digits)");
  return id;
}

}  // namespace

int RunAppend(const TArguments& args, const TSettings& settings) {
  const Kestrel::CommonLib::TParamList& params = args.Text;
  const bool prepend = FindSwitch(params, "Prepend");
  std::string noteId = GivenNoteId(params);
  JoplinRestUtils::TJoplinNewNote note = NoteFromSwitches(args, settings);
  JoplinRestUtils::TJoplinRest client(settings.Token.Value, settings.Url.Value, RunLimits());
  if (noteId.empty()) {
    std::string folderId;
    if (!note.NotebookName.empty() &&
        !client.ResolveNotebook(note.NotebookName, note.CreateNotebooks, folderId)) {
      ReportFailure("Append failed.", "EAppendFailed", client.LastFailure());
      Kestrel::CommonLib::TellCause(client.LastFailure());
      return kExitNotCreated;
    }
    const JoplinRestUtils::TRequestOutcome found =
        JoplinRestUtils::TNoteAppender(client).FindNoteByTitle(note.Title, folderId, noteId);
    if (!found.AnsweredBelow500()) {
      ReportFailure("Append failed.", "EAppendFailed", found.Failure);
      Kestrel::CommonLib::TellCause(found.Failure);
      return kExitNotCreated;
    }
    // A journal's first day: no note has the title yet.
    if (noteId.empty())
      return SendNewNote(client, std::move(note));
  }
  return SendAddedPart(client, std::move(note), noteId, prepend);
}

}  // namespace Quillpost
