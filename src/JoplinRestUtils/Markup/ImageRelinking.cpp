// Relinking an HTML body's image references.
//
// The result is defined one reference at a time: each replaces every
// occurrence of its text, in any case, in the body as the earlier ones left
// it. Doing that literally costs a pass over the whole body per reference.
// The one pass below replaces every occurrence of every reference at once,
// which gives the same body whenever the replacements cannot interact:
//
// - An occurrence is `src`, blanks, "=", blanks and a quoted part without
//   quotes. Two occurrences can only overlap when one starts inside the
//   other's quoted part, whose text then holds a second "=".
// - A replacement `src=":/ID"` with an ID of letters and digits can only form
//   a new occurrence of a reference that reads like a replacement itself, or,
//   with the text before it, one whose quoted part ends in "src=" (again a
//   second "=").
//
// So references with one "=" each, none reading like a replacement, and ids
// of letters and digits take the one pass; anything else takes the plain
// route, which is slower but gives the defined result for every body.
#include "JoplinRestUtils/Markup/ImageRelinking.hpp"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "JoplinRestUtils/Markup/HtmlScanning.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Platform/Text/UnicodeCase.hpp"
#include "Platform/Text/Utf8.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

// A reference to replace: the text the pattern matched and what it becomes.
struct TRelink {
  std::string_view Text;
  std::string Id;
  std::string Replacement;
};

std::vector<TRelink> RelinksOf(const std::string& body, std::string_view baseDir,
                               const TStringList& uploaded) {
  // The first entry for each file, as a search from the top finds it.
  std::unordered_map<std::string, std::string_view> idOfFile;
  for (const auto& entry : uploaded.Lines()) {
    idOfFile.emplace(Platform::AsciiLowerCase(TStringList::ValueOf(entry)),
                     TStringList::NameOf(entry));
  }
  std::vector<TRelink> relinks;
  for (const auto& reference : FindImageReferences(body, false)) {
    const std::optional<std::string> path =
        ResolveLocalReference(std::string(reference.Inner), baseDir);
    if (!path)
      continue;
    const auto found = idOfFile.find(Platform::AsciiLowerCase(*path));
    if (found == idOfFile.end())
      continue;
    const std::string id(found->second);
    relinks.push_back({std::string_view(body).substr(reference.Start, reference.Length), id,
                       "src=\":/" + id + "\""});
  }
  return relinks;
}

// The text with each code point upper-cased: two texts match, case ignored,
// exactly when their keys are equal.
std::string UpperKey(std::string_view text) {
  std::string key;
  key.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size())
    Platform::AppendUtf8(key, Platform::SimpleUpperCase(Platform::NextCodePoint(text, pos)));
  return key;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whether the code point at `pos` upper-cases to `wanted`; moves past it.
bool NextUpperIs(std::string_view text, size_t& pos, char32_t wanted) {
  return pos < text.size() &&
         Platform::SimpleUpperCase(Platform::NextCodePoint(text, pos)) == wanted;
}

// The end of the stretch at `pos` shaped like a reference (`src` in any case,
// blanks, "=", blanks, a quoted part without quotes), or npos.
size_t ReferenceShapeEnd(std::string_view text, size_t pos) {
  if (!NextUpperIs(text, pos, U'S') || !NextUpperIs(text, pos, U'R') ||
      !NextUpperIs(text, pos, U'C'))
    return std::string_view::npos;
  while (pos < text.size() && IsBlank(text[pos]))
    ++pos;
  if (pos >= text.size() || text[pos] != '=')
    return std::string_view::npos;
  ++pos;
  while (pos < text.size() && IsBlank(text[pos]))
    ++pos;
  if (pos >= text.size() || text[pos] != '"')
    return std::string_view::npos;
  const size_t closing = text.find('"', pos + 1);
  return closing == std::string_view::npos || closing == pos + 1 ? std::string_view::npos
                                                                 : closing + 1;
}

// Only "s", "S" and code points of two or more bytes can upper-case to "S".
bool MayStartReference(unsigned char byte) {
  return byte == 's' || byte == 'S' || byte >= 0xC0;
}

using TReplacements = std::unordered_map<std::string, std::string>;  // key -> replacement

// The replacement of each distinct reference: the first in match order.
TReplacements ReplacementsOf(const std::vector<TRelink>& relinks) {
  TReplacements replacements;
  for (const auto& relink : relinks)
    replacements.emplace(UpperKey(relink.Text), relink.Replacement);
  return replacements;
}

bool IsPlainId(std::string_view id) {
  return !id.empty() && std::all_of(id.begin(), id.end(), Platform::IsAsciiAlnum);
}

// See the top of the file.
bool ReplacementsAreIndependent(const std::vector<TRelink>& relinks,
                                const TReplacements& replacements) {
  for (const auto& relink : relinks) {
    if (!IsPlainId(relink.Id) || ReferenceShapeEnd(relink.Text, 0) != relink.Text.size() ||
        std::count(relink.Text.begin(), relink.Text.end(), '=') != 1)
      return false;
  }
  for (const auto& relink : relinks) {
    if (replacements.count(UpperKey(relink.Replacement)) != 0)
      return false;
  }
  return true;
}

std::string ReplaceAllAtOnce(std::string_view body, const TReplacements& replacements) {
  std::string relinked;
  relinked.reserve(body.size());
  size_t copied = 0;
  size_t pos = 0;
  while (pos < body.size()) {
    if (MayStartReference(static_cast<unsigned char>(body[pos]))) {
      const size_t end = ReferenceShapeEnd(body, pos);
      if (end != std::string_view::npos) {
        const auto found = replacements.find(UpperKey(body.substr(pos, end - pos)));
        if (found != replacements.end()) {
          relinked.append(body.substr(copied, pos - copied));
          relinked.append(found->second);
          copied = pos = end;
          continue;
        }
      }
    }
    ++pos;
  }
  relinked.append(body.substr(copied));
  return relinked;
}

std::string ReplaceOneByOne(const std::string& body, const std::vector<TRelink>& relinks) {
  std::string relinked = body;
  for (const auto& relink : relinks)
    relinked =
        Kestrel::CommonLib::ReplaceText(relinked, relink.Text, relink.Replacement, false, true);
  return relinked;
}

}  // namespace

std::string RelinkImageReferences(const std::string& body, std::string_view baseDir,
                                  const TStringList& uploaded) {
  const std::vector<TRelink> relinks = RelinksOf(body, baseDir, uploaded);
  if (relinks.empty())
    return body;
  const TReplacements replacements = ReplacementsOf(relinks);
  if (!ReplacementsAreIndependent(relinks, replacements))
    return ReplaceOneByOne(body, relinks);
  return ReplaceAllAtOnce(body, replacements);
}

std::string RelinkImageReferencesOneByOne(const std::string& body, std::string_view baseDir,
                                          const TStringList& uploaded) {
  return ReplaceOneByOne(body, RelinksOf(body, baseDir, uploaded));
}

}  // namespace JoplinRestUtils
