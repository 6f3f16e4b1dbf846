#pragma once
// The Data API client: requests with the token, the notebook and tag
// directories, resource upload and note creation. One per run.
#include <string>
#include <string_view>
#include <vector>

#include "JoplinRestUtils/Json.hpp"
#include "JoplinRestUtils/NewNote.hpp"
#include "JoplinRestUtils/RestClient.hpp"
#include "JoplinRestUtils/RestResponse.hpp"
#include "Kestrel/CommonLib/StringList.hpp"

namespace JoplinRestUtils {

class TJoplinRest {
 public:
  // Throws EInvalidUrl for a base URL that cannot be parsed.
  TJoplinRest(std::string AToken, std::string_view ABaseUrl);

  const std::string& Token() const { return FToken; }
  const TRestClient& RestClient() const { return FRestClient; }
  const TRestResponse& RestResponse() const { return FRestResponse; }
  const Kestrel::CommonLib::TStringList& Folders() const { return FFolderList; }
  const Kestrel::CommonLib::TStringList& Tags() const { return FTagList; }

  // Each returns true when an answer below status 500 arrived. JSON objects
  // stay the caller's; they are written out before the request is sent.
  bool Get(std::string_view AResource, const std::vector<std::string>& Fields,
           std::string_view OrderBy, bool Asc, int Limit);
  bool Post(std::string_view AResource, const TJsonValue* AJsonObject);
  bool Put(std::string_view AResource, const TJsonValue* AJsonObject);
  bool Delete(std::string_view AResource, const TJsonValue* AJsonObject);
  // Uploads the file as the part "data" with the object as the field "props";
  // without the file, the object alone as a form body; false with neither.
  bool PostFile(std::string_view AResource, const std::string& AFilePath,
                const TJsonValue* AJsonObject);

  // The last answer's JSON in indented form; empty when it held none.
  std::string ResponseJsonText();

  // Notebook and tag directories (id=title entries).
  void SetFoldersList(std::string_view AJsonStr);
  void SetTagsList(std::string_view AJsonStr);
  std::string FindNotebookId(std::string_view ANotebookName);
  std::string FindTagId(std::string_view ATagName, bool ACreate);

  // Creates the note; true when the note's POST succeeded. `varNoteId` gets the
  // new id when the answer holds one and is left alone otherwise.
  bool CreateNote(TJoplinNewNote ANewNote, std::string& varNoteId);
  // Uploads one file as a resource; true with its id when the answer gives one.
  bool UploadResourceFile(const std::string& AFilename, std::string& varResourceId);

 private:
  bool ExecuteRequest(TRESTRequestMethod AMethod, std::string_view AResource,
                      const TJsonValue* AJsonObject);
  std::string AppendToken(std::string_view AResource) const;
  // Fetches a directory while it is empty, then finds the title's id from the end.
  std::string FindInDirectory(Kestrel::CommonLib::TStringList& directory, std::string_view resource,
                              std::string_view title);

  std::string FToken;
  TRestClient FRestClient;
  TRestResponse FRestResponse;
  Kestrel::CommonLib::TStringList FFolderList;
  Kestrel::CommonLib::TStringList FTagList;
};

}  // namespace JoplinRestUtils
