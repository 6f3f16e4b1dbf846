#pragma once
// Adding to an existing note, for journals and logs that grow: the note is
// read, the run's files are uploaded, and the note is written with PUT only
// when it did not change in the meantime, then read again to check.
#include <memory>
#include <string>
#include <string_view>

#include "JoplinRestUtils/BodyUploads.hpp"
#include "JoplinRestUtils/Http/RequestOutcome.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/Json/BodyMember.hpp"
#include "JoplinRestUtils/NoteDone.hpp"

namespace JoplinRestUtils {

class TNoteAppender {
 public:
  explicit TNoteAppender(TJoplinRest& client) : FClient(client), FUploads(client) {}

  // The note titled `title` (ASCII case ignored) in the notebook `folderId`
  // (empty: in any), the most recently updated of several (warned about);
  // `noteId` empty when there is none. An outcome without an answer when a
  // page got none; throws ERequestRefused for an error answer.
  TRequestOutcome FindNoteByTitle(std::string_view title, const std::string& folderId,
                                  std::string& noteId);

  // Adds the run's body, files, tags and to-do state to the note, at its end
  // or (`prepend`) its top, one blank line between the texts. Done when the
  // note was written and read back as written; otherwise why not (the run's
  // uploads taken back where the note cannot link them). Throws
  // ENoteNotFound, EMarkupMismatch, EBodyFilesBeyondBound before anything is
  // sent.
  TNoteOutcome Append(TJoplinNewNote note, const std::string& noteId, bool prepend);

 private:
  // The note's fields (a comma-separated list); false without an answer,
  // throws ENoteNotFound for a missing or trashed note. With `body`, the
  // note's body is read by it and not kept in `note`.
  bool ReadNote(const std::string& noteId, const std::string& fields, TJsonValue& note,
                std::shared_ptr<TBodyMember> body = {});
  // Links each tag (made where missing) to the note, warning about failures.
  void AddTags(const std::string& noteId, const Kestrel::CommonLib::TStringList& tags);

  TJoplinRest& FClient;
  TBodyUploads FUploads;
};

}  // namespace JoplinRestUtils
