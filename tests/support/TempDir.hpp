#pragma once
// A fresh directory under /tmp, removed with everything in it at the end.
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
  std::string operator/(std::string_view name) const { return FPath + "/" + std::string(name); }
  // Writes `content` to `name` (parent directories created, the file readable
  // by its owner alone) and returns its path.
  std::string Write(std::string_view name, std::string_view content) const;
  std::string MakeDir(std::string_view name) const;

 private:
  std::string FPath;
};

std::string ReadFile(const std::string& path);

}  // namespace TestSupport
