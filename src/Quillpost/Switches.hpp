#pragma once
// The switches Quillpost knows, one row each: how it is written, what it
// takes, whether an import accepts it, and its line in "--help" (printed from
// the table; the manual page and the completions are checked against it).
// And the questions the steps ask about them. The word after a switch that
// takes a value is that value unless it is a switch of this table, so
// "/I -5 degrees" and "/S /tmp" mean what they say.
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
  const char* Name;  // as written: "/N", "--import", "/IniFile=", "--check"
  TSwitchKind Kind;
  bool WithImport;       // accepted with "--import"
  const char* Argument;  // in the help: "[Notebook]", "DIR"; "" for none
  // The help's lines, "\n" between them; "{ANSI}" and "{UTF8}" stand for this
  // system's own words. Empty: the switch is described on the line before.
  const char* Help;
  const char* HelpName = nullptr;  // the help's name for the row, where it names two
};

// In the order of the help.
std::span<const TSwitchSpec> KnownSwitchTable();
// The name as the switch scanner matches it, led by "/" or "-": "/N" is "N",
// "--import" is "-import"; a setting or a long option as written.
std::string ScannerName(const TSwitchSpec& spec);
const Kestrel::CommonLib::TSwitchSet& KnownSwitches();

// The functions below take a name as written ("/N", "--import") or as the
// scanner matches it ("N").
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
