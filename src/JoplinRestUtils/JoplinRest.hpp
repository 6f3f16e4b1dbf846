#pragma once
// The Data API client: requests with the token, the notebook and tag
// directories, resource upload and note creation. One per run.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "JoplinRestUtils/Http/RestClient.hpp"
#include "JoplinRestUtils/Http/RestResponse.hpp"
#include "JoplinRestUtils/Json/BodyMember.hpp"
#include "JoplinRestUtils/Json/Json.hpp"
#include "JoplinRestUtils/MarkdownLinking.hpp"
#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

// The parent of each notebook that has one; a notebook at the top has no
// entry (most have none, and a list of thousands costs less).
using TFolderParents = std::unordered_map<std::string, std::string>;

// The time that taking back a failed note's uploads may take, beyond the
// run's own time for answers.
inline constexpr long kCleanUpSeconds = 15;

// Adds "is_todo", "todo_due", "todo_completed", "source_url" and "author",
// each where the note asks for it.
void AddTodoAndSource(const TJoplinNewNote& from, TJsonValue& note);

// What the server holds under an id.
enum class TItemState { Missing, Present, Trashed };

// The note a run made or changed, as the server answered.
struct TNoteDone {
  std::string Id;
  std::string Title;
  std::string ParentId;
  std::vector<std::string> ResourceIds;  // the run's uploads that the note links
};

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
  // Why the last CreateNote made no note; kept past the clean-up requests.
  const std::string& NoteFailure() const { return FNoteFailure; }
  // The note of the last CreateNote that made one.
  const TNoteDone& NoteDone() const { return FNoteDone; }

  // Creates the note; true when the note's POST got an answer below 500.
  // `varNoteId` gets the new id when a success answer holds one and is left
  // alone otherwise. The notebook is resolved first (ResolveNotebook: false
  // without an answer, or its errors); an upload that fails is warned about;
  // an HTML body's files are uploaded once each. When no note results, the
  // uploaded resources are deleted again, unless the note's request went out
  // and no answer came (the note may exist); NoteFailure() says why.
  bool CreateNote(TJoplinNewNote ANewNote, std::string& varNoteId);
  // The note titled `title` (ASCII case ignored) in the notebook `folderId`
  // (empty: in any), the most recently updated of several (warned about);
  // `noteId` empty when there is none. False without an answer; throws
  // ERequestRefused for an error answer.
  bool FindNoteByTitle(std::string_view title, const std::string& folderId, std::string& noteId);
  // Adds the run's body, files, tags and to-do state to the note, at its end
  // or (`prepend`) its top, one blank line between the texts. True when the
  // note was written and read back as written; false (NoteFailure says why,
  // the run's uploads taken back where the note cannot link them) otherwise.
  // Throws ENoteNotFound, EMarkupMismatch, EBodyFilesBeyondBound before
  // anything is sent.
  bool AppendToNote(TJoplinNewNote ANewNote, const std::string& noteId, bool prepend);
  // Uploads one file as a resource; true with its id when the answer gives one.
  bool UploadResourceFile(const std::string& AFilename, std::string& varResourceId);
  // Creates the notebook with the id chosen (under `parentId`, empty: at the
  // top); true when the server took it.
  bool CreateNotebookWithId(const std::string& id, const std::string& title,
                            const std::string& parentId);
  // Uploads one file as the resource with the id chosen; true when the
  // server took it.
  bool UploadResourceWithId(const std::string& file, const std::string& id);

  // A long run (an import) earns answer time as it goes.
  void GrantAnswerSeconds(long seconds) { FRestClient.GrantAnswerSeconds(seconds); }
  // The ids of a notebook's notes (those in the trash not among them). False
  // without an answer; throws ERequestRefused for an error answer.
  bool ReadNotebookNoteIds(const std::string& folderId, std::vector<std::string>& ids);
  // The notes changed since `cursor` (id: the last kind of change, 1 made,
  // 2 changed, 3 deleted for good), and `cursor` moved past them; with an
  // empty cursor, only the latest cursor. False without an answer or when the
  // server keeps no events.
  bool ReadNoteEvents(std::string& cursor, std::unordered_map<std::string, int>& changes);
  // Whether `kind` ("notes", "resources", "folders") holds the id, and a
  // note whether it is in the trash. False without an answer.
  bool ReadItemState(std::string_view kind, const std::string& id, TItemState& state);

 private:
  // Without a filter of its own, a request with a body keeps only the
  // members of the server's echo that are read.
  bool ExecuteRequest(TRESTRequestMethod AMethod, std::string_view AResource,
                      const TJsonValue* AJsonObject,
                      std::shared_ptr<Platform::HttpAnswerFilter> filter = {});
  std::string AppendToken(std::string_view AResource) const;
  // Fetches a directory while it is empty, then finds the title's id from the end.
  std::string FindInDirectory(Kestrel::CommonLib::TStringList& directory, std::string_view resource,
                              std::string_view title);
  // Reads every page of a directory into it. Strictly, a request without
  // answer gives false and an error answer throws ERequestRefused.
  bool FetchDirectory(Kestrel::CommonLib::TStringList& directory, std::string_view resource,
                      TFolderParents* parents, bool strict);
  // "The server refused GET folders (HTTP 403 Forbidden)", of the last answer.
  std::string RefusalMessage() const;
  // Uploads each file, warning about those that fail; `onceEach` uploads a
  // file named several times once; the first `fromBody` files are the
  // body's own. Stops at the first upload that runs out of the run's time.
  // Entries: resource id=file.
  Kestrel::CommonLib::TStringList UploadFiles(const Kestrel::CommonLib::TStringList& files,
                                              bool onceEach, size_t fromBody);
  // Uploads the planned files of a Markdown body and points its links at the
  // resources; a link whose file was not uploaded stays, with a warning.
  void LinkLocalFiles(std::string& body, const TMarkdownLinkPlan& plan,
                      Kestrel::CommonLib::TStringList& uploaded);
  // The local files a body pulls in, planned and bounded (throws
  // EBodyFilesBeyondBound) before anything is sent.
  TMarkdownLinkPlan PlanBodyFiles(const TJoplinNewNote& ANewNote) const;
  // Takes the note's body and uploads what it and the attachments bring,
  // pointing the body at them; false when the uploads stopped (the run's time
  // ran out). `uploaded` holds every upload made, to take back on failure.
  bool UploadAndLink(TJoplinNewNote& ANewNote, const TMarkdownLinkPlan& plan, std::string& body,
                     Kestrel::CommonLib::TStringList& uploaded);
  // The note's fields (a comma-separated list); false without an answer,
  // throws ENoteNotFound for a missing or trashed note. With `body`, the
  // note's body is read by it and not kept in `note`.
  bool ReadNote(const std::string& noteId, const std::string& fields, TJsonValue& note,
                std::shared_ptr<TBodyMember> body = {});
  // Links each tag (made where missing) to the note, warning about failures.
  void AddTagsToNote(const std::string& noteId, const Kestrel::CommonLib::TStringList& tags);
  // The note made or changed, for NoteDone(); `uploaded` are id=file entries.
  void RecordNoteDone(std::string id, std::string title, std::string parentId,
                      const Kestrel::CommonLib::TStringList& uploaded);
  // Names an upload that the body causes, where a person watches standard error.
  void TellBodyUpload(const std::string& path) const;
  // An upload ran out of the run's time for answers: none is tried after it.
  bool UploadsStopped() const { return FUploadsStopped; }
  // Deletes resources that no note will link, warning about those that stay.
  void RemoveResources(const Kestrel::CommonLib::TStringList& uploaded);
  // Creates a notebook under `parentId`; false without answer, throws when refused.
  bool CreateNotebook(const std::string& title, const std::string& parentId, std::string& id);

  std::string FToken;
  TRestClient FRestClient;
  TRestResponse FRestResponse;
  Kestrel::CommonLib::TStringList FFolderList;
  TFolderParents FFolderParents;
  std::string FNoteFailure;
  TNoteDone FNoteDone;
  bool FUploadsStopped = false;
  Kestrel::CommonLib::TStringList FTagList;
};

}  // namespace JoplinRestUtils
