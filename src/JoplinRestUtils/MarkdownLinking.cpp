#include "JoplinRestUtils/MarkdownLinking.hpp"

#include <unordered_map>

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

}  // namespace JoplinRestUtils
