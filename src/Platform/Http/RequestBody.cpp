#include "Platform/Http/RequestBody.hpp"

#include <algorithm>
#include <cstring>

namespace Platform {

bool RequestBody::Open(const std::vector<HttpBodyPart>& parts, std::string& error) {
  for (const auto& part : parts) {
    Part open;
    if (part.Source) {
      open.Source = part.Source.get();
      open.Source->Restart();
      open.Size = open.Source->Size();
    } else if (part.FilePath.empty()) {
      open.Text = part.Text;
      open.Size = part.Text.size();
    } else {
      if (!open.File.Open(part.FilePath, error))
        return false;
      open.Size = open.File.Size();
    }
    FTotal += open.Size;
    FParts.push_back(std::move(open));
  }
  return true;
}

size_t RequestBody::ReadPart(Part& part, char* buffer, size_t size) {
  if (part.Source != nullptr) {
    const size_t made = part.Source->Read(buffer, size);
    return made > size ? 0 : made;
  }
  if (part.File.IsOpen())
    return part.File.ReadAt(FOffset, buffer, size);
  std::memcpy(buffer, part.Text.data() + FOffset, size);
  return size;
}

size_t RequestBody::Read(char* buffer, size_t size) {
  while (FIndex < FParts.size() && !FFailed) {
    Part& part = FParts[FIndex];
    const std::uint64_t left = part.Size - FOffset;
    if (left == 0) {
      ++FIndex;
      FOffset = 0;
      continue;
    }
    const auto chunk = static_cast<size_t>(std::min<std::uint64_t>(left, size));
    const size_t got = ReadPart(part, buffer, chunk);
    if (got == 0) {
      FFailed = true;
      return 0;
    }
    FOffset += got;
    return got;
  }
  return 0;
}

void RequestBody::Rewind() {
  FIndex = 0;
  FOffset = 0;
  FFailed = false;
  for (auto& part : FParts) {
    if (part.Source != nullptr)
      part.Source->Restart();
  }
}

}  // namespace Platform
