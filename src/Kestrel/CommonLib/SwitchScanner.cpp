#include "Kestrel/CommonLib/SwitchScanner.hpp"

#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace Kestrel::CommonLib {
namespace {

// A parameter starting with "/" whose name (up to an "=") holds another "/" is
// an absolute path, so that "/S /home/me/note.md" works as Linux users expect.
bool IsSwitch(std::string_view param) {
  if (param.empty() || !MatchesAnyStr(param.substr(0, 1), {"/", "-"}))
    return false;
  if (param[0] == '-')
    return true;
  const std::string_view name = param.substr(1, param.find('=') - 1);
  return name.find('/') == std::string_view::npos;
}

std::string_view SwitchName(std::string_view param) {
  return param.substr(1);
}

}  // namespace

std::string GetParamValue(const TParamList& params, std::string_view name,
                          const std::string& defaultValue) {
  const std::string key = std::string(name) + "=";
  for (auto it = params.rbegin(); it != params.rend(); ++it) {
    const std::string_view param = *it;
    if (SameText(param.substr(0, key.size()), key))
      return std::string(param.substr(key.size()));
  }
  return defaultValue;
}

bool ParamExists(const TParamList& params, std::string_view text) {
  for (auto it = params.rbegin(); it != params.rend(); ++it) {
    if (SameText(*it, text))
      return true;
  }
  return false;
}

bool GetSwitchValues(const TParamList& params, std::string_view name, TStringList& list,
                     bool clearFirst) {
  if (clearFirst)
    list.Clear();
  bool waiting = false;
  for (const auto& param : params) {
    if (IsSwitch(param)) {
      // A switch right after the wanted one cancels the wait and is not itself tested.
      waiting = !waiting && SameText(SwitchName(param), name);
    } else if (waiting) {
      list.Add(param);
      waiting = false;
    }
  }
  return !list.Empty();
}

bool GetSwitchValueList(const TParamList& params, std::string_view name, TStringList& list,
                        bool clearFirst) {
  if (clearFirst)
    list.Clear();
  bool collecting = false;
  for (const auto& param : params) {
    if (IsSwitch(param)) {
      if (SameText(SwitchName(param), name)) {
        collecting = true;
      } else if (collecting) {
        break;
      }
    } else if (collecting) {
      list.Add(param);
    }
  }
  return !list.Empty();
}

bool GetSwitchValue(const TParamList& params, std::string_view name, std::string& value) {
  TStringList values;
  if (!GetSwitchValues(params, name, values, false))
    return false;
  value = values[0];
  return true;
}

std::string GetSwitchValueDef(const TParamList& params, std::string_view name,
                              const std::string& defaultValue) {
  std::string value = defaultValue;
  GetSwitchValue(params, name, value);
  return value;
}

}  // namespace Kestrel::CommonLib
