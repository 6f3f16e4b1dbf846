#pragma once
// A loopback Data API that keeps what an import makes, by the ids the client
// chooses, as Joplin does: a second POST of an id fails with 500, notes go to
// the trash and come back, and every change of a note is an event.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/TestHttpServer.hpp"

namespace TestSupport {

struct StoredNote {
  std::string ParentId, Title, Body, Tags;
  std::int64_t Deleted = 0;
  int Writes = 0;  // POST and PUT together
};

class ImportStore {
 public:
  Reply Answer(const RecordedRequest& request);

  // As a user in Joplin does it.
  void TrashNote(const std::string& id);
  void EraseNote(const std::string& id);

  std::map<std::string, StoredNote> Notes;
  std::map<std::string, std::string> Folders;    // id: parent id
  std::map<std::string, std::string> Titles;     // folder id: title
  std::map<std::string, std::string> Resources;  // id: bytes
  // Called with each note made, before the answer goes out.
  std::function<void(const std::string& id)> NoteMade;

 private:
  Reply ListFolders() const;
  Reply ListNotes(const std::string& folderId) const;
  Reply Events(const std::string& target) const;
  Reply MakeFolder(const std::string& body);
  Reply MakeNote(const std::string& body);
  Reply WriteNote(const std::string& id, const std::string& body);
  Reply MakeResource(const RecordedRequest& request);
  void Event(const std::string& id, int type);

  std::vector<std::pair<std::string, int>> FEvents;
  std::mutex FMutex;
};

}  // namespace TestSupport
