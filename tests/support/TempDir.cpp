#include "support/TempDir.hpp"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace TestSupport {
namespace {

std::filesystem::path Native(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

TempDir::TempDir() {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::ostringstream name;
    name << "quillpost-test-" << std::hex << random();
    const std::filesystem::path path = base / name.str();
    std::error_code error;
    // Made here, by this test alone: a folder that exists already is not taken.
    if (std::filesystem::create_directory(path, error)) {
      std::filesystem::permissions(path, std::filesystem::perms::owner_all, error);
      FPath = Utf8(path);
      return;
    }
  }
  throw std::runtime_error("no temporary directory could be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Native(FPath), ignored);
}

std::string TempDir::operator/(std::string_view name) const {
  return FPath + "/" + std::string(name);
}

std::string TempDir::Write(std::string_view name, std::string_view content) const {
  const std::filesystem::path path = Native(*this / name);
  std::filesystem::create_directories(path.parent_path());
  {
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  // Private like a settings file that holds a token should be.
  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return Utf8(path);
}

std::string TempDir::MakeDir(std::string_view name) const {
  const std::string path = *this / name;
  std::filesystem::create_directories(Native(path));
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(Native(path), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace TestSupport
