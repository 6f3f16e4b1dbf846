#pragma once
// Questions about the command-line parameters (argv[1..], never empty): is a
// parameter present, the value of a "Name=value" parameter, the value after a
// switch, the run of values after a list switch. A parameter starting with "-",
// or with "/" and no further "/" before an "=", is a switch (so an absolute
// path is a value); names compare ignoring ASCII case. Nothing here fails.
#include <string>
#include <string_view>
#include <vector>

#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace Kestrel::CommonLib {

using TParamList = std::vector<std::string>;

// The rest of the last parameter that starts with `name` + "=", or `defaultValue`.
std::string GetParamValue(const TParamList& params, std::string_view name,
                          const std::string& defaultValue);

// Some parameter equals `text` as a whole, ignoring case.
bool ParamExists(const TParamList& params, std::string_view text);

// Appends the parameter right after each occurrence of the switch, when that
// parameter is no switch. True when the list then holds at least one entry.
bool GetSwitchValues(const TParamList& params, std::string_view name, TStringList& list,
                     bool clearFirst);

// Appends every non-switch parameter from the first occurrence of the switch to
// the next other switch. True when the list then holds at least one entry.
bool GetSwitchValueList(const TParamList& params, std::string_view name, TStringList& list,
                        bool clearFirst);

// The first value of the switch; `value` is left untouched when there is none.
bool GetSwitchValue(const TParamList& params, std::string_view name, std::string& value);

std::string GetSwitchValueDef(const TParamList& params, std::string_view name,
                              const std::string& defaultValue);

}  // namespace Kestrel::CommonLib
