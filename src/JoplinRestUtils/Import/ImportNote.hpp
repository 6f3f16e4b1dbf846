#pragma once
// One file of the tree made into the note that is sent for it: front matter
// read, links to other notes pointed at their ids, linked files at the ids of
// their contents. The result depends on nothing but the tree, the run's
// switches and the files, so that building it twice gives the same bytes and
// its digest says whether the note must be sent again.
#include <string>
#include <vector>

#include "JoplinRestUtils/Import/ImportNames.hpp"
#include "JoplinRestUtils/Json/Json.hpp"
#include "JoplinRestUtils/LocalFilePolicy.hpp"

namespace JoplinRestUtils {

struct TImportSettings {
  std::vector<std::string> Tags;  // added to every note
  bool FrontMatter = true;
  TLocalFilePolicy LocalFiles;  // which linked files may be uploaded
  bool RestoreDeleted = false;  // make again the notes deleted in Joplin
  bool AllowMany = false;       // more tags than a note may take are sent too
};

struct TImportResource {
  std::string Path;
  std::string ContentHash;
  std::string Id;
};

struct TImportNote {
  std::string Id;
  TJsonValue Json;                         // the note's fields without its id
  std::string Digest;                      // of Json as written
  std::vector<TImportResource> Resources;  // each content once
  std::vector<std::string> Warnings;
  std::string Failure;      // set: the file cannot become a note
  std::uint64_t Bytes = 0;  // of the file
};

TImportNote BuildImportNote(const TTreeNote& file, const TImportNames& names, TLinkedFiles& files,
                            const TImportSettings& settings);

}  // namespace JoplinRestUtils
