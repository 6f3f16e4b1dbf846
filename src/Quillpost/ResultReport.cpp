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

namespace {

std::string Counted(size_t count, const char* what) {
  return std::to_string(count) + " " + what;
}

std::string ImportSummaryLine(const TImportSummary& summary) {
  const bool dry = summary.DryRun;
  const JoplinRestUtils::TImportCounts& s = summary.Counts;
  std::string line = dry ? "Dry run: " : "Import done: ";
  line += Counted(s.Created, dry ? "to create" : "created") + ", " +
          Counted(s.Updated, dry ? "to update" : "updated") + ", " +
          Counted(s.Unchanged, "unchanged") + ", " + Counted(s.Failed, dry ? "failing" : "failed") +
          ", " + Counted(s.Uploaded, dry ? "resources to upload" : "resources uploaded");
  const std::pair<size_t, const char*> others[] = {{s.Restored, dry ? "to restore" : "restored"},
                                                   {s.Pruned, dry ? "to prune" : "pruned"},
                                                   {s.LeftDeleted, "deleted in Joplin"},
                                                   {summary.Gone, "files gone"}};
  for (const auto& [count, what] : others) {
    if (count != 0)
      line += ", " + Counted(count, what);
  }
  return line;
}

}  // namespace

void ReportImportSummary(const TImportSummary& summary) {
  if (!JsonWanted()) {
    Platform::WriteLine(ImportSummaryLine(summary));
    return;
  }
  JoplinRestUtils::TJsonValue object = JoplinRestUtils::TJsonValue::object();
  object["dry_run"] = summary.DryRun;
  const JoplinRestUtils::TImportCounts& counts = summary.Counts;
  object["created"] = counts.Created;
  object["updated"] = counts.Updated;
  object["unchanged"] = counts.Unchanged;
  object["failed"] = counts.Failed;
  object["resources_uploaded"] = counts.Uploaded;
  object["restored"] = counts.Restored;
  object["pruned"] = counts.Pruned;
  object["deleted_in_joplin"] = counts.LeftDeleted;
  object["files_gone"] = summary.Gone;
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
