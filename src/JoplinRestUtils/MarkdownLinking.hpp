#pragma once
// The local files a Markdown body links to, as Joplin's own Markdown import
// finds them: which links name files the body may upload (LocalFilePolicy),
// planned before anything is sent. TBodyUploads then uploads them and points
// the links at the resources.
#include <string>
#include <string_view>
#include <vector>

#include "JoplinRestUtils/LocalFilePolicy.hpp"

namespace JoplinRestUtils {

struct TPlannedLink {
  size_t Start = 0;  // of the link's destination in the body
  size_t Length = 0;
  size_t File = 0;  // into TMarkdownLinkPlan::Files
};

struct TMarkdownLinkPlan {
  std::vector<TPlannedLink> Links;  // in body order
  std::vector<std::string> Files;   // each once, in the order first linked
};

// Warns about each link left as written: naming no file, outside the
// policy's folder, or a settings file.
TMarkdownLinkPlan PlanMarkdownLinks(const std::string& body, std::string_view baseDir,
                                    const TLocalFilePolicy& policy);

}  // namespace JoplinRestUtils
