#pragma once
// One page of a notebook or tag list ({"items": [...], "has_more": ...}),
// read straight from the answer's text without building a JSON tree.
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace JoplinRestUtils {

struct TDirectoryItem {
  std::string Id;
  std::string Title;
  std::string ParentId;  // empty when missing or no text
};

struct TDirectoryPage {
  std::vector<TDirectoryItem> Items;  // up to the first item of the wrong shape
  bool HasMore = false;               // "has_more" is true
  // The error of the first item of the wrong shape, for the reader to raise
  // once it has taken the items before it.
  std::exception_ptr ItemFault;
};

// The page; nothing for an empty or invalid text (or one nested deeper than
// any answer). Members are read as JsonReading reads them: a page that is no
// object, or whose "items" is no array, throws EInvalidCast; a missing
// "items", or an item without "id" or "title" (or with an object or array
// there), is EJsonError; an item that is no object is EInvalidCast. Those of
// the page itself are thrown; that of the first item of the wrong shape is
// kept in ItemFault.
std::optional<TDirectoryPage> ReadDirectoryPage(std::string_view text);

}  // namespace JoplinRestUtils
