#include "JoplinRestUtils/NewNote.hpp"

namespace JoplinRestUtils {

void TakeFrontMatterState(const TFrontMatter& fields, TJoplinNewNote& note) {
  note.CreatedMs = fields.Created;
  note.UpdatedMs = fields.Updated;
  note.DueMs = fields.Due;
  note.Latitude = fields.Latitude;
  note.Longitude = fields.Longitude;
  note.Altitude = fields.Altitude;
  note.IsTodo = fields.Completed.has_value() || fields.Due.has_value();
  note.TodoCompleted = fields.Completed.value_or(false);
}

}  // namespace JoplinRestUtils
