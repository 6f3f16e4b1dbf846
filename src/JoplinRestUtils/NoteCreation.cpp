// Note creation and resource upload of TJoplinRest.
#include "JoplinRestUtils/BodyUploads.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "JoplinRestUtils/NoteFields.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Files/Files.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

std::string JoinedTags(const TStringList& tags) {
  std::string joined;
  for (const auto& tag : tags.Lines()) {
    if (Kestrel::CommonLib::IsEmptyText(tag, true))
      continue;
    if (!joined.empty())
      joined += ", ";
    joined += tag;
  }
  return joined;
}

}  // namespace

bool TJoplinRest::CreateNote(TJoplinNewNote ANewNote, std::string& varNoteId) {
  FNoteOutcome = {};
  TJsonValue note = TJsonValue::object();
  note["title"] = Kestrel::CommonLib::IsEmptyText(ANewNote.Title, true) ? std::string("NoName")
                                                                        : ANewNote.Title;
  note["markup_language"] = ANewNote.MarkupLanguage;
  if (const auto created = NoteDateMs(ANewNote.CTime, ANewNote.CreatedMs))
    note["user_created_time"] = *created;
  if (const auto updated = NoteDateMs(ANewNote.MTime, ANewNote.UpdatedMs))
    note["user_updated_time"] = *updated;
  // What the body pulls in is settled, and bounded, before anything is sent.
  const TMarkdownLinkPlan plan = TBodyUploads::Plan(ANewNote);
  // The notebook is settled before anything is uploaded, so that a wrong
  // name leaves nothing behind on the server.
  if (!ANewNote.NotebookName.empty()) {
    std::string folderId;
    if (!ResolveNotebook(ANewNote.NotebookName, ANewNote.CreateNotebooks, folderId)) {
      FNoteOutcome = NoteFailed(LastFailure());
      return false;
    }
    if (!folderId.empty())
      note["parent_id"] = folderId;
  }
  const std::string tags = JoinedTags(ANewNote.Tags);
  if (!tags.empty())
    note["tags"] = tags;
  AddTodoAndSource(ANewNote, note);

  TBodyUploads uploads(*this);
  std::string body;
  TStringList uploaded;
  if (!uploads.UploadAndLink(ANewNote, plan, body, uploaded)) {
    FNoteOutcome =
        NoteFailed(LastFailure() + "; no more files were sent, and the note was not created");
    uploads.Remove(uploaded);
    return false;
  }
  note["body"] = std::move(body);

  const bool posted = Post("notes", &note);
  // Only a success status creates a note, whatever an error answer holds.
  std::string id;
  if (posted && FRestResponse.StatusCode() < 300)
    ReadAnswerId(FRestResponse.JsonValue(), id, false);
  if (!id.empty()) {
    varNoteId = id;
    FNoteOutcome =
        NoteMade(id, ReadOptionalTextMember(*FRestResponse.JsonValue(), "title"),
                 ReadOptionalTextMember(*FRestResponse.JsonValue(), "parent_id"), uploaded);
    return true;
  }
  std::string failure =
      LastFailure().empty() ? "the answer to POST notes held no note id" : LastFailure();
  if (FRestClient.LastRequestClearlyRefused()) {
    uploads.Remove(uploaded);
  } else if (posted && FRestResponse.StatusCode() < 300) {
    // A success status without a readable id: the note most likely exists
    // and links the resources, so they stay.
    failure +=
        "; the server answered with success, so the note was probably created: "
        "look in Joplin before sending it again";
  } else {
    // No answer, or none that says no: the note may exist and link the resources.
    failure += "; the note may have been created: look in Joplin before sending it again";
  }
  FNoteOutcome = NoteFailed(std::move(failure));
  return posted;
}

bool TJoplinRest::UploadResourceFile(const std::string& AFilename, std::string& varResourceId) {
  if (!Platform::FileExists(AFilename))
    return false;
  const TJsonValue properties = ResourceProperties(AFilename);
  std::string id;
  if (!PostFile("resources", AFilename, &properties) || FRestResponse.StatusCode() >= 300 ||
      !ReadAnswerId(FRestResponse.JsonValue(), id, true))
    return false;
  varResourceId = id;
  return true;
}

}  // namespace JoplinRestUtils
