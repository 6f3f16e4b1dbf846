#include "Quillpost/CommandLineCheck.hpp"

#include <algorithm>
#include <cstddef>
#include <set>
#include <string_view>
#include <vector>

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Quillpost/Switches.hpp"

namespace Quillpost {

using Kestrel::CommonLib::TParamList;

namespace {

// The places of every value that some switch takes.
std::set<size_t> ValuePlaces(const TParamList& params) {
  std::set<size_t> places;
  for (const TSwitchSpec& spec : KnownSwitchTable()) {
    std::vector<size_t> found;
    if (spec.Kind == TSwitchKind::Value)
      found = Kestrel::CommonLib::SwitchValuePlaces(params, ScannerName(spec), KnownSwitches());
    if (spec.Kind == TSwitchKind::List)
      found = Kestrel::CommonLib::SwitchValueListPlaces(params, ScannerName(spec), KnownSwitches());
    places.insert(found.begin(), found.end());
  }
  return places;
}

// "/N", "-Nn", "--check": the name without its leading "/" or dashes, in
// lower case, and without anything from "=" on.
std::string BareName(std::string_view word) {
  const size_t start = word.find_first_not_of("/-");
  if (start == std::string_view::npos)
    return {};
  std::string_view name = word.substr(start);
  name = name.substr(0, name.find('='));
  return Platform::AsciiLowerCase(std::string(name));
}

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j)
    row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// How the user would write the switch, led by the user's own "/" or "-"
// where the switch allows either.
std::string Written(const TSwitchSpec& spec, std::string_view word) {
  const std::string_view name = spec.Name;
  if (spec.Kind == TSwitchKind::Setting || spec.Kind == TSwitchKind::LongOption ||
      !name.starts_with('/'))
    return spec.Name;
  return std::string(word.substr(0, 1) == "-" ? "-" : "/") + std::string(name.substr(1));
}

// A typing slip: one letter off in a short name, two in a longer one, or the
// start of a long name ("-v" for "--version").
bool IsClose(const std::string& typed, const std::string& known) {
  if (typed.empty())
    return false;
  const size_t allowed = typed.size() < 2 ? 0 : (typed.size() < 5 ? 1 : 2);
  if (EditDistance(typed, known) <= allowed)
    return true;
  return known.size() > 3 && known.compare(0, typed.size(), typed) == 0;
}

bool TakesNoValue(std::string_view word) {
  if (!KnownSwitches().IsSwitch(word))
    return false;
  for (const TSwitchSpec& spec : KnownSwitchTable()) {
    if (BareName(spec.Name) == BareName(word))
      return spec.Kind != TSwitchKind::Value && spec.Kind != TSwitchKind::List;
  }
  return false;
}

void ThrowStrayWord(const TParamList& params, size_t place) {
  std::string message =
      "the word " + Kestrel::CommonLib::Quoted(params[place]) + " belongs to no switch";
  if (place > 0 && TakesNoValue(params[place - 1]))
    message += " (" + params[place - 1] + " takes no value)";
  throw ECommandLineError(message, "nothing was sent; quillpost --help lists the switches");
}

void ThrowUnknownSwitch(const std::string& word) {
  std::string message = "unknown switch " + Kestrel::CommonLib::Quoted(word);
  const std::string nearest = NearestKnownSwitch(word);
  if (!nearest.empty())
    message += "; did you mean " + nearest + "?";
  throw ECommandLineError(message, "nothing was sent; quillpost --help lists the switches");
}

}  // namespace

std::string NearestKnownSwitch(const std::string& word) {
  const std::string typed = BareName(word);
  const TSwitchSpec* best = nullptr;
  size_t bestDistance = 0;
  for (const TSwitchSpec& spec : KnownSwitchTable()) {
    const std::string known = BareName(spec.Name);
    if (!IsClose(typed, known))
      continue;
    const size_t distance = EditDistance(typed, known);
    if (best == nullptr || distance < bestDistance) {
      best = &spec;
      bestDistance = distance;
    }
  }
  return best == nullptr ? std::string() : Written(*best, word);
}

void CheckCommandLine(const TParamList& params) {
  const std::set<size_t> values = ValuePlaces(params);
  for (size_t place = 0; place < params.size(); ++place) {
    if (KnownSwitches().IsSwitch(params[place]) || values.count(place) != 0)
      continue;
    if (Kestrel::CommonLib::LooksLikeSwitch(params[place]))
      ThrowUnknownSwitch(params[place]);
    ThrowStrayWord(params, place);
  }
}

}  // namespace Quillpost
