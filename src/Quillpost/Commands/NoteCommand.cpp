#include "Quillpost/Commands/NoteCommand.hpp"

#include <utility>

#include "Quillpost/Steps/NoteFromSwitches.hpp"
#include "Quillpost/Steps/SendNote.hpp"

namespace Quillpost {

int RunNewNote(const TArguments& args, const TSettings& settings) {
  JoplinRestUtils::TJoplinNewNote note = NoteFromSwitches(args, settings);
  JoplinRestUtils::TJoplinRest client(settings.Token.Value, settings.Url.Value, RunLimits());
  return SendNewNote(client, std::move(note));
}

}  // namespace Quillpost
