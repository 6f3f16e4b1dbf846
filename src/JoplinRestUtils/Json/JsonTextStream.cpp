#include "JoplinRestUtils/Json/JsonTextStream.hpp"

#include <cstring>

namespace JoplinRestUtils {
namespace {

// Strings shorter than this are escaped at once into the text around them.
constexpr size_t kLongString = 64 * 1024;

}  // namespace

class TJsonTextStream::TBuilder : public TJsonCompactSink {
 public:
  TBuilder(TJsonTextStream& stream) : FStream(stream) {}

  void Text(std::string_view text) override { FText += text; }

  void String(std::string_view contents) override {
    FText += '"';
    if (contents.size() < kLongString) {
      AppendJsonEscaped(FText, contents, FStream.FEscaping);
    } else {
      Flush();
      FStream.FSize += JsonEscapedLength(contents, FStream.FEscaping);
      FStream.FSegments.push_back({{}, contents});
    }
    FText += '"';
  }

  void Flush() {
    if (FText.empty())
      return;
    FStream.FSize += FText.size();
    FStream.FSegments.push_back({std::move(FText), std::string_view()});
    FText.clear();
  }

 private:
  TJsonTextStream& FStream;
  std::string FText;
};

TJsonTextStream::TJsonTextStream(const TJsonValue& value, TJsonEscaping escaping)
    : FEscaping(escaping) {
  TBuilder builder(*this);
  WalkJsonCompact(value, builder);
  builder.Flush();
}

void TJsonTextStream::Restart() {
  FIndex = 0;
  FPos = 0;
  FCarry.clear();
}

size_t TJsonTextStream::ReadEscaped(const TSegment& segment, char* buffer, size_t size) {
  size_t written = WriteJsonEscapedPiece(segment.Unescaped, FPos, FEscaping, buffer, size);
  if (written == 0 && FPos < segment.Unescaped.size()) {
    // Room for less than one escape: it goes out in parts.
    char escaped[kLongestJsonEscape];
    const size_t length =
        WriteJsonEscapedPiece(segment.Unescaped, FPos, FEscaping, escaped, sizeof escaped);
    FCarry.assign(escaped + size, length - size);
    std::memcpy(buffer, escaped, size);
    written = size;
  }
  return written;
}

size_t TJsonTextStream::Read(char* buffer, size_t size) {
  if (!FCarry.empty()) {
    const size_t part = std::min(size, FCarry.size());
    std::memcpy(buffer, FCarry.data(), part);
    FCarry.erase(0, part);
    return part;
  }
  while (FIndex < FSegments.size() && size > 0) {
    const TSegment& segment = FSegments[FIndex];
    const size_t length = segment.Escaped() ? segment.Unescaped.size() : segment.Text.size();
    if (FPos >= length) {
      ++FIndex;
      FPos = 0;
      continue;
    }
    if (segment.Escaped())
      return ReadEscaped(segment, buffer, size);
    const size_t part = std::min(size, length - FPos);
    std::memcpy(buffer, segment.Text.data() + FPos, part);
    FPos += part;
    return part;
  }
  return 0;
}

}  // namespace JoplinRestUtils
