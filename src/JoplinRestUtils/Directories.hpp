#pragma once
// The notebook and tag directories: id=title entries fetched once (every
// page of the list) and then searched from the end.
#include <string>
#include <string_view>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

// Replaces the directory with the items of one answer page; no page (no
// JSON) leaves it alone, a page of the wrong shape throws before it is
// touched. Notebooks also note their parent.
void StoreDirectoryPage(Kestrel::CommonLib::TStringList& directory, std::string_view json,
                        TFolderParents* parents);

// Reads every page of `resource` into the directory. Strictly, a request
// without answer gives false and an error answer throws ERequestRefused, an
// answer that is no list EJsonError, endless paging EEndlessPaging;
// leniently, whatever answers came are read and paging just stops.
bool FetchDirectory(TJoplinRest& client, Kestrel::CommonLib::TStringList& directory,
                    std::string_view resource, TFolderParents* parents, bool strict);

// The id of the last entry titled `title` (ASCII case ignored); empty when none.
std::string FindTitleFromEnd(const Kestrel::CommonLib::TStringList& directory,
                             std::string_view title);

// "The server refused GET folders (HTTP 403 Forbidden)", of the last answer.
std::string RefusalMessage(const TJoplinRest& client);

}  // namespace JoplinRestUtils
