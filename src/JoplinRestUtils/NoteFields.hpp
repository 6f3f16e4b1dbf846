#pragma once
// The members of a note's JSON that come from the record's optional parts,
// and the properties of an uploaded file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "JoplinRestUtils/Json/Json.hpp"
#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/Dates/DateTime.hpp"

namespace JoplinRestUtils {

// A date of the command line (local time, 0 for none) wins over one of a
// front-matter block (an instant); nothing when neither gives one.
std::optional<std::int64_t> NoteDateMs(Kestrel::CommonLib::TDateTime local,
                                       const std::optional<std::int64_t>& instant);

// Adds "is_todo", "todo_due", "todo_completed", "source_url", "author" and
// the place, each where the note asks for it.
void AddTodoAndSource(const TJoplinNewNote& from, TJsonValue& note);

// Joplin links each tag to its note one at a time, and a few thousand keep
// it busy for minutes: a note takes at most so many, unless "/AllowMany".
inline constexpr size_t kMaxTagsPerNote = 200;

// Cuts `tags` to kMaxTagsPerNote; the warning that names those dropped, or
// empty when none were.
std::string BoundTags(std::vector<std::string>& tags);

// A notebook's fields; one at the top has no parent.
TJsonValue NotebookFields(const std::string& title, const std::string& parentId);

// A resource's "props": its title (the file name) and the file's times.
TJsonValue ResourceProperties(const std::string& file);

}  // namespace JoplinRestUtils
