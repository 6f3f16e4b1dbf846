#include "Quillpost/Commands/AppendCommand.hpp"

#include <utility>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Quillpost/CommandLineCheck.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"
#include "Quillpost/Steps/NoteFromSwitches.hpp"
#include "Quillpost/Steps/SendNote.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {
namespace {

bool IsNoteId(const std::string& text) {
  if (text.size() != 32)
    return false;
  for (const char c : text) {
    if (!Platform::IsAsciiDigit(c) &&
        (Platform::AsciiLower(c) < 'a' || Platform::AsciiLower(c) > 'f'))
      return false;
  }
  return true;
}

// "/Id" as given, checked before anything is read or sent; empty without it.
std::string GivenNoteId(const Kestrel::CommonLib::TParamList& params) {
  std::string id;
  if (!SwitchValue(params, "Id", id)) {
    if (!FindSwitch(params, "I"))
      throw ECommandLineError("/Append and /Prepend need /I (the note's title) or /Id");
    return {};
  }
  if (!IsNoteId(id))
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
    if (!client.FindNoteByTitle(note.Title, folderId, noteId)) {
      ReportFailure("Append failed.", "EAppendFailed", client.LastFailure());
      Kestrel::CommonLib::TellCause(client.LastFailure());
      return kExitNotCreated;
    }
    // A journal's first day: no note has the title yet.
    if (noteId.empty())
      return SendNewNote(client, std::move(note));
  }
  return SendAddedPart(client, std::move(note), noteId, prepend);
}

}  // namespace Quillpost
