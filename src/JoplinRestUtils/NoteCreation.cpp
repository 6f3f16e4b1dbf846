// Note creation and resource upload of TJoplinRest.
#include "JoplinRestUtils/BodyUploads.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/BodyMember.hpp"
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

// Whether the note's body reached it.
enum class TBodyWrite { Written, Refused, Unknown };

// The second step's request: the body, and the user's times again, since
// Joplin's PUT sets user_updated_time to now unless it is sent. Without a
// time of the user's, the one the note was made with.
TJsonValue BodyWrite(std::string body, const TJsonValue& note, const TJsonValue& made) {
  TJsonValue write = TJsonValue::object();
  write["body"] = std::move(body);
  for (const char* time : {"user_created_time", "user_updated_time"}) {
    if (note.contains(time))
      write[time] = note[time];
    else if (made.is_object() && made.contains(time) && made[time].is_number_integer())
      write[time] = made[time];
  }
  return write;
}

// Joplin's POST /notes downloads every image its body names (http:, https:,
// file: and data: URLs, embedded PDFs, an HTML body's images even inside
// comments) and keeps each answer as a resource; its PUT reads nothing. So a
// note is made with an empty body and then given its body here. A write
// whose answer was lost is read back: the note holds the body, or not.
TBodyWrite WriteBody(TJoplinRest& client, const std::string& id, const TJsonValue& write,
                     std::string& failure) {
  const TRequestOutcome put = client.Request(TRESTRequestMethod::rmPUT, "notes/" + id, &write);
  if (put.Succeeded())
    return TBodyWrite::Written;
  failure = put.Failure;
  if (put.ClearlyRefused)
    return TBodyWrite::Refused;
  client.GrantAnswerSeconds(kCleanUpSeconds);
  const auto check = TBodyMember::Checking(write.at("body").get_ref<const std::string&>());
  const TRequestOutcome read =
      client.Request(TRESTRequestMethod::rmGET, "notes/" + id + "?fields=body", nullptr, check);
  if (!read.AnsweredBelow500())
    return TBodyWrite::Unknown;
  return read.Succeeded() && check->Matches() ? TBodyWrite::Written : TBodyWrite::Refused;
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
  // Made with an empty body, and given its body in a second step: see WriteBody.
  note["body"] = "";

  const bool posted = Post("notes", &note);
  // Only a success status creates a note, whatever an error answer holds.
  std::string id;
  if (posted && FRestResponse.StatusCode() < 300)
    ReadAnswerId(FRestResponse.JsonValue(), id, false);
  if (!id.empty()) {
    const TJsonValue& made = *FRestResponse.JsonValue();
    TNoteOutcome done = NoteMade(id, ReadOptionalTextMember(made, "title"),
                                 ReadOptionalTextMember(made, "parent_id"), uploaded);
    const TJsonValue write = BodyWrite(std::move(body), note, made);
    std::string failure;
    const bool noBody = write.at("body").get_ref<const std::string&>().empty();
    switch (noBody ? TBodyWrite::Written : WriteBody(*this, id, write, failure)) {
      case TBodyWrite::Written:
        varNoteId = id;
        FNoteOutcome = std::move(done);
        return true;
      case TBodyWrite::Refused:
        GrantAnswerSeconds(kCleanUpSeconds);
        if (!Request(TRESTRequestMethod::rmDELETE, "notes/" + id + "?permanent=1").Succeeded())
          failure += "; the note " + id + " made without its text could not be deleted";
        uploads.Remove(uploaded);
        FNoteOutcome = NoteFailed(failure + "; the note was not created");
        return false;
      case TBodyWrite::Unknown:
        FNoteOutcome = NoteFailed(failure +
                                  "; the note may have been created without its text: look in "
                                  "Joplin before sending it again");
        return false;
    }
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
