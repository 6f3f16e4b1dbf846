// Note creation and resource upload of TJoplinRest.
#include <unordered_set>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "JoplinRestUtils/MarkdownLinking.hpp"
#include "JoplinRestUtils/Markup/HtmlEscape.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "JoplinRestUtils/Markup/ImageRelinking.hpp"
#include "JoplinRestUtils/UnixTime.hpp"
#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Platform/Console/Console.hpp"
#include "Platform/Files/FileTimes.hpp"
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

// A date of the command line (local time) wins over one of a front-matter
// block (an instant).
std::optional<std::int64_t> NoteDateMs(Kestrel::CommonLib::TDateTime local,
                                       const std::optional<std::int64_t>& instant) {
  if (local > 0)
    return DateTimeToUnixMs(local);
  return instant;
}

}  // namespace

// To-do state, source, author and place, each only when asked for, so that a
// note without them is sent as it always was.
void AddTodoAndSource(const TJoplinNewNote& from, TJsonValue& note) {
  if (from.IsTodo)
    note["is_todo"] = 1;
  if (const auto due = NoteDateMs(from.TodoDue, from.DueMs))
    note["todo_due"] = *due;
  if (from.TodoCompleted)
    note["todo_completed"] = DateTimeToUnixMs(Kestrel::CommonLib::NowDateTime());
  if (!from.SourceUrl.empty())
    note["source_url"] = from.SourceUrl;
  if (!from.Author.empty())
    note["author"] = from.Author;
  const std::pair<const char*, const std::optional<double>*> places[] = {
      {"latitude", &from.Latitude}, {"longitude", &from.Longitude}, {"altitude", &from.Altitude}};
  for (const auto& [name, value] : places) {
    if (*value)
      note[name] = **value;
  }
}

namespace {

// Markdown: one link per uploaded file at the end, an image link for images.
void AppendLinks(std::string& body, const TStringList& uploaded) {
  for (const auto& entry : uploaded.Lines()) {
    const std::string_view path = TStringList::ValueOf(entry);
    body += "\r\n";
    if (IsImageFile(path))
      body += "!";
    body += "[" + Kestrel::CommonLib::DisplayFileName(path) + "](:/" +
            std::string(TStringList::NameOf(entry)) + ")";
  }
}

// HTML: the uploaded files that the page does not show, linked at its end,
// images as images.
void AppendHtmlLinks(std::string& body, const TStringList& uploaded,
                     const std::unordered_set<std::string>& shownByPage) {
  for (const auto& entry : uploaded.Lines()) {
    const std::string_view path = TStringList::ValueOf(entry);
    if (shownByPage.count(std::string(path)) != 0)
      continue;
    const std::string id(TStringList::NameOf(entry));
    const std::string name = EscapeHtml(Kestrel::CommonLib::DisplayFileName(path));
    body += "\r\n";
    body += IsImageFile(path) ? "<img src=\":/" + id + "\" alt=\"" + name + "\">"
                              : "<a href=\":/" + id + "\">" + name + "</a>";
  }
}

// The page's own images first, then the attachments that are not among them.
TStringList PageImagesThenAttachments(const TStringList& images, const TStringList& attachments) {
  TStringList files = images;
  for (const auto& file : attachments.Lines())
    files.Add(file);
  return files;
}

// The files of id=file entries, for asking "already sent?" without a search.
std::unordered_set<std::string> FilesOf(const TStringList& uploaded) {
  std::unordered_set<std::string> files;
  for (const auto& entry : uploaded.Lines())
    files.emplace(TStringList::ValueOf(entry));
  return files;
}

void WarnNotUploaded(const std::string& file, const std::string& failure) {
  Kestrel::CommonLib::Warn(
      "attachment " + Kestrel::CommonLib::QuotedPath(file) + " was not uploaded (" +
      (failure.empty() ? std::string("the answer held no resource id") : failure) + "); skipped");
}

}  // namespace

void TJoplinRest::TellBodyUpload(const std::string& path) const {
  if (Platform::StandardErrorIsTerminal())
    Kestrel::CommonLib::TellCause("uploading " + Kestrel::CommonLib::QuotedPath(path) +
                                  ", which the body links to");
}

