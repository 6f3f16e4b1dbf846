#include "JoplinRestUtils/NoteFields.hpp"

#include <utility>

#include "JoplinRestUtils/UnixTime.hpp"
#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Files/FileTimes.hpp"

namespace JoplinRestUtils {

std::optional<std::int64_t> NoteDateMs(Kestrel::CommonLib::TDateTime local,
                                       const std::optional<std::int64_t>& instant) {
  if (local > 0)
    return DateTimeToUnixMs(local);
  return instant;
}

// To-do state, source, author and place, each only when asked for, so that a
// note without them is sent as it always was.
void AddTodoAndSource(const TJoplinNewNote& from, TJsonValue& note) {
  if (from.IsTodo)
    note["is_todo"] = 1;
  if (const auto due = NoteDateMs(from.TodoDue, from.DueMs))
    note["todo_due"] = *due;
  if (from.TodoCompleted)
    note["todo_completed"] = DateTimeToUnixMs(Kestrel::CommonLib::NowDateTime());
  if (!from.SourceUrl.empty())
    note["source_url"] = from.SourceUrl;
  if (!from.Author.empty())
    note["author"] = from.Author;
  const std::pair<const char*, const std::optional<double>*> places[] = {
      {"latitude", &from.Latitude}, {"longitude", &from.Longitude}, {"altitude", &from.Altitude}};
  for (const auto& [name, value] : places) {
    if (*value)
      note[name] = **value;
  }
}

TJsonValue NotebookFields(const std::string& title, const std::string& parentId) {
  TJsonValue folder = TJsonValue::object();
  folder["title"] = title;
  if (!parentId.empty())
    folder["parent_id"] = parentId;
  return folder;
}

std::string BoundTags(std::vector<std::string>& tags) {
  if (tags.size() <= kMaxTagsPerNote)
    return {};
  std::string warning = "the note has " + std::to_string(tags.size()) + " tags; only the first " +
                        std::to_string(kMaxTagsPerNote) +
                        " are sent (/AllowMany sends them all), without";
  for (size_t i = kMaxTagsPerNote; i < tags.size(); ++i)
    warning += (i == kMaxTagsPerNote ? " " : ", ") + Kestrel::CommonLib::Quoted(tags[i]);
  tags.resize(kMaxTagsPerNote);
  return warning;
}

TJsonValue ResourceProperties(const std::string& file) {
  TJsonValue properties = TJsonValue::object();
  properties["title"] = Kestrel::CommonLib::DisplayFileName(file);
  // The file's times are UTC instants already: sent as they are, they stay
  // true even in the hour that daylight saving repeats.
  // A file dated before 1970 is sent without its times: Joplin refuses them.
  Platform::FileTimeStamps times;
  if (Platform::ReadFileTimes(file, times)) {
    const std::int64_t created = WholeSecondsAsUnixMs(times.Creation);
    const std::int64_t updated = WholeSecondsAsUnixMs(times.LastWrite);
    if (created >= 0 && updated >= 0) {
      properties["created_time"] = created;
      properties["updated_time"] = updated;
    } else {
      Kestrel::CommonLib::Warn("the file " + Kestrel::CommonLib::QuotedPath(file) +
                               " is dated before 1970, which Joplin cannot store; it is sent "
                               "with today's date");
    }
  }
  return properties;
}

}  // namespace JoplinRestUtils
