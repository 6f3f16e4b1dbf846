#include "Quillpost/Switches.hpp"

#include <string>
#include <vector>

namespace Quillpost {

using Kestrel::CommonLib::TParamList;
using Kestrel::CommonLib::TStringList;

namespace {

constexpr TSwitchSpec kSwitches[] = {
    {"?", TSwitchKind::Flag},
    {"h", TSwitchKind::Flag},
    {"N", TSwitchKind::Value},
    {"NC", TSwitchKind::Flag},
    {"I", TSwitchKind::Value},
    {"S", TSwitchKind::Value},
    {"SN", TSwitchKind::Flag},
    {"A", TSwitchKind::Value},
    {"AA", TSwitchKind::List},
    {"T", TSwitchKind::Value},
    {"TT", TSwitchKind::List},
    {"C", TSwitchKind::Value},
    {"E", TSwitchKind::Value},
    {"MD", TSwitchKind::Flag},
    {"HTML", TSwitchKind::Flag},
    {"DefEnc", TSwitchKind::Flag},
    {"Utf8", TSwitchKind::Flag},
    {"LT", TSwitchKind::Flag},
    {"NoLocal", TSwitchKind::Flag},
    {"NoFrontMatter", TSwitchKind::Flag},
    {"AllowOutside", TSwitchKind::Flag},
    {"AllowMany", TSwitchKind::Flag},
    {"Todo", TSwitchKind::Flag},
    {"Due", TSwitchKind::Value},
    {"Completed", TSwitchKind::Flag},
    {"Source", TSwitchKind::Value},
    {"Author", TSwitchKind::Value},
    {"Append", TSwitchKind::Flag},
    {"Prepend", TSwitchKind::Flag},
    {"Id", TSwitchKind::Value},
    {"-import", TSwitchKind::Value},
    {"-dry-run", TSwitchKind::Flag},
    {"-prune", TSwitchKind::Flag},
    {"-restore", TSwitchKind::Flag},
    {"/IniFile=", TSwitchKind::Setting},
    {"/Profile=", TSwitchKind::Setting},
    {"--check", TSwitchKind::LongOption},
    {"--list-notebooks", TSwitchKind::LongOption},
    {"--list-tags", TSwitchKind::LongOption},
    {"--help", TSwitchKind::LongOption},
    {"--version", TSwitchKind::LongOption},
    {"--json", TSwitchKind::LongOption},
};

Kestrel::CommonLib::TSwitchSet MakeSwitchSet() {
  std::vector<std::string> names, wholeParams, valuePrefixes;
  for (const TSwitchSpec& spec : kSwitches) {
    switch (spec.Kind) {
      case TSwitchKind::Setting:
        valuePrefixes.emplace_back(spec.Name);
        break;
      case TSwitchKind::LongOption:
        wholeParams.emplace_back(spec.Name);
        break;
      default:
        names.emplace_back(spec.Name);
    }
  }
  return {std::move(names), std::move(wholeParams), std::move(valuePrefixes)};
}

}  // namespace

std::span<const TSwitchSpec> KnownSwitchTable() {
  return kSwitches;
}

const Kestrel::CommonLib::TSwitchSet& KnownSwitches() {
  static const Kestrel::CommonLib::TSwitchSet known = MakeSwitchSet();
  return known;
}

bool FindSwitch(const TParamList& params, std::string_view name) {
  return Kestrel::CommonLib::ParamExists(params, "/" + std::string(name)) ||
         Kestrel::CommonLib::ParamExists(params, "-" + std::string(name));
}

bool SwitchValue(const TParamList& params, std::string_view name, std::string& value) {
  return Kestrel::CommonLib::GetSwitchValue(params, name, value, KnownSwitches());
}

std::string SwitchValueDef(const TParamList& params, std::string_view name,
                           const std::string& defaultValue) {
  return Kestrel::CommonLib::GetSwitchValueDef(params, name, defaultValue, KnownSwitches());
}

TStringList SwitchValuesThenList(const TParamList& params, std::string_view single,
                                 std::string_view list) {
  TStringList values;
  Kestrel::CommonLib::GetSwitchValues(params, single, values, false, KnownSwitches());
  Kestrel::CommonLib::GetSwitchValueList(params, list, values, false, KnownSwitches());
  return values;
}

}  // namespace Quillpost
