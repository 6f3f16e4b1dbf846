#include "Quillpost/ResultReport.hpp"

#include "JoplinRestUtils/Json/Json.hpp"
#include "Platform/Console/Console.hpp"

namespace Quillpost {
namespace {

bool& JsonWanted() {
  static bool json = false;
  return json;
}

// ASCII only, so that the line reads the same in every code page.
void WriteJsonLine(const JoplinRestUtils::TJsonValue& object) {
  Platform::WriteLine(WriteJsonCompact(object, JoplinRestUtils::kEscapeAll));
}

}  // namespace

void ReportAsJson(bool json) {
  JsonWanted() = json;
}

void ReportNoteDone(const TNoteResult& result) {
  if (!JsonWanted()) {
    Platform::WriteLine("Done (Note id: " + result.Id + ")");
    return;
  }
  JoplinRestUtils::TJsonValue object = JoplinRestUtils::TJsonValue::object();
  object["id"] = result.Id;
  object["title"] = result.Title;
  object["parent_id"] = result.ParentId;
  object["resources"] = result.Resources;
  object["action"] = result.Appended ? "appended" : "created";
  object["link"] = "joplin://x-callback-url/openNote?id=" + result.Id;
  WriteJsonLine(object);
}

void ReportFailure(const std::string& line, const std::string& kind, const std::string& message) {
  if (!JsonWanted()) {
    Platform::WriteLine(line);
    return;
  }
  JoplinRestUtils::TJsonValue object = JoplinRestUtils::TJsonValue::object();
  object["error"] = kind;
  object["message"] = message;
  WriteJsonLine(object);
}

}  // namespace Quillpost
