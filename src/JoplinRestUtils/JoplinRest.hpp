#pragma once
// The Data API client, one per run: the requests with the token and their
// wire format, the notebook and tag directories (with tag creation and the
// notebook that "/N" names), resource upload and note creation. The jobs
// built on it have types of their own: TBodyUploads (what a body brings),
// TNoteAppender (adding to a note), TImportRequests (what an import asks).
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "JoplinRestUtils/Http/RequestOutcome.hpp"
#include "JoplinRestUtils/Http/RestClient.hpp"
#include "JoplinRestUtils/Http/RestResponse.hpp"
#include "JoplinRestUtils/Json/Json.hpp"
#include "JoplinRestUtils/NewNote.hpp"
#include "JoplinRestUtils/NoteDone.hpp"
#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

// The parent of each notebook that has one; a notebook at the top has no
// entry (most have none, and a list of thousands costs less).
using TFolderParents = std::unordered_map<std::string, std::string>;

class TJoplinRest {
 public:
  // Throws EInvalidUrl for a base URL that cannot be parsed.
  TJoplinRest(std::string AToken, std::string_view ABaseUrl, Platform::HttpLimits ALimits = {});

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

  // One request (the resource may carry its own query) and what became of
  // it. Without a filter of its own, a request with a body keeps only the
  // members of the server's echo that are read (id, title, parent_id, error).
  TRequestOutcome Request(TRESTRequestMethod AMethod, std::string_view AResource,
                          const TJsonValue* AJsonObject = nullptr,
                          std::shared_ptr<Platform::HttpAnswerFilter> filter = {});
  // What became of the last request, for the calls above that answer a boolean.
  TRequestOutcome LastOutcome() const { return FRestClient.LastOutcome(); }

  // The last answer's JSON, read once; nothing when it held none.
  const std::optional<TJsonValue>& AnswerJson() { return FRestResponse.JsonValue(); }
  // The last answer's JSON, moved out of the response store.
  std::optional<TJsonValue> TakeAnswerJson() { return FRestResponse.TakeJsonValue(); }
  // The last answer's JSON in indented form; empty when it held none.
  std::string ResponseJsonText();

  // Notebook and tag directories (id=title entries).
  void SetFoldersList(std::string_view AJsonStr);
  void SetTagsList(std::string_view AJsonStr);
  std::string FindNotebookId(std::string_view ANotebookName);
  std::string FindTagId(std::string_view ATagName, bool ACreate);

  // The notebook that "/N" names: a title (the last match wins; several
  // matches are warned about), a notebook id, or a path "Parent/Child" of
  // titles from the top. With `ACreate` the missing notebooks of the path are
  // created. A blank name that matches nothing gives the empty id. False when
  // a request got no answer (LastFailure says why); throws ENotebookNotFound,
  // or ERequestRefused for an error answer.
  bool ResolveNotebook(std::string_view ANotebookName, bool ACreate, std::string& varNotebookId);

  // Read every page of the notebook or tag directory anew. False when a
  // request got no answer; throws ERequestRefused for an error answer.
  bool ReadNotebooks();
  bool ReadTags();
  const TFolderParents& FolderParents() const { return FFolderParents; }

  // Why the last request failed; empty when it succeeded. Never the token.
  const std::string& LastFailure() const { return FRestClient.LastFailure(); }
  // A long run (an import), or the clean-up after a failure, earns answer time.
  void GrantAnswerSeconds(long seconds) { FRestClient.GrantAnswerSeconds(seconds); }

  // Creates the note; true when the note's POST got an answer below 500.
  // `varNoteId` gets the new id when a success answer holds one and is left
  // alone otherwise. The notebook is resolved first (ResolveNotebook: false
  // without an answer, or its errors); an upload that fails is warned about;
  // an HTML body's files are uploaded once each. When no note results, the
  // uploaded resources are deleted again, unless the note's request went out
  // and no answer came (the note may exist); NoteOutcome() says why.
  bool CreateNote(TJoplinNewNote ANewNote, std::string& varNoteId);
  // The note of the last CreateNote, or why it made none.
  const TNoteOutcome& NoteOutcome() const { return FNoteOutcome; }
  // Uploads one file as a resource; true with its id when the answer gives one.
  bool UploadResourceFile(const std::string& AFilename, std::string& varResourceId);

 private:
  std::string AppendToken(std::string_view AResource) const;

  std::string FToken;
  TRestClient FRestClient;
  TRestResponse FRestResponse;
  Kestrel::CommonLib::TStringList FFolderList;
  TFolderParents FFolderParents;
  TNoteOutcome FNoteOutcome;
  Kestrel::CommonLib::TStringList FTagList;
};

}  // namespace JoplinRestUtils
