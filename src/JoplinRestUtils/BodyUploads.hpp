#pragma once
// What a note's body and attachments bring to the server: the local files a
// body links to, planned and bounded before anything is sent, then uploaded
// with the attachments and linked into the body (Markdown links pointed at
// the resources, or an HTML page's images relinked); and taking them back
// when no note will link them.
#include <string>

#include "JoplinRestUtils/JoplinRest.hpp"
#include "JoplinRestUtils/MarkdownLinking.hpp"
#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/Text/StringList.hpp"

namespace JoplinRestUtils {

// The time that taking back a failed note's uploads may take, beyond the
// run's own time for answers.
inline constexpr long kCleanUpSeconds = 15;

class TBodyUploads {
 public:
  explicit TBodyUploads(TJoplinRest& client) : FClient(client) {}

  // The local files a body pulls in, planned and bounded (throws
  // EBodyFilesBeyondBound) before anything is sent.
  static TMarkdownLinkPlan Plan(const TJoplinNewNote& note);

  // Takes the note's body and uploads what it and the attachments bring,
  // pointing the body at them; false when the uploads stopped (the run's time
  // ran out). `uploaded` holds every upload made (id=file), to take back on
  // failure. An upload that fails otherwise is warned about and skipped.
  bool UploadAndLink(TJoplinNewNote& note, const TMarkdownLinkPlan& plan, std::string& body,
                     Kestrel::CommonLib::TStringList& uploaded);

  // Deletes resources that no note will link, warning about those that stay.
  void Remove(const Kestrel::CommonLib::TStringList& uploaded);

 private:
  // Uploads each file, warning about those that fail; `onceEach` uploads a
  // file named several times once; the first `fromBody` files are the
  // body's own. Stops at the first upload that runs out of the run's time.
  Kestrel::CommonLib::TStringList UploadFiles(const Kestrel::CommonLib::TStringList& files,
                                              bool onceEach, size_t fromBody);
  // Uploads the planned files of a Markdown body and points its links at the
  // resources; a link whose file was not uploaded stays, with a warning.
  void LinkLocalFiles(std::string& body, const TMarkdownLinkPlan& plan,
                      Kestrel::CommonLib::TStringList& uploaded);
  // One upload; false (and no more uploads once the run's time ran out)
  // when it failed.
  bool Upload(const std::string& file, std::string& resourceId);

  TJoplinRest& FClient;
  bool FStopped = false;  // an upload ran out of the run's time: none is tried after it
};

}  // namespace JoplinRestUtils
