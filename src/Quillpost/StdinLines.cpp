#include "Quillpost/StdinLines.hpp"

#include "Platform/Charset.hpp"

namespace Quillpost {
namespace {

constexpr int kCtrlZ = 26;

bool AtEndOfInput(Platform::ByteReader& input) {
  const int next = input.Peek();
  return next < 0 || next == kCtrlZ;
}

std::string ReadLineBytes(Platform::ByteReader& input) {
  std::string line;
  while (!AtEndOfInput(input)) {
    const int byte = input.Get();
    if (byte == '\n')
      break;
    if (byte == '\r') {
      if (input.Peek() == '\n') {
        input.Get();
        break;
      }
      continue;  // a lone CR is dropped
    }
    line += static_cast<char>(byte);
  }
  return line;
}

}  // namespace

void ReadStdinLines(Kestrel::CommonLib::TStringList& lines, bool utf8,
                    Platform::ByteReader& input) {
  (void)utf8;
  lines.Clear();
  while (!AtEndOfInput(input))
    lines.Add(Platform::DecodeFromLocale(ReadLineBytes(input)));
}

}  // namespace Quillpost
