#pragma once
// A YAML mapping read with the failsafe rules and nothing more: every scalar
// is text (no numbers, booleans or custom tags are made), an alias is a
// value of its own that is never expanded (so a "billion laughs" document
// stays as small as it is written), and only two levels are kept: the
// top-level members, and the scalars of a list or a map under one of them.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Platform/Console/Error.hpp"

namespace JoplinRestUtils {

struct TYamlValue {
  enum class TKind { Scalar, List, Map, Alias };
  TKind Kind = TKind::Scalar;
  std::string Text;                                          // a scalar's
  std::vector<std::string> Items;                            // a list's scalars
  std::vector<std::pair<std::string, std::string>> Members;  // a map's scalar members
  int Line = 1;                                              // where the value starts
};

struct TYamlMember {
  std::string Key;
  TYamlValue Value;
};

// Text that is no YAML, or YAML that is no mapping; Line counts from 1.
class EYamlError : public Platform::Error {
 public:
  EYamlError(int line, const std::string& problem) : Error(problem), Line(line) {}
  const char* KindName() const noexcept override { return "EYamlError"; }
  int Line;
};

// The members of the mapping that `text` holds, in order; an empty text is an
// empty mapping. Throws EYamlError.
std::vector<TYamlMember> ReadYamlMap(std::string_view text);

}  // namespace JoplinRestUtils
