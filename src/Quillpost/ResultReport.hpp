#pragma once
// The one line on standard output that says how the run ended: the line
// people read ("Done (Note id: ...)", "Create Note failed.", "Kind: message"),
// or with "--json" one JSON object for scripts. Causes still go to standard
// error, and the exit codes stay the same either way.
#include <string>
#include <vector>

namespace Quillpost {

struct TNoteResult {
  std::string Id;
  std::string Title;
  std::string ParentId;
  std::vector<std::string> Resources;  // the ids of the run's uploads
  bool Appended = false;               // to an existing note, not a new one
};

// Chosen once, before anything is reported.
void ReportAsJson(bool json);

// {"id","title","parent_id","resources","action","link"}, or the Done line.
void ReportNoteDone(const TNoteResult& result);
// {"error":kind,"message":message}, or `line`.
void ReportFailure(const std::string& line, const std::string& kind, const std::string& message);

}  // namespace Quillpost
