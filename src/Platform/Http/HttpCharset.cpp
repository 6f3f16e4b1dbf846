#include "Platform/Http/HttpCharset.hpp"

#include "Platform/Text/Ascii.hpp"
#include "Platform/Text/Utf8.hpp"
#include "Platform/Text/Windows1252.hpp"

namespace Platform {

bool DecodeCharset(std::string_view bytes, const std::string& charset, std::string& text) {
  std::string upper;
  for (const char c : charset)
    upper += AsciiUpper(c);
  if (upper == "UTF-8" || upper == "UTF8" || upper == "US-ASCII" || upper == "ASCII") {
    text = SanitizeUtf8(bytes);
    return true;
  }
  // Latin-1 is read as its superset Windows-1252, as browsers do. Other
  // charsets are not handed to the system converter: it has had memory faults
  // on truncated input from the network (ISO-2022-CN-EXT, IBM code pages).
  if (upper == "ISO-8859-1" || upper == "ISO_8859-1" || upper == "LATIN1" ||
      upper == "WINDOWS-1252" || upper == "CP1252") {
    text = DecodeWindows1252(bytes);
    return true;
  }
  return false;
}

}  // namespace Platform