TMarkdownLinkPlan TJoplinRest::PlanBodyFiles(const TJoplinNewNote& ANewNote) const {
  const bool html = ANewNote.MarkupLanguage == kMarkupHtml;
  TMarkdownLinkPlan plan;
  if (!html && ANewNote.LinkLocalFiles)
    plan = PlanMarkdownLinks(ANewNote.Body, ANewNote.BaseDir, ANewNote.LocalFiles);
  CheckBodyFileBound(ANewNote.LocalFiles, html ? ANewNote.BodyImages.Lines() : plan.Files);
  return plan;
}

bool TJoplinRest::UploadAndLink(TJoplinNewNote& ANewNote, const TMarkdownLinkPlan& plan,
                                std::string& body, TStringList& uploaded) {
  const bool html = ANewNote.MarkupLanguage == kMarkupHtml;
  body = std::move(ANewNote.Body);
  TStringList linkedFromBody;
  if (!html)
    LinkLocalFiles(body, plan, linkedFromBody);
  // An attachment that the body links to already is neither sent nor linked again.
  const std::unordered_set<std::string> linkedFiles = FilesOf(linkedFromBody);
  TStringList attachments;
  for (const auto& file : ANewNote.Files.Lines()) {
    if (linkedFiles.count(file) == 0)
      attachments.Add(file);
  }
  uploaded = html ? UploadFiles(PageImagesThenAttachments(ANewNote.BodyImages, attachments), true,
                                ANewNote.BodyImages.Count())
                  : UploadFiles(attachments, false, 0);
  if (!UploadsStopped()) {
    if (html) {
      body = RelinkImageReferences(body, ANewNote.BaseDir, uploaded);
      const auto& images = ANewNote.BodyImages.Lines();
      AppendHtmlLinks(body, uploaded, {images.begin(), images.end()});
    } else {
      AppendLinks(body, uploaded);
    }
  }
  for (const auto& entry : linkedFromBody.Lines())
    uploaded.Add(entry);
  return !UploadsStopped();
}

void TJoplinRest::RecordNoteDone(std::string id, std::string title, std::string parentId,
                                 const TStringList& uploaded) {
  FNoteDone = {std::move(id), std::move(title), std::move(parentId), {}};
  for (const auto& entry : uploaded.Lines())
    FNoteDone.ResourceIds.emplace_back(TStringList::NameOf(entry));
}

bool TJoplinRest::CreateNote(TJoplinNewNote ANewNote, std::string& varNoteId) {
  FNoteFailure.clear();
  TJsonValue note = TJsonValue::object();
  note["title"] = Kestrel::CommonLib::IsEmptyText(ANewNote.Title, true) ? std::string("NoName")
                                                                        : ANewNote.Title;
  note["markup_language"] = ANewNote.MarkupLanguage;
  if (const auto created = NoteDateMs(ANewNote.CTime, ANewNote.CreatedMs))
    note["user_created_time"] = *created;
  if (const auto updated = NoteDateMs(ANewNote.MTime, ANewNote.UpdatedMs))
    note["user_updated_time"] = *updated;
  // What the body pulls in is settled, and bounded, before anything is sent.
  const TMarkdownLinkPlan plan = PlanBodyFiles(ANewNote);
  // The notebook is settled before anything is uploaded, so that a wrong
  // name leaves nothing behind on the server.
  if (!ANewNote.NotebookName.empty()) {
    std::string folderId;
    if (!ResolveNotebook(ANewNote.NotebookName, ANewNote.CreateNotebooks, folderId)) {
      FNoteFailure = LastFailure();
      return false;
    }
    if (!folderId.empty())
      note["parent_id"] = folderId;
  }
  const std::string tags = JoinedTags(ANewNote.Tags);
  if (!tags.empty())
    note["tags"] = tags;
  AddTodoAndSource(ANewNote, note);

  std::string body;
  TStringList uploaded;
  if (!UploadAndLink(ANewNote, plan, body, uploaded)) {
    FNoteFailure = LastFailure() + "; no more files were sent, and the note was not created";
    RemoveResources(uploaded);
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
    RecordNoteDone(id, ReadOptionalTextMember(*FRestResponse.JsonValue(), "title"),
                   ReadOptionalTextMember(*FRestResponse.JsonValue(), "parent_id"), uploaded);
    return true;
  }
  FNoteFailure = LastFailure().empty() ? "the answer to POST notes held no note id" : LastFailure();
  if (FRestClient.LastRequestClearlyRefused()) {
    RemoveResources(uploaded);
  } else if (posted && FRestResponse.StatusCode() < 300) {
    // A success status without a readable id: the note most likely exists
    // and links the resources, so they stay.
    FNoteFailure +=
        "; the server answered with success, so the note was probably created: "
        "look in Joplin before sending it again";
  } else {
    // No answer, or none that says no: the note may exist and link the resources.
    FNoteFailure += "; the note may have been created: look in Joplin before sending it again";
  }
  return posted;
}

