#include "Quillpost/SendNote.hpp"

#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Console.hpp"
#include "Quillpost/NoteCommand.hpp"

namespace Quillpost {

int SendNote(const std::string& url, const std::string& token,
             JoplinRestUtils::TJoplinNewNote note) {
  JoplinRestUtils::TJoplinRest client(token, url);
  std::string noteId;
  if (client.CreateNote(std::move(note), noteId) && !noteId.empty()) {
    Platform::WriteLine("Done (Note id: " + noteId + ")");
    return kExitOk;
  }
  Platform::WriteLine("Create Note failed.");
  Kestrel::CommonLib::TellCause(client.LastFailure().empty()
                                    ? "the answer to POST notes held no note id"
                                    : client.LastFailure());
  return kExitNotCreated;
}

}  // namespace Quillpost
