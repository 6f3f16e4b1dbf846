// The notebook and tag directories of TJoplinRest: id=title entries fetched
// once (every page of the list) and then searched from the end.
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/JsonReading.hpp"
#include "Kestrel/CommonLib/TextMatch.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

// Stores the items of one answer; returns its "has_more" (false when missing).
// An answer that is no JSON leaves the directory alone; one of the wrong shape
// throws before the directory is touched.
bool StoreItems(TStringList& directory, std::string_view answer, bool replace) {
  const std::optional<TJsonValue> object = ParseAnswerObject(answer);
  if (!object)
    return false;
  const TJsonValue& items = ReadArrayMember(*object, "items");
  if (replace)
    directory.Clear();
  for (const auto& item : items) {
    const std::string id = ReadTextMember(item, "id");
    directory.SetValue(id, ReadTextMember(item, "title"));
  }
  // A page without items ends the paging even when it claims more.
  const auto hasMore = object->find("has_more");
  return !items.empty() && hasMore != object->end() && hasMore->is_boolean() &&
         hasMore->get<bool>();
}

std::string FindTitleFromEnd(const TStringList& directory, std::string_view title) {
  for (size_t i = directory.Count(); i-- > 0;) {
    if (Kestrel::CommonLib::SameText(TStringList::ValueOf(directory[i]), title))
      return std::string(TStringList::NameOf(directory[i]));
  }
  return {};
}

}  // namespace

void TJoplinRest::SetFoldersList(std::string_view AJsonStr) {
  StoreItems(FFolderList, AJsonStr, true);
}

void TJoplinRest::SetTagsList(std::string_view AJsonStr) {
  StoreItems(FTagList, AJsonStr, true);
}

std::string TJoplinRest::FindInDirectory(TStringList& directory, std::string_view resource,
                                         std::string_view title) {
  if (directory.Empty()) {
    // The request's result is not tested: whatever answer is held gets read.
    Get(resource, {}, "", false, 0);
    bool hasMore = StoreItems(directory, ResponseJsonText(), true);
    for (int page = 2; hasMore; ++page) {
      if (!Get(std::string(resource) + "?page=" + std::to_string(page), {}, "", false, 0))
        break;
      hasMore = StoreItems(directory, ResponseJsonText(), false);
    }
  }
  return FindTitleFromEnd(directory, title);
}

std::string TJoplinRest::FindNotebookId(std::string_view ANotebookName) {
  return FindInDirectory(FFolderList, "folders", ANotebookName);
}

std::string TJoplinRest::FindTagId(std::string_view ATagName, bool ACreate) {
  std::string id = FindInDirectory(FTagList, "tags", ATagName);
  if (!id.empty() || !ACreate)
    return id;
  TJsonValue tag = TJsonValue::object();
  tag["title"] = std::string(ATagName);
  std::string title;
  if (!Post("tags", &tag) || !ParseIdAndTitle(ResponseJsonText(), id, title))
    return {};
  FTagList.SetValue(id, title);
  return id;
}

}  // namespace JoplinRestUtils
