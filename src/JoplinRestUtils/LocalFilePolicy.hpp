#pragma once
// Which local files a body may pull in: a Markdown or HTML body downloaded
// from anywhere must not upload the user's private files. Only files that lie
// under the body file's own folder once symbolic links and ".." are resolved,
// and there neither hidden (a name that begins with a dot) nor in a folder of
// secrets or tools (.git, .ssh, .aws, .config...); never a settings file of
// this run; and within a bound on their number and their total size.
#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Console/Error.hpp"
#include "Platform/Files/Files.hpp"

namespace JoplinRestUtils {

// A body that would pull in more files, or more bytes, than the bound allows.
class EBodyFilesBeyondBound : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EBodyFilesBeyondBound"; }
};

struct TLocalFilePolicy {
  std::string Folder;                   // files must lie under it; empty: anywhere
  std::vector<std::string> Never;       // never uploaded, whatever path names them
  std::vector<std::string> NeverUnder;  // folders nothing is uploaded from
  size_t MaxFiles = 1000;               // 0: no bound on the number
  std::uint64_t MaxBytes = 1 << 30;     // 0: no bound on the size
};

enum class TLocalFileVerdict { Allowed, Outside, Hidden, Forbidden };

// Judges the files of one body against a policy: the policy's folder and
// its never-sent files are resolved once, not once for every file.
class TLocalFileJudge {
 public:
  explicit TLocalFileJudge(const TLocalFilePolicy& policy);
  TLocalFileVerdict Judge(const std::string& path) const;

 private:
  std::string FFolder;  // resolved
  bool FKeepsFolderRule = false;
  std::vector<Platform::FileIdentity> FNever;  // those that name nothing left out
  std::vector<std::string> FNeverUnder;        // resolved
};

// The warning for a link left as written: `written` is the link as the body
// has it.
std::string LeftLinkWarning(TLocalFileVerdict verdict, const std::string& written);

// Throws EBodyFilesBeyondBound when the files together pass the bound.
void CheckBodyFileBound(const TLocalFilePolicy& policy, const std::vector<std::string>& files);

}  // namespace JoplinRestUtils
