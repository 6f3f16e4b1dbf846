#pragma once
// Attachments ("/A" values, then "/AA" values; those naming no file dropped),
// the four file-name placeholders of the title, the tags ("/T", then "/TT")
// and the creation and update date-times ("/C", "/E").
#include <string>

#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/SwitchScanner.hpp"
#include "Quillpost/Arguments.hpp"

namespace Quillpost {

// Replaces the note's files when at least one attachment exists and fills the
// title's placeholders (with the names as text); returns the first attachment
// entry as written (the bytes; empty when none is left). Throws EInvalidPath
// for an entry no path can hold.
std::string ApplyAttachments(const TArguments& args, JoplinRestUtils::TJoplinNewNote& note);

void ApplyTags(const Kestrel::CommonLib::TParamList& params, JoplinRestUtils::TJoplinNewNote& note);

// Fills the date placeholders from the first attachment entry, then reads the
// value; a value of "/C" or "/E" that cannot be read becomes the current local
// date-time, with a warning. "/Due" (which makes a to-do, as "/Todo" and
// "/Completed" do) must be read: throws ECommandLineError otherwise.
void ApplyDates(const Kestrel::CommonLib::TParamList& params, const std::string& firstAttachment,
                JoplinRestUtils::TJoplinNewNote& note);

}  // namespace Quillpost
