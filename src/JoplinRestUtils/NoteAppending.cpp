#include "JoplinRestUtils/NoteAppending.hpp"

#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/Json/JsonReading.hpp"
#include "JoplinRestUtils/NoteFields.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/Text/TextHelpers.hpp"
#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace JoplinRestUtils {
namespace {

using Kestrel::CommonLib::TStringList;

constexpr size_t kRoomForLinks = 64 * 1024;

// The body is read apart from the rest (TBodyMember); deleted_time tells a
// note in the trash, which is no note to add to.
constexpr const char* kNoteFields =
    "id,title,body,markup_language,updated_time,parent_id,deleted_time";

std::string_view WithoutTrailingBreaks(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// The old text and the new part, one blank line between them; appending
// grows the old text in place.
std::string Joined(std::string old, std::string_view part, bool prepend) {
  if (WithoutTrailingBreaks(part).empty())
    return old;
  if (WithoutTrailingBreaks(old).empty())
    return std::string(part);
  if (prepend) {
    const std::string_view top = WithoutTrailingBreaks(part);
    std::string joined;
    joined.reserve(top.size() + 4 + old.size());
    joined.append(top).append("\r\n\r\n").append(old);
    return joined;
  }
  old.resize(WithoutTrailingBreaks(old).size());
  old.append("\r\n\r\n").append(part);
  return old;
}

const char* MarkupName(std::int64_t markup) {
  return markup == kMarkupHtml ? "HTML" : "Markdown";
}

}  // namespace

bool TNoteAppender::ReadNote(const std::string& noteId, const std::string& fields, TJsonValue& note,
                             std::shared_ptr<TBodyMember> body) {
  const TRequestOutcome read = FClient.Request(
      TRESTRequestMethod::rmGET, "notes/" + noteId + "?fields=" + fields, nullptr, std::move(body));
  if (!read.AnsweredBelow500())
    return false;
  std::optional<TJsonValue> answer = FClient.TakeAnswerJson();
  // A note in the trash is no note to add to.
  if (read.Status == 404 || !answer || !answer->is_object() ||
      answer->value("deleted_time", std::int64_t{0}) != 0)
    throw ENoteNotFound("Note " + Kestrel::CommonLib::Quoted(noteId) + " not found");
  if (read.Status >= 300)
    throw ERequestRefused(read.Failure);
  note = std::move(*answer);
  return true;
}

TRequestOutcome TNoteAppender::FindNoteByTitle(std::string_view title, const std::string& folderId,
                                               std::string& noteId) {
  const std::string list = folderId.empty() ? "notes" : "folders/" + folderId + "/notes";
  std::string found;
  std::int64_t newest = -1;
  size_t matches = 0;
  for (int page = 1;; ++page) {
    const TRequestOutcome read = FClient.Request(
        TRESTRequestMethod::rmGET,
        list + "?fields=id,title,updated_time&limit=100&page=" + std::to_string(page));
    if (!read.AnsweredBelow500())
      return read;
    if (read.Status >= 300)
      throw ERequestRefused(read.Failure);
    const auto& answer = FClient.AnswerJson();
    if (!answer || !answer->is_object() || !answer->contains("items"))
      throw ERequestRefused("GET " + list + ": the answer holds no list of notes");
    for (const auto& item : (*answer)["items"]) {
      if (!item.is_object() || !Kestrel::CommonLib::SameText(item.value("title", ""), title))
        continue;
      ++matches;
      const std::int64_t updated = item.value("updated_time", std::int64_t{0});
      if (updated > newest) {
        newest = updated;
        found = item.value("id", "");
      }
    }
    if (!answer->value("has_more", false))
      break;
  }
  if (matches > 1) {
    Kestrel::CommonLib::Warn(std::to_string(matches) + " notes are titled " +
                             Kestrel::CommonLib::Quoted(title) +
                             "; adding to the most recently updated one");
  }
  noteId = found;
  return FClient.LastOutcome();
}

TNoteOutcome TNoteAppender::Append(TJoplinNewNote ANewNote, const std::string& noteId,
                                   bool prepend) {
  TJsonValue current;
  // Room for the new part and its links, so that joining does not copy the old text.
  const auto oldBody = TBodyMember::Keeping(ANewNote.Body.size() + kRoomForLinks);
  if (!ReadNote(noteId, kNoteFields, current, oldBody))
    return NoteFailed(FClient.LastFailure());
  // Without the old text, a write would put the new part in its place.
  std::optional<std::string> old = oldBody->TakeBody();
  if (!old)
    return NoteFailed("the note's text could not be read; nothing was sent");
  const std::int64_t markup = current.value("markup_language", std::int64_t{kMarkupMarkdown});
  if (markup != ANewNote.MarkupLanguage) {
    throw EMarkupMismatch("the note " + Kestrel::CommonLib::Quoted(noteId) + " is " +
                          MarkupName(markup) + ", the new text " +
                          MarkupName(ANewNote.MarkupLanguage) + "; nothing was sent");
  }
  const TMarkdownLinkPlan plan = TBodyUploads::Plan(ANewNote);
  const TStringList tags = ANewNote.Tags;
  TJsonValue change = TJsonValue::object();
  AddTodoAndSource(ANewNote, change);
  std::string part;
  TStringList uploaded;
  if (!FUploads.UploadAndLink(ANewNote, plan, part, uploaded)) {
    const std::string failure =
        FClient.LastFailure() + "; no more files were sent, and the note was left as it was";
    FUploads.Remove(uploaded);
    return NoteFailed(failure);
  }
  // The Data API has no conditional write: the window between this check and
  // the write is kept as short as one request.
  TJsonValue now;
  if (!ReadNote(noteId, "updated_time", now) ||
      now.value("updated_time", std::int64_t{-1}) !=
          current.value("updated_time", std::int64_t{-2})) {
    const std::string failure =
        FClient.LastFailure().empty()
            ? "the note changed while this run prepared its part; nothing was written"
            : FClient.LastFailure();
    FUploads.Remove(uploaded);
    return NoteFailed(failure);
  }
  change["body"] = Joined(std::move(*old), part, prepend);
  const std::string& body = change["body"].get_ref<const std::string&>();
  const TRequestOutcome put =
      FClient.Request(TRESTRequestMethod::rmPUT, "notes/" + noteId, &change);
  if (!put.Succeeded()) {
    if (put.ClearlyRefused) {
      FUploads.Remove(uploaded);
      return NoteFailed(put.Failure + "; the note was left as it was");
    }
    return NoteFailed(put.Failure +
                      "; the note may have been changed: look in Joplin before sending it again");
  }
  AddTags(noteId, tags);
  TJsonValue written;
  const auto check = TBodyMember::Checking(body);
  if (!ReadNote(noteId, "body", written, check) || !check->Matches())
    return NoteFailed("the note was written, but reading it back did not give the text written");
  return NoteMade(noteId, current.value("title", ""), current.value("parent_id", ""), uploaded);
}

void TNoteAppender::AddTags(const std::string& noteId, const TStringList& tags) {
  for (const auto& tag : tags.Lines()) {
    if (Kestrel::CommonLib::IsEmptyText(tag, true))
      continue;
    const std::string tagId = FClient.FindTagId(tag, true);
    TJsonValue link = TJsonValue::object();
    link["id"] = noteId;
    if (tagId.empty() ||
        !FClient.Request(TRESTRequestMethod::rmPOST, "tags/" + tagId + "/notes", &link)
             .Succeeded()) {
      Kestrel::CommonLib::Warn("the tag " + Kestrel::CommonLib::Quoted(tag) +
                               " could not be added to the note (" + FClient.LastFailure() + ")");
    }
  }
}

}  // namespace JoplinRestUtils
