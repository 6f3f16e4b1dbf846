#include "JoplinRestUtils/Directories.hpp"

#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/IdSet.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/DirectoryPage.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

constexpr int kMaxPages = 10000;

// One page's worth of storing.
struct TPageResult {
  bool HasMore = false;
  size_t NewIds = 0;
};

// Stores one item as the list's Name=Value setter would: a new id is
// appended, a known one replaced in place, an empty title removes it.
// The ids present are kept aside, so that storing a page costs no search of
// the whole list per item.
bool StoreItem(TStringList& directory, TIdSet& present, const std::string& id,
               const std::string& title) {
  if (!present.Contains(id)) {
    if (title.empty())
      return false;
    std::string entry;
    entry.reserve(id.size() + 1 + title.size());
    entry.append(id).append("=").append(title);
    directory.Add(std::move(entry));
    present.Insert(id);
    return true;
  }
  directory.SetValue(id, title);
  if (title.empty())
    present.Erase(id);
  return false;
}

void NoteParent(TFolderParents& parents, std::string id, std::string parentId) {
  if (parentId.empty())
    parents.erase(id);
  else
    parents[std::move(id)] = std::move(parentId);
}

// Stores the items of one page. No page (no JSON answer) leaves the directory
// alone; a page of the wrong shape throws before the directory is touched, an
// item of the wrong shape once the items before it are stored. Notebooks also
// note their parent.
TPageResult StoreItems(TStringList& directory, TIdSet& present, std::optional<TDirectoryPage> page,
                       bool replace, TFolderParents* parents) {
  if (!page)
    return {};
  if (replace) {
    directory.Clear();
    present.Clear();
    if (parents != nullptr)
      parents->clear();
  }
  TPageResult result;
  for (auto& item : page->Items) {
    if (StoreItem(directory, present, item.Id, item.Title))
      ++result.NewIds;
    if (parents != nullptr)
      NoteParent(*parents, std::move(item.Id), std::move(item.ParentId));
  }
  if (page->ItemFault)
    std::rethrow_exception(page->ItemFault);
  // A page without items ends the paging even when it claims more.
  result.HasMore = !page->Items.empty() && page->HasMore;
  return result;
}

std::string PagingMessage(std::string_view resource, int page, const char* what) {
  return "GET " + std::string(resource) + ": the server says there is more, but page " +
         std::to_string(page) + " " + what;
}

std::string PageOf(std::string_view resource, int page) {
  return page == 1 ? std::string(resource)
                   : std::string(resource) + "?page=" + std::to_string(page);
}

}  // namespace

void StoreDirectoryPage(TStringList& directory, std::string_view json, TFolderParents* parents) {
  TIdSet present;
  StoreItems(directory, present, ReadDirectoryPage(json), true, parents);
}

std::string FindTitleFromEnd(const TStringList& directory, std::string_view title) {
  for (size_t i = directory.Count(); i-- > 0;) {
    if (Kestrel::CommonLib::SameText(TStringList::ValueOf(directory[i]), title))
      return std::string(TStringList::NameOf(directory[i]));
  }
  return {};
}

std::string RefusalMessage(const TJoplinRest& client) {
  std::string message = "The server refused " + client.RestClient().LastRequest() + " (HTTP " +
                        std::to_string(client.RestResponse().StatusCode());
  if (!client.RestResponse().StatusText().empty())
    message += " " + client.RestResponse().StatusText();
  return message + ")";
}

bool FetchDirectory(TJoplinRest& client, TStringList& directory, std::string_view resource,
                    TFolderParents* parents, bool strict) {
  TIdSet present;
  for (int page = 1;; ++page) {
    const bool answered = client.Get(PageOf(resource, page), {}, "", false, 0);
    if (strict && !answered)
      return false;
    if (strict && client.RestResponse().StatusCode() >= 400)
      throw ERequestRefused(RefusalMessage(client), client.LastFailure());
    // Leniently the first request's result is not tested: whatever answer is
    // held gets read; a later page without answer ends the paging.
    if (!answered && page > 1)
      break;
    std::optional<TDirectoryPage> read = ReadDirectoryPage(client.RestResponse().Content());
    // Strictly, an answer that is no list is no empty list either: "not found"
    // would be a guess.
    if (strict && !read)
      throw EJsonError("GET " + PageOf(resource, page) + ": the answer is not JSON");
    const TPageResult stored = StoreItems(directory, present, std::move(read), page == 1, parents);
    if (!stored.HasMore)
      break;
    // A server that claims more pages forever, or repeats its items, is not
    // followed: the run would never end.
    if (page > 1 && stored.NewIds == 0) {
      if (strict)
        throw EEndlessPaging(PagingMessage(resource, page, "brought no new item"));
      break;
    }
    if (page >= kMaxPages) {
      if (strict)
        throw EEndlessPaging(PagingMessage(resource, page, "was still not the last"));
      break;
    }
  }
  return true;
}

}  // namespace JoplinRestUtils
