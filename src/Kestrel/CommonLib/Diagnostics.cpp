#include "Kestrel/CommonLib/Diagnostics.hpp"

#include "Platform/Console/Console.hpp"
#include "Platform/Text/Charset.hpp"

namespace Kestrel::CommonLib {

void Warn(std::string_view text) {
  Platform::WriteErrorLine("quillpost: warning: " + std::string(text));
}

void TellCause(std::string_view text) {
  Platform::WriteErrorLine("quillpost: " + std::string(text));
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string QuotedPath(std::string_view path) {
  return Quoted(Platform::DecodeFromLocale(path));
}

}  // namespace Kestrel::CommonLib
