// How TJoplinRest points a Markdown body's links to local files at uploaded
// resources, as Joplin's own Markdown import does.
#include "JoplinRestUtils/MarkdownLinking.hpp"

#include <unordered_map>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "JoplinRestUtils/Markup/MarkdownTargets.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Files/Files.hpp"

namespace JoplinRestUtils {

TMarkdownLinkPlan PlanMarkdownLinks(const std::string& body, std::string_view baseDir,
                                    const TLocalFilePolicy& policy) {
  TMarkdownLinkPlan plan;
  const TLocalFileJudge judge(policy);
  std::unordered_map<std::string, size_t> fileIndex;
  for (const TMarkdownTarget& target : FindMarkdownTargets(body)) {
    const std::string written(std::string_view(body).substr(target.Start, target.Length));
    if (!IsLocalTarget(written))
      continue;
    const std::optional<std::string> path = ResolveLocalReference(PercentDecode(written), baseDir);
    if (!path || !Platform::FileExists(*path)) {
      Kestrel::CommonLib::Warn("the body links to " + Kestrel::CommonLib::Quoted(written) +
                               ", which names no file; left as it is");
      continue;
    }
    auto known = fileIndex.find(*path);
    if (known == fileIndex.end()) {
      const TLocalFileVerdict verdict = judge.Judge(*path);
      if (verdict != TLocalFileVerdict::Allowed) {
        Kestrel::CommonLib::Warn(LeftLinkWarning(verdict, written));
        continue;
      }
      known = fileIndex.emplace(*path, plan.Files.size()).first;
      plan.Files.push_back(*path);
    }
    plan.Links.push_back({target.Start, target.Length, known->second});
  }
  return plan;
}

void TJoplinRest::LinkLocalFiles(std::string& body, const TMarkdownLinkPlan& plan,
                                 Kestrel::CommonLib::TStringList& uploaded) {
  std::vector<std::string> ids(plan.Files.size());
  for (size_t i = 0; i < plan.Files.size() && !UploadsStopped(); ++i) {
    const std::string& path = plan.Files[i];
    TellBodyUpload(path);
    if (!UploadResourceFile(path, ids[i])) {
      ids[i].clear();
      Kestrel::CommonLib::Warn("the file " + Kestrel::CommonLib::QuotedPath(path) +
                               " that the body links to was not uploaded (" + LastFailure() +
                               "); its link is left as it is");
      continue;
    }
    uploaded.SetValue(ids[i], path);
  }
  std::string linked;
  size_t copied = 0;
  for (const TPlannedLink& link : plan.Links) {
    if (ids[link.File].empty())
      continue;
    if (linked.empty())
      linked.reserve(body.size());
    linked.append(body, copied, link.Start - copied);
    linked += ":/" + ids[link.File];
    copied = link.Start + link.Length;
  }
  // A body without local links is left as it is, not copied.
  if (copied == 0)
    return;
  linked.append(body, copied, std::string::npos);
  body = std::move(linked);
}

}  // namespace JoplinRestUtils
