#include "JoplinRestUtils/ImageFiles.hpp"

#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/TextMatch.hpp"

namespace JoplinRestUtils {

bool IsImageFile(std::string_view path) {
  return Kestrel::CommonLib::MatchesAnyText(
      Kestrel::CommonLib::ExtractFileExt(path),
      {".png", ".jpg", ".jpeg", ".bmp", ".gif", ".ico", ".svg"});
}

}  // namespace JoplinRestUtils
