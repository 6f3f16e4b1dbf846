#pragma once
// One model of Joplin's Data API for the tests, answering on the loopback test
// server (which records the exact bytes of each request, and can stall, drip
// or close through its queued replies). It keeps folders, notes, resources,
// tags and change events as Joplin does:
//   - ids are the client's where it chooses them, else numbered in one count
//     ("C1" a folder, "N2" a note, "R3" a resource, "T4" a tag);
//   - a second POST of an id fails with 500, as Joplin's unique key does;
//   - PUT sets updated_time itself, later than any before;
//   - DELETE moves a note to the trash (permanent=1 erases it) and answers
//     with an empty chunked body; lists leave out notes in the trash, a GET
//     by id still returns them;
//   - every change of a note is an event (1 made, 2 changed, 3 erased).
// Copies are not made: the state lives as long as the object or the server
// it is installed on, so a temporary may be installed.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/TestHttpServer.hpp"

namespace TestSupport {

struct FakeFolder {
  FakeFolder(std::string id, std::string title, std::string parentId = {})
      : Id(std::move(id)), Title(std::move(title)), ParentId(std::move(parentId)) {}
  std::string Id;
  std::string Title;
  std::string ParentId;  // empty: at the top
};

struct FakeNote {
  std::string ParentId, Title, Body, Tags;
  int Markup = 1;
  std::int64_t Updated = 0;  // updated_time
  std::int64_t Deleted = 0;  // deleted_time: in the trash when not 0
  int Writes = 0;            // POST and PUT together
};

// The notes that adding to a note is tried on, in "Inbox" (F1): kJournal
// ("Journal", updated last), kOlder ("journal") and kPage (an HTML note).
inline constexpr const char* kJournal = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
inline constexpr const char* kOlder = "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb";
inline constexpr const char* kPage = "cccccccccccccccccccccccccccccccc";

struct FakeDataState;

class FakeDataApi {
 public:
  FakeDataApi();
  ~FakeDataApi();
  FakeDataApi(const FakeDataApi&) = delete;
  FakeDataApi& operator=(const FakeDataApi&) = delete;

  // Answers every request of `server` from now on (its queued replies first).
  void Install(TestHttpServer& server) const;
  Reply Answer(const RecordedRequest& request) const;

  // The three notes of the append tests, and their notebook.
  void AddJournalNotes();
  // As a user in Joplin does it.
  void TrashNote(const std::string& id);
  void EraseNote(const std::string& id);
  const FakeFolder* Folder(const std::string& id) const;

 private:
  std::shared_ptr<FakeDataState> FState;

 public:
  std::vector<FakeFolder>& Folders;
  std::map<std::string, FakeNote>& Notes;
  std::map<std::string, std::string>& Resources;  // id: bytes
  std::map<std::string, std::string>& Tags;       // id: title
  // Ways of misbehaving: someone edits the note between a read and the
  // write; writes refused with 500; a note read without its text.
  bool& ChangeBeforeWrite;
  bool& RefuseWrite;
  bool& LeaveOutBody;
  // Called with each note made, before the answer goes out.
  std::function<void(const std::string& id)>& NoteMade;
};

// The requests of one kind ("POST /resources", "GET /folders"...).
std::vector<RecordedRequest> RequestsTo(const TestHttpServer& server, std::string_view method,
                                        std::string_view path);

// The note as the last POST notes and the PUT of its body sent it: the JSON
// that one request would have carried. Empty when there was none.
std::string LastNoteJson(const TestHttpServer& server);
// The same of the one note the server received, or "<N notes>".
std::string TheNoteJson(const TestHttpServer& server);

// The "props" part of a multipart upload.
std::string PropsOf(const RecordedRequest& upload);
// The bytes of the "data" part of a multipart upload.
std::string FileBytesOf(const RecordedRequest& upload);

}  // namespace TestSupport
