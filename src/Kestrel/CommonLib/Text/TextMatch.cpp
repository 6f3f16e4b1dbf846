#include "Kestrel/CommonLib/Text/TextMatch.hpp"

#include "Platform/Text/Ascii.hpp"

namespace Kestrel::CommonLib {
bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Platform::AsciiUpper(a[i]) != Platform::AsciiUpper(b[i]))
      return false;
  }
  return true;
}

bool MatchesAnyText(std::string_view text, std::initializer_list<std::string_view> candidates) {
  for (const auto candidate : candidates) {
    if (SameText(text, candidate))
      return true;
  }
  return false;
}

bool MatchesAnyStr(std::string_view text, std::initializer_list<std::string_view> candidates) {
  for (const auto candidate : candidates) {
    if (text == candidate)
      return true;
  }
  return false;
}

}  // namespace Kestrel::CommonLib
