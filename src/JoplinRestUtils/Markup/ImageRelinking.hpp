#pragma once
// The `src` references of an HTML body pointed at the resources uploaded for
// them.
#include <string>
#include <string_view>

#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

// Every `src="..."` reference (as FindImageReferences finds them, `src` in
// lower case, from left to right) that resolves against `baseDir` to a file of `uploaded` (id=file
// entries; the first entry whose file equals the path, ASCII case ignored)
// has every occurrence of its whole text, in any case, replaced by
// `src=":/ID"`, one reference after the other. Linear in the body's size and
// the number of references.
std::string RelinkImageReferences(const std::string& body, std::string_view baseDir,
                                  const Kestrel::CommonLib::TStringList& uploaded);

// The same result by the plain route: one replace-all over the whole body per
// reference. It serves the rare bodies whose replacements could interact (see
// the .cpp), and tells the tests what the result must be.
std::string RelinkImageReferencesOneByOne(const std::string& body, std::string_view baseDir,
                                          const Kestrel::CommonLib::TStringList& uploaded);

}  // namespace JoplinRestUtils
