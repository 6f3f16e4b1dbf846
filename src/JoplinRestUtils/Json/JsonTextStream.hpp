#pragma once
// The compact JSON text of a value as a request body that is written while it
// is sent: long strings (a note's body) are escaped piece by piece straight
// into the sending buffer, so the text is never whole in memory. The bytes are
// exactly those of WriteJsonCompact.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "JoplinRestUtils/Json/Json.hpp"
#include "Platform/Http/HttpClient.hpp"

namespace JoplinRestUtils {

class TJsonTextStream : public Platform::HttpBodySource {
 public:
  // The value must outlive the stream; it is read, not copied.
  TJsonTextStream(const TJsonValue& value, TJsonEscaping escaping);

  std::uint64_t Size() const override { return FSize; }
  void Restart() override;
  size_t Read(char* buffer, size_t size) override;

 private:
  // Text written out already, or a long string escaped as it is read.
  struct TSegment {
    std::string Text;
    std::string_view Unescaped;
    bool Escaped() const { return Unescaped.data() != nullptr; }
  };
  class TBuilder;

  size_t ReadEscaped(const TSegment& segment, char* buffer, size_t size);

  TJsonEscaping FEscaping;
  std::vector<TSegment> FSegments;
  std::uint64_t FSize = 0;
  size_t FIndex = 0;
  size_t FPos = 0;  // within the segment's text, or its unescaped string
  // An escape that did not fit in the caller's buffer, handed out next.
  std::string FCarry;
};

}  // namespace JoplinRestUtils
