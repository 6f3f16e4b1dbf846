#pragma once
// Questions about the command-line parameters (argv[1..], never empty): is a
// parameter present, the value of a "Name=value" parameter, the value after a
// switch, the run of values after a list switch. Names compare ignoring ASCII
// case. Nothing here fails.
//
// Which parameters are switches is a `TSwitchSet`. By shape alone (the
// default), a parameter starting with "-", or with "/" and no further "/"
// before an "=", is a switch (so an absolute path is a value). A set of the
// switches a program knows makes only those switches, so that a value such as
// "-5 degrees outside" or "/tmp" is taken where a value is due.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace Kestrel::CommonLib {

using TParamList = std::vector<std::string>;

class TSwitchSet {
 public:
  // Switches by their shape.
  static const TSwitchSet& ByShape();
  // Exactly these: names written after "/" or "-" ("N", "AA", "?"), whole
  // parameters ("--help"), and "Name=value" prefixes ("/IniFile=").
  TSwitchSet(std::vector<std::string> names, std::vector<std::string> wholeParams,
             std::vector<std::string> valuePrefixes);

  bool IsSwitch(std::string_view param) const;

 private:
  TSwitchSet() = default;
  bool FByShape = true;
  std::vector<std::string> FNames, FWholeParams, FValuePrefixes;
};

// A parameter that reads as a switch by its shape.
bool LooksLikeSwitch(std::string_view param);

// The rest of the last parameter that starts with `name` + "=", or `defaultValue`.
std::string GetParamValue(const TParamList& params, std::string_view name,
                          const std::string& defaultValue);

// Some parameter equals `text` as a whole, ignoring case.
bool ParamExists(const TParamList& params, std::string_view text);

// The places of the values GetSwitchValues and GetSwitchValueList take.
std::vector<size_t> SwitchValuePlaces(const TParamList& params, std::string_view name,
                                      const TSwitchSet& switches = TSwitchSet::ByShape());
std::vector<size_t> SwitchValueListPlaces(const TParamList& params, std::string_view name,
                                          const TSwitchSet& switches = TSwitchSet::ByShape());

// Appends the parameter right after each occurrence of the switch, when that
// parameter is no switch. True when the list then holds at least one entry.
bool GetSwitchValues(const TParamList& params, std::string_view name, TStringList& list,
                     bool clearFirst, const TSwitchSet& switches = TSwitchSet::ByShape());

// Appends every non-switch parameter from the first occurrence of the switch to
// the next other switch. True when the list then holds at least one entry.
bool GetSwitchValueList(const TParamList& params, std::string_view name, TStringList& list,
                        bool clearFirst, const TSwitchSet& switches = TSwitchSet::ByShape());

// The first value of the switch; `value` is left untouched when there is none.
bool GetSwitchValue(const TParamList& params, std::string_view name, std::string& value,
                    const TSwitchSet& switches = TSwitchSet::ByShape());

std::string GetSwitchValueDef(const TParamList& params, std::string_view name,
                              const std::string& defaultValue,
                              const TSwitchSet& switches = TSwitchSet::ByShape());

}  // namespace Kestrel::CommonLib
