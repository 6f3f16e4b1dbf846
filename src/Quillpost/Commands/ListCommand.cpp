#include "Quillpost/Commands/ListCommand.hpp"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Console/Console.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/Settings/Settings.hpp"

namespace Quillpost {
namespace {

using Kestrel::CommonLib::TStringList;

using TTitles = std::unordered_map<std::string, std::string>;

// A notebook's titles from the top. A parent that is not listed counts as
// the top; a loop of parents is cut where it closes.
std::string NotebookPath(const std::string& id, const TTitles& titles,
                         const JoplinRestUtils::TFolderParents& parents) {
  std::string path;
  std::string current = id;
  for (size_t steps = 0; !current.empty() && steps <= titles.size(); ++steps) {
    const auto title = titles.find(current);
    if (title == titles.end())
      break;
    path = path.empty() ? title->second : title->second + "/" + path;
    const auto parent = parents.find(current);
    current = parent == parents.end() ? std::string() : parent->second;
  }
  return path;
}

std::vector<std::string> Lines(TListKind kind, const JoplinRestUtils::TJoplinRest& client) {
  std::vector<std::string> lines;
  if (kind == TListKind::Tags) {
    for (const auto& entry : client.Tags().Lines())
      lines.emplace_back(TStringList::ValueOf(entry));
  } else {
    TTitles titles;
    for (const auto& entry : client.Folders().Lines())
      titles.emplace(TStringList::NameOf(entry), TStringList::ValueOf(entry));
    for (const auto& entry : client.Folders().Lines())
      lines.push_back(
          NotebookPath(std::string(TStringList::NameOf(entry)), titles, client.FolderParents()));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

int RunList(TListKind kind, const std::string& url, const std::string& token) {
  JoplinRestUtils::TJoplinRest client(token, url, RunLimits());
  try {
    const bool read = kind == TListKind::Tags ? client.ReadTags() : client.ReadNotebooks();
    if (!read) {
      Kestrel::CommonLib::TellCause(client.LastFailure());
      return kExitNotCreated;
    }
  } catch (const JoplinRestUtils::ERequestRefused& refused) {
    Kestrel::CommonLib::TellCause(refused.Cause().empty() ? refused.what() : refused.Cause());
    return kExitNotCreated;
  }
  for (const auto& line : Lines(kind, client))
    Platform::WriteLine(line);
  return kExitOk;
}

}  // namespace Quillpost
