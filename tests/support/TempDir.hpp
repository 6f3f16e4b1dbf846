#pragma once
// A fresh directory under the system's temporary directory, removed with
// everything in it at the end; paths are UTF-8 text. Built on std::filesystem
// alone, so that it serves the Linux and the Windows tests alike.
#include <string>
#include <string_view>

namespace TestSupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return FPath; }
  // Path of `name` inside the directory.
  std::string operator/(std::string_view name) const;
  // Writes `content` to `name` (parent directories created, the file readable
  // by its owner alone) and returns its path.
  std::string Write(std::string_view name, std::string_view content) const;
  std::string MakeDir(std::string_view name) const;

 private:
  std::string FPath;
};

std::string ReadFile(const std::string& path);

}  // namespace TestSupport
