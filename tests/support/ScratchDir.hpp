#pragma once
// A fresh directory under the system's temporary directory, removed with
// everything in it at the end; paths are UTF-8 text. Built on std::filesystem
// alone, so that it serves the Windows tests too.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace TestSupport {

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    FPath = std::filesystem::temp_directory_path() /
            ("quillpost-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(FPath);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The UTF-8 path of `name` inside the directory.
  std::string operator/(std::string_view name) const { return Utf8(FPath / Native(name)); }
  std::string Path() const { return Utf8(FPath); }
  std::string Write(std::string_view name, std::string_view content) const {
    const std::filesystem::path path = FPath / Native(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
    return Utf8(path);
  }

 private:
  static std::filesystem::path Native(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  }
  static std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }
  std::filesystem::path FPath;
};

}  // namespace TestSupport