TStringList TJoplinRest::UploadFiles(const TStringList& files, bool onceEach, size_t fromBody) {
  TStringList uploaded;
  std::unordered_set<std::string> sent;
  for (size_t i = 0; i < files.Count() && !UploadsStopped(); ++i) {
    const std::string& file = files[i];
    // Every reference of an HTML body to one file can share one resource.
    if (onceEach && sent.count(file) != 0)
      continue;
    if (i < fromBody)
      TellBodyUpload(file);
    std::string resourceId;
    if (UploadResourceFile(file, resourceId)) {
      uploaded.SetValue(resourceId, file);
      sent.insert(file);
    } else {
      WarnNotUploaded(file, LastFailure());
    }
  }
  return uploaded;
}

void TJoplinRest::RemoveResources(const TStringList& uploaded) {
  // Taking back what was sent gets time of its own, even when the run's time
  // for answers is spent.
  if (!uploaded.Empty())
    FRestClient.GrantAnswerSeconds(kCleanUpSeconds);
  for (const auto& entry : uploaded.Lines()) {
    const std::string id(TStringList::NameOf(entry));
    if (!Delete("resources/" + id, nullptr) || FRestResponse.StatusCode() >= 300) {
      Kestrel::CommonLib::Warn("the resource " + id +
                               " uploaded for the note could not be removed (" + LastFailure() +
                               ")");
    }
  }
}

namespace {

TJsonValue ResourceProperties(const std::string& file) {
  TJsonValue properties = TJsonValue::object();
  properties["title"] = Kestrel::CommonLib::DisplayFileName(file);
  // The file's times are UTC instants already: sent as they are, they stay
  // true even in the hour that daylight saving repeats.
  Platform::FileTimeStamps times;
  if (Platform::ReadFileTimes(file, times)) {
    properties["created_time"] = WholeSecondsAsUnixMs(times.Creation);
    properties["updated_time"] = WholeSecondsAsUnixMs(times.LastWrite);
  }
  return properties;
}

}  // namespace

bool TJoplinRest::UploadResourceFile(const std::string& AFilename, std::string& varResourceId) {
  if (!Platform::FileExists(AFilename))
    return false;
  const TJsonValue properties = ResourceProperties(AFilename);
  std::string id;
  if (!PostFile("resources", AFilename, &properties) || FRestResponse.StatusCode() >= 300 ||
      !ReadAnswerId(FRestResponse.JsonValue(), id, true)) {
    // Once the time for answers has run out, no further upload can succeed.
    FUploadsStopped = FUploadsStopped || FRestClient.LastRequestOutOfTime();
    return false;
  }
  varResourceId = id;
  return true;
}

bool TJoplinRest::UploadResourceWithId(const std::string& file, const std::string& id) {
  if (!Platform::FileExists(file))
    return false;
  TJsonValue properties = TJsonValue::object();
  properties["id"] = id;
  properties.update(ResourceProperties(file));
  return PostFile("resources", file, &properties) && FRestResponse.StatusCode() < 300;
}

}  // namespace JoplinRestUtils
