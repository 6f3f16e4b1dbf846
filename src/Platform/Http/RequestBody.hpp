#pragma once
// A request's body as both HTTP clients send it: every part opened before
// anything is sent (a file that cannot be opened fails the request first),
// then read in order while it goes out; texts from memory, files straight
// from disk, sources as they make their bytes. Never held whole.
#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Files/ReadOnlyFile.hpp"
#include "Platform/Http/HttpClient.hpp"

namespace Platform {

class RequestBody {
 public:
  // False with `error` when a file part cannot be opened.
  bool Open(const std::vector<HttpBodyPart>& parts, std::string& error);
  // The bytes the parts announce in all.
  std::uint64_t Total() const { return FTotal; }
  // The next bytes, at most `size`: 0 at the end, or when a part cannot give
  // the length it announced (a file that shrank, a source that ran dry), which
  // Failed() then tells.
  size_t Read(char* buffer, size_t size);
  bool Failed() const { return FFailed; }
  // From the first byte again (a redirect sends the body anew).
  void Rewind();

 private:
  struct Part {
    std::string_view Text;
    ReadOnlyFile File;
    HttpBodySource* Source = nullptr;
    std::uint64_t Size = 0;
  };
  size_t ReadPart(Part& part, char* buffer, size_t size);

  std::vector<Part> FParts;
  size_t FIndex = 0;
  std::uint64_t FOffset = 0;
  std::uint64_t FTotal = 0;
  bool FFailed = false;
};

}  // namespace Platform
