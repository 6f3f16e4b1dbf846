#include "JoplinRestUtils/LocalFilePolicy.hpp"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Files/PathRules.hpp"
#include "Platform/Text/Ascii.hpp"

namespace JoplinRestUtils {
namespace {

// Folders that hold credentials or a tool's state: a link into one is no
// picture of a note, whoever wrote the body.
constexpr std::string_view kSecretFolders[] = {".git",   ".ssh",           ".gnupg",  ".aws",
                                               ".azure", ".kube",          ".docker", ".config",
                                               ".local", ".password-store"};

bool IsSecretFolder(std::string_view name) {
  const std::string lower = Platform::AsciiLowerCase(name);
  for (const std::string_view secret : kSecretFolders) {
    if (lower == secret)
      return true;
  }
  return false;
}

// A file whose own name begins with a dot (".env"), or one below the folder
// inside a folder of secrets; other dotted folders (".attachments") are fine.
bool IsHiddenBelow(std::string_view resolved, std::string_view folder) {
  std::string_view below = resolved.substr(std::min(folder.size(), resolved.size()));
  const char separator = Platform::PathDelimiter();
  while (!below.empty() && (below.front() == separator || below.front() == '/'))
    below.remove_prefix(1);
  while (!below.empty()) {
    const size_t end = std::min(below.find_first_of(std::string{separator, '/'}), below.size());
    const std::string_view name = below.substr(0, end);
    const bool last = end == below.size();
    if ((last && name.starts_with('.')) || (!last && IsSecretFolder(name)))
      return true;
    below.remove_prefix(std::min(end + 1, below.size()));
  }
  return false;
}

std::uint64_t SizeOf(const std::string& path) {
  std::uint64_t size = 0;
  return Platform::FileSize(path, size) ? size : 0;
}

}  // namespace

TLocalFileJudge::TLocalFileJudge(const TLocalFilePolicy& policy) {
  // A folder rule stays a rule even when the folder cannot be resolved:
  // nothing then lies under it.
  if (!policy.Folder.empty()) {
    FFolder = Platform::ResolvedPath(policy.Folder);
    FKeepsFolderRule = true;
  }
  for (const auto& never : policy.Never) {
    if (const auto identity = Platform::IdentityOf(never))
      FNever.push_back(*identity);
  }
  for (const auto& folder : policy.NeverUnder) {
    std::string resolved = Platform::ResolvedPath(folder);
    if (!resolved.empty())
      FNeverUnder.push_back(std::move(resolved));
  }
}

TLocalFileVerdict TLocalFileJudge::Judge(const std::string& path) const {
  const std::string resolved = Platform::ResolvedPath(path);
  if (resolved.empty())
    return TLocalFileVerdict::Outside;
  // By the file, not the path: a hard link or a link to a settings file is
  // that file.
  if (const auto identity = Platform::IdentityOf(resolved)) {
    for (const auto& never : FNever) {
      if (never == *identity)
        return TLocalFileVerdict::Forbidden;
    }
  }
  for (const auto& folder : FNeverUnder) {
    if (Kestrel::CommonLib::LiesUnder(resolved, folder))
      return TLocalFileVerdict::Forbidden;
  }
  if (FKeepsFolderRule && !Kestrel::CommonLib::LiesUnder(resolved, FFolder))
    return TLocalFileVerdict::Outside;
  if (FKeepsFolderRule && IsHiddenBelow(resolved, FFolder))
    return TLocalFileVerdict::Hidden;
  return TLocalFileVerdict::Allowed;
}

std::string LeftLinkWarning(TLocalFileVerdict verdict, const std::string& written) {
  const std::string link = Kestrel::CommonLib::Quoted(written);
  if (verdict == TLocalFileVerdict::Forbidden)
    return "the body links to " + link +
           ", a settings file or state of Quillpost's or Joplin's; left as it is";
  if (verdict == TLocalFileVerdict::Hidden)
    return "the body links to " + link +
           ", a hidden file or one in a folder of secrets or tools (.git, .ssh, .config...); "
           "left as it is (/AllowOutside uploads it)";
  return "the body links to " + link +
         ", which lies outside the body file's folder; left as it is (/AllowOutside uploads it)";
}

void CheckBodyFileBound(const TLocalFilePolicy& policy, const std::vector<std::string>& files) {
  std::unordered_set<std::string> distinct(files.begin(), files.end());
  if (policy.MaxFiles > 0 && distinct.size() > policy.MaxFiles) {
    throw EBodyFilesBeyondBound("the body links to " + std::to_string(distinct.size()) +
                                " files, more than " + std::to_string(policy.MaxFiles) +
                                " (/AllowMany sends them all)");
  }
  std::uint64_t total = 0;
  for (const auto& file : distinct)
    total += SizeOf(file);
  if (policy.MaxBytes > 0 && total > policy.MaxBytes) {
    throw EBodyFilesBeyondBound("the files the body links to hold " + std::to_string(total >> 20) +
                                " MiB, more than " + std::to_string(policy.MaxBytes >> 20) +
                                " MiB (/AllowMany sends them all)");
  }
}

}  // namespace JoplinRestUtils
