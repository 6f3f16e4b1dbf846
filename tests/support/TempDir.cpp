#include "support/TempDir.hpp"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace TestSupport {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillpost-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("mkdtemp failed");
  FPath = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::string TempDir::Write(std::string_view name, std::string_view content) const {
  const std::filesystem::path path = *this / name;
  std::filesystem::create_directories(path.parent_path());
  {
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  // Private like a settings file that holds a token should be.
  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return path.string();
}

std::string TempDir::MakeDir(std::string_view name) const {
  const std::string path = *this / name;
  std::filesystem::create_directories(path);
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace TestSupport
