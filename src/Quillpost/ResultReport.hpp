#pragma once
// The one line on standard output that says how the run ended: the line
// people read ("Done (Note id: ...)", "Create Note failed.", "Kind: message"),
// or with "--json" one JSON object for scripts. Causes still go to standard
// error, and the exit codes stay the same either way.
#include <string>
#include <vector>

#include "JoplinRestUtils/Import/ImportSending.hpp"

namespace Quillpost {

struct TNoteResult {
  std::string Id;
  std::string Title;
  std::string ParentId;
  std::vector<std::string> Resources;  // the ids of the run's uploads
  bool Appended = false;               // to an existing note, not a new one
};

// What an import did, or (a dry run) would do.
struct TImportSummary {
  bool DryRun = false;
  JoplinRestUtils::TImportCounts Counts;
  size_t Gone = 0;  // files gone whose notes stay
};

// Chosen once, before anything is reported.
void ReportAsJson(bool json);

// {"id","title","parent_id","resources","action","link"}, or the Done line.
void ReportNoteDone(const TNoteResult& result);
// "Import done: 3 created, 1 updated, 10 unchanged, 0 failed, 2 resources
// uploaded" and the other counts that are not 0, or the JSON object of
// every count ("Dry run: 3 to create, ..." for a dry run).
void ReportImportSummary(const TImportSummary& summary);
// {"error":kind,"message":message}, or `line`.
void ReportFailure(const std::string& line, const std::string& kind, const std::string& message);

}  // namespace Quillpost
