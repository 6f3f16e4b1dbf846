#include "JoplinRestUtils/Import/ImportIds.hpp"

#include "Kestrel/CommonLib/Text/Sha256.hpp"

namespace JoplinRestUtils {

std::string ImportId(TImportItem item, std::string_view targetKey, std::string_view key) {
  static constexpr std::string_view kKinds[] = {"folder", "note", "resource"};
  Kestrel::CommonLib::TSha256 hash;
  hash.Update("quillpost import\n");
  hash.Update(kKinds[static_cast<int>(item)]);
  hash.Update(std::string_view("\0", 1));
  hash.Update(targetKey);
  hash.Update(std::string_view("\0", 1));
  hash.Update(key);
  return hash.HexDigest().substr(0, 32);
}

}  // namespace JoplinRestUtils
