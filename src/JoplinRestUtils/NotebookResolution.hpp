#pragma once
// Finding the notebook that "/N" names in the notebook directory: by title,
// by id, or by a path of titles from the top, creating the missing ones on
// request (and adding them to the directory).
#include <string>
#include <string_view>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

class TNotebookResolution {
 public:
  // The directory and parents as read from the server (every page).
  TNotebookResolution(TJoplinRest& client, Kestrel::CommonLib::TStringList& folders,
                      TFolderParents& parents)
      : FClient(client), FFolders(folders), FParents(parents) {}

  // A title (the last match wins; several matches are warned about), a
  // notebook id, or a path "Parent/Child". A blank name that matches nothing
  // gives the empty id. False when a creation got no answer; throws
  // ENotebookNotFound, or ERequestRefused for an error answer.
  bool Resolve(std::string_view name, bool create, std::string& id);

 private:
  // Creates a notebook under `parentId`; false without answer, throws when refused.
  bool Create(const std::string& title, const std::string& parentId, std::string& id);

  TJoplinRest& FClient;
  Kestrel::CommonLib::TStringList& FFolders;
  TFolderParents& FParents;
};

}  // namespace JoplinRestUtils
