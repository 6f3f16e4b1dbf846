#pragma once
// A loopback Data API that keeps notes: it lists, reads and writes them, so
// that adding to a note can be tested end to end. Three notes to begin
// with: kJournal ("Journal", updated last), kOlder ("journal") and kPage (an
// HTML note); a new note gets the id dddd...
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "support/TestHttpServer.hpp"

namespace TestSupport {

inline constexpr const char* kJournal = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
inline constexpr const char* kOlder = "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb";
inline constexpr const char* kPage = "cccccccccccccccccccccccccccccccc";

struct FakeNote {
  std::string Title, Body;
  int Markup = 1;
  std::int64_t Updated = 0;
};

class NoteStore {
 public:
  NoteStore();
  Reply Answer(const RecordedRequest& request);

  std::map<std::string, FakeNote> Notes;
  bool ChangeBeforeWrite = false;  // someone edits the note between read and write
  bool RefuseWrite = false;
  bool LeaveOutBody = false;  // a read that answers without the note's text

 private:
  Reply List();
  Reply Read(const std::string& id, bool updatedOnly);
  Reply Write(const std::string& id, const std::string& body);
  std::mutex FMutex;
};

}  // namespace TestSupport
