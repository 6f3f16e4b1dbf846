#include "JoplinRestUtils/NoteFields.hpp"

#include <utility>

#include "JoplinRestUtils/UnixTime.hpp"
#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
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

TJsonValue ResourceProperties(const std::string& file) {
  TJsonValue properties = TJsonValue::object();
  properties["title"] = Kestrel::CommonLib::DisplayFileName(file);
  // The file's times are UTC instants already: sent as they are, they stay
  // true even in the hour that daylight saving repeats.
  Platform::FileTimeStamps times;
  if (Platform::ReadFileTimes(file, times)) {
    properties["created_time"] = WholeSecondsAsUnixMs(times.Creation);
    properties["updated_time"] = WholeSecondsAsUnixMs(times.LastWrite);
  }
  return properties;
}

}  // namespace JoplinRestUtils
