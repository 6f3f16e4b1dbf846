#pragma once
// The note a run made or changed, as the server answered, or why it made none.
#include <string>
#include <vector>

#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

struct TNoteDone {
  std::string Id;
  std::string Title;
  std::string ParentId;
  std::vector<std::string> ResourceIds;  // the run's uploads that the note links
};

struct TNoteOutcome {
  bool Done = false;
  TNoteDone Note;       // when done
  std::string Failure;  // when not: why, for people
};

// The note made or changed; `uploaded` are id=file entries.
inline TNoteOutcome NoteMade(std::string id, std::string title, std::string parentId,
                             const Kestrel::CommonLib::TStringList& uploaded) {
  TNoteOutcome outcome{true, {std::move(id), std::move(title), std::move(parentId), {}}, {}};
  for (const auto& entry : uploaded.Lines())
    outcome.Note.ResourceIds.emplace_back(Kestrel::CommonLib::TStringList::NameOf(entry));
  return outcome;
}

// No note made or changed, and why.
inline TNoteOutcome NoteFailed(std::string failure) {
  return {false, {}, std::move(failure)};
}

}  // namespace JoplinRestUtils
