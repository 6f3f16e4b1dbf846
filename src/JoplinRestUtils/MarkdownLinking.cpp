// How TJoplinRest points a Markdown body's links to local files at uploaded
// resources, as Joplin's own Markdown import does.
#include <unordered_map>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "JoplinRestUtils/Markup/MarkdownTargets.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Files/Files.hpp"

namespace JoplinRestUtils {

void TJoplinRest::LinkLocalFiles(std::string& body, std::string_view baseDir,
                                 Kestrel::CommonLib::TStringList& uploaded) {
  std::unordered_map<std::string, std::string> idOfPath;
  std::string linked;
  size_t copied = 0;
  for (const TMarkdownTarget& target : FindMarkdownTargets(body)) {
    const std::string_view written = std::string_view(body).substr(target.Start, target.Length);
    if (!IsLocalTarget(written))
      continue;
    const std::optional<std::string> path = ResolveLocalReference(PercentDecode(written), baseDir);
    if (!path || !Platform::FileExists(*path)) {
      Kestrel::CommonLib::Warn("the body links to " + Kestrel::CommonLib::Quoted(written) +
                               ", which names no file; left as it is");
      continue;
    }
    auto known = idOfPath.find(*path);
    if (known == idOfPath.end()) {
      std::string id;
      if (!UploadResourceFile(*path, id)) {
        Kestrel::CommonLib::Warn("the file " + Kestrel::CommonLib::QuotedPath(*path) +
                                 " that the body links to was not uploaded (" + LastFailure() +
                                 "); its link is left as it is");
        continue;
      }
      uploaded.SetValue(id, *path);
      known = idOfPath.emplace(*path, id).first;
    }
    if (linked.empty())
      linked.reserve(body.size());
    linked.append(body, copied, target.Start - copied);
    linked += ":/" + known->second;
    copied = target.Start + target.Length;
  }
  // A body without local links is left as it is, not copied.
  if (copied == 0)
    return;
  linked.append(body, copied, std::string::npos);
  body = std::move(linked);
}

}  // namespace JoplinRestUtils
