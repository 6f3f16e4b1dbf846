// The notebook and tag directories of TJoplinRest: id=title entries fetched
// once (every page of the list) and then searched from the end.
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/JsonReading.hpp"
#include "JoplinRestUtils/RequestErrors.hpp"
#include "Kestrel/CommonLib/TextMatch.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

// Stores the items of one parsed answer; returns its "has_more" (false when
// missing). No answer leaves the directory alone; one of the wrong shape
// throws before the directory is touched. Notebooks also note their parent.
bool StoreItems(TStringList& directory, const std::optional<TJsonValue>& answer, bool replace,
                TFolderParents* parents) {
  if (!answer)
    return false;
  const TJsonValue& items = ReadArrayMember(AnswerObject(*answer), "items");
  if (replace) {
    directory.Clear();
    if (parents != nullptr)
      parents->clear();
  }
  for (const auto& item : items) {
    const std::string id = ReadTextMember(item, "id");
    directory.SetValue(id, ReadTextMember(item, "title"));
    if (parents != nullptr)
      (*parents)[id] = ReadOptionalTextMember(item, "parent_id");
  }
  // A page without items ends the paging even when it claims more.
  const auto hasMore = answer->find("has_more");
  return !items.empty() && hasMore != answer->end() && hasMore->is_boolean() &&
         hasMore->get<bool>();
}

std::string FindTitleFromEnd(const TStringList& directory, std::string_view title) {
  for (size_t i = directory.Count(); i-- > 0;) {
    if (Kestrel::CommonLib::SameText(TStringList::ValueOf(directory[i]), title))
      return std::string(TStringList::NameOf(directory[i]));
  }
  return {};
}

std::string PageOf(std::string_view resource, int page) {
  return page == 1 ? std::string(resource)
                   : std::string(resource) + "?page=" + std::to_string(page);
}

}  // namespace

void TJoplinRest::SetFoldersList(std::string_view AJsonStr) {
  StoreItems(FFolderList, ParseJson(AJsonStr), true, &FFolderParents);
}

void TJoplinRest::SetTagsList(std::string_view AJsonStr) {
  StoreItems(FTagList, ParseJson(AJsonStr), true, nullptr);
}

bool TJoplinRest::FetchDirectory(TStringList& directory, std::string_view resource,
                                 TFolderParents* parents, bool strict) {
  bool hasMore = true;
  for (int page = 1; hasMore; ++page) {
    const bool answered = Get(PageOf(resource, page), {}, "", false, 0);
    if (strict && !answered)
      return false;
    if (strict && FRestResponse.StatusCode() >= 400)
      throw ERequestRefused(RefusalMessage(), LastFailure());
    // Leniently the first request's result is not tested: whatever answer is
    // held gets read; a later page without answer ends the paging.
    if (!answered && page > 1)
      break;
    hasMore = StoreItems(directory, FRestResponse.JsonValue(), page == 1, parents);
  }
  return true;
}

std::string TJoplinRest::FindInDirectory(TStringList& directory, std::string_view resource,
                                         std::string_view title) {
  if (directory.Empty())
    FetchDirectory(directory, resource, &directory == &FFolderList ? &FFolderParents : nullptr,
                   false);
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
