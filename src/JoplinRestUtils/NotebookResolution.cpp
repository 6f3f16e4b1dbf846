#include "JoplinRestUtils/NotebookResolution.hpp"

#include <vector>

#include "JoplinRestUtils/Directories.hpp"
#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/ItemId.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "JoplinRestUtils/NoteFields.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

std::vector<std::string> PathSteps(std::string_view path) {
  std::vector<std::string> steps;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = std::min(path.find('/', start), path.size());
    if (slash > start)
      steps.emplace_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return steps;
}

// The ids of the notebooks titled `title` (ASCII case ignored), in list order;
// with `parentId`, only among that notebook's children.
std::vector<std::string> TitleMatches(const TStringList& folders, const TFolderParents& parents,
                                      std::string_view title, const std::string* parentId) {
  std::vector<std::string> ids;
  for (const auto& entry : folders.Lines()) {
    if (!Kestrel::CommonLib::SameText(TStringList::ValueOf(entry), title))
      continue;
    const std::string id(TStringList::NameOf(entry));
    if (id.empty())  // an entry without an id is no notebook to file a note in
      continue;
    if (parentId != nullptr) {
      const auto parent = parents.find(id);
      if ((parent == parents.end() ? std::string() : parent->second) != *parentId)
        continue;
    }
    ids.push_back(id);
  }
  return ids;
}

// The last of the matches, with a warning when there are several.
std::string LastMatch(const std::vector<std::string>& ids, std::string_view title) {
  if (ids.size() > 1) {
    Kestrel::CommonLib::Warn(
        std::to_string(ids.size()) + " notebooks are titled " + Kestrel::CommonLib::Quoted(title) +
        "; using the last one listed (write \"Parent/" + std::string(title) + "\" to choose)");
  }
  return ids.back();
}

bool HoldsId(const TStringList& folders, std::string_view id) {
  for (const auto& entry : folders.Lines()) {
    if (TStringList::NameOf(entry) == id)
      return true;
  }
  return false;
}

}  // namespace

bool TNotebookResolution::Create(const std::string& title, const std::string& parentId,
                                 std::string& id) {
  const TJsonValue folder = NotebookFields(title, parentId);
  if (!FClient.Post("folders", &folder))
    return false;
  std::string answeredTitle;
  if (FClient.RestResponse().StatusCode() >= 300 ||
      !ParseIdAndTitle(FClient.ResponseJsonText(), id, answeredTitle) || id.empty())
    throw ERequestRefused(RefusalMessage(FClient), FClient.LastFailure());
  FFolders.SetValue(id, answeredTitle.empty() ? title : answeredTitle);
  if (!parentId.empty())
    FParents[id] = parentId;
  return true;
}

bool TNotebookResolution::Resolve(std::string_view ANotebookName, bool ACreate,
                                  std::string& varNotebookId) {
  const std::vector<std::string> whole = TitleMatches(FFolders, FParents, ANotebookName, nullptr);
  if (!whole.empty()) {
    varNotebookId = LastMatch(whole, ANotebookName);
    return true;
  }
  if (IsItemId(ANotebookName) && HoldsId(FFolders, ANotebookName)) {
    varNotebookId = std::string(ANotebookName);
    return true;
  }
  if (Kestrel::CommonLib::IsEmptyText(ANotebookName, true)) {
    varNotebookId.clear();
    return true;
  }
  // A path of titles from the top; a plain title is a path of one step.
  const std::vector<std::string> steps = PathSteps(ANotebookName);
  std::string parentId;
  size_t found = 0;
  for (; found < steps.size(); ++found) {
    const std::vector<std::string> children =
        TitleMatches(FFolders, FParents, steps[found], &parentId);
    if (children.empty())
      break;
    parentId = LastMatch(children, steps[found]);
  }
  if (found < steps.size() || steps.empty()) {
    if (!ACreate || steps.empty()) {
      throw ENotebookNotFound("Notebook " + Kestrel::CommonLib::Quoted(ANotebookName) +
                              " not found (add /NC to create it)");
    }
    for (; found < steps.size(); ++found) {
      std::string created;
      if (!Create(steps[found], parentId, created))
        return false;
      parentId = created;
    }
  }
  varNotebookId = parentId;
  return true;
}

}  // namespace JoplinRestUtils
