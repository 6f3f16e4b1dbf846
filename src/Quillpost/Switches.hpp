#pragma once
// The switches Quillpost knows, and the questions the steps ask about them.
// The word after a switch that takes a value is that value unless it is a
// switch of this table, so "/I -5 degrees" and "/S /tmp" mean what they say.
#include <span>
#include <string>
#include <string_view>

#include "Kestrel/CommonLib/SwitchScanner.hpp"

namespace Quillpost {

enum class TSwitchKind {
  Flag,       // "/SN": nothing follows
  Value,      // "/N Inbox": the next word
  List,       // "/TT a b c": the words up to the next switch
  Setting,    // "/IniFile=PATH": one parameter, "/" form only
  LongOption  // "--check": the whole parameter, as written
};

struct TSwitchSpec {
  const char* Name;  // without "/" or "-" for the first three kinds
  TSwitchKind Kind;
};

std::span<const TSwitchSpec> KnownSwitchTable();
const Kestrel::CommonLib::TSwitchSet& KnownSwitches();

// "/" + name or "-" + name is present as a whole parameter.
bool FindSwitch(const Kestrel::CommonLib::TParamList& params, std::string_view name);
// The first value of a value switch; `value` untouched without one.
bool SwitchValue(const Kestrel::CommonLib::TParamList& params, std::string_view name,
                 std::string& value);
std::string SwitchValueDef(const Kestrel::CommonLib::TParamList& params, std::string_view name,
                           const std::string& defaultValue);
// Every value of `single` ("/A x" each time), then those of `list` ("/AA x y").
Kestrel::CommonLib::TStringList SwitchValuesThenList(const Kestrel::CommonLib::TParamList& params,
                                                     std::string_view single,
                                                     std::string_view list);

}  // namespace Quillpost
