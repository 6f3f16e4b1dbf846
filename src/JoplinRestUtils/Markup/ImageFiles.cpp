#include "JoplinRestUtils/Markup/ImageFiles.hpp"

#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace JoplinRestUtils {

bool IsImageFile(std::string_view path) {
  return Kestrel::CommonLib::MatchesAnyText(
      Kestrel::CommonLib::ExtractFileExt(path),
      {".png", ".jpg", ".jpeg", ".bmp", ".gif", ".ico", ".svg"});
}

std::optional<std::string> ResolveLocalReference(const std::string& reference,
                                                 std::string_view baseDir) {
  if (reference.find(kNotALocalPathMarker) != std::string::npos)
    return std::nullopt;
  try {
    return Kestrel::CommonLib::CombinePath(reference, baseDir);
  } catch (const Kestrel::CommonLib::EInvalidPath&) {
    return std::nullopt;
  }
}

}  // namespace JoplinRestUtils
