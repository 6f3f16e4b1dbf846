#pragma once
// Text equality tests: ignoring the case of ASCII letters only, or exactly.
#include <initializer_list>
#include <string_view>

namespace Kestrel::CommonLib {

// Equal after "a".."z" are mapped to "A".."Z"; no other letter is folded.
bool SameText(std::string_view a, std::string_view b);

bool MatchesAnyText(std::string_view text, std::initializer_list<std::string_view> candidates);
bool MatchesAnyStr(std::string_view text, std::initializer_list<std::string_view> candidates);

}  // namespace Kestrel::CommonLib
