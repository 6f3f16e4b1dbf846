#pragma once
// The note record built from the switches, step by step: header, body,
// attachments, tags, dates and to-do state. Shared by the commands that
// send a note (a new one, or a part added to an existing one).
#include "JoplinRestUtils/NewNote.hpp"
#include "Quillpost/Arguments.hpp"
#include "Quillpost/Settings/Settings.hpp"

namespace Quillpost {

JoplinRestUtils::TJoplinNewNote NoteFromSwitches(const TArguments& args, const TSettings& settings);

}  // namespace Quillpost
