#include "Kestrel/CommonLib/SwitchScanner.hpp"

#include <utility>

#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace Kestrel::CommonLib {
namespace {

std::string_view SwitchName(std::string_view param) {
  return param.substr(1);
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool AnySameText(std::string_view text, const std::vector<std::string>& candidates) {
  for (const auto& candidate : candidates) {
    if (SameText(text, candidate))
      return true;
  }
  return false;
}

void AddAt(const TParamList& params, const std::vector<size_t>& places, TStringList& list) {
  for (const size_t place : places)
    list.Add(params[place]);
}

}  // namespace

const TSwitchSet& TSwitchSet::ByShape() {
  static const TSwitchSet byShape;
  return byShape;
}

TSwitchSet::TSwitchSet(std::vector<std::string> names, std::vector<std::string> wholeParams,
                       std::vector<std::string> valuePrefixes)
    : FByShape(false),
      FNames(std::move(names)),
      FWholeParams(std::move(wholeParams)),
      FValuePrefixes(std::move(valuePrefixes)) {}

bool TSwitchSet::IsSwitch(std::string_view param) const {
  if (FByShape)
    return LooksLikeSwitch(param);
  if (param.empty() || !MatchesAnyStr(param.substr(0, 1), {"/", "-"}))
    return false;
  if (AnySameText(SwitchName(param), FNames) || AnySameText(param, FWholeParams))
    return true;
  for (const auto& prefix : FValuePrefixes) {
    if (StartsWithText(param, prefix))
      return true;
  }
  return false;
}

// A parameter starting with "/" whose name (up to an "=") holds another "/" is
// an absolute path, so that "/S /home/me/note.md" works as Linux users expect.
bool LooksLikeSwitch(std::string_view param) {
  if (param.empty() || !MatchesAnyStr(param.substr(0, 1), {"/", "-"}))
    return false;
  if (param[0] == '-')
    return true;
  const std::string_view name = param.substr(1, param.find('=') - 1);
  return name.find('/') == std::string_view::npos;
}

std::string GetParamValue(const TParamList& params, std::string_view name,
                          const std::string& defaultValue) {
  const std::string key = std::string(name) + "=";
  for (auto it = params.rbegin(); it != params.rend(); ++it) {
    const std::string_view param = *it;
    if (StartsWithText(param, key))
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

std::vector<size_t> SwitchValuePlaces(const TParamList& params, std::string_view name,
                                      const TSwitchSet& switches) {
  std::vector<size_t> places;
  bool waiting = false;
  for (size_t i = 0; i < params.size(); ++i) {
    if (switches.IsSwitch(params[i])) {
      // A switch is never a value: the wanted one (again) waits for its own.
      waiting = SameText(SwitchName(params[i]), name);
    } else if (waiting) {
      places.push_back(i);
      waiting = false;
    }
  }
  return places;
}

std::vector<size_t> SwitchValueListPlaces(const TParamList& params, std::string_view name,
                                          const TSwitchSet& switches) {
  std::vector<size_t> places;
  bool collecting = false;
  for (size_t i = 0; i < params.size(); ++i) {
    if (switches.IsSwitch(params[i])) {
      // Another switch ends the list; the list switch again adds to it.
      collecting = SameText(SwitchName(params[i]), name);
    } else if (collecting) {
      places.push_back(i);
    }
  }
  return places;
}

bool GetSwitchValues(const TParamList& params, std::string_view name, TStringList& list,
                     bool clearFirst, const TSwitchSet& switches) {
  if (clearFirst)
    list.Clear();
  AddAt(params, SwitchValuePlaces(params, name, switches), list);
  return !list.Empty();
}

bool GetSwitchValueList(const TParamList& params, std::string_view name, TStringList& list,
                        bool clearFirst, const TSwitchSet& switches) {
  if (clearFirst)
    list.Clear();
  AddAt(params, SwitchValueListPlaces(params, name, switches), list);
  return !list.Empty();
}

bool GetSwitchValue(const TParamList& params, std::string_view name, std::string& value,
                    const TSwitchSet& switches) {
  const std::vector<size_t> places = SwitchValuePlaces(params, name, switches);
  if (places.empty())
    return false;
  value = params[places.front()];
  return true;
}

std::string GetSwitchValueDef(const TParamList& params, std::string_view name,
                              const std::string& defaultValue, const TSwitchSet& switches) {
  std::string value = defaultValue;
  GetSwitchValue(params, name, value, switches);
  return value;
}

}  // namespace Kestrel::CommonLib
