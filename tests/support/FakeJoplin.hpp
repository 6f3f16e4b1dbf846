#pragma once
// Answers like the Data API on the loopback test server: notebooks from a
// list (and those created through it), resources and notes created with
// numbered ids.
#include <atomic>
#include <string>
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

struct FakeJoplin {
  // Answered to GET folders, with "parent_id"; POST folders adds to them.
  std::vector<FakeFolder> Folders;
  void Install(TestHttpServer& server);
};

// The requests of one kind ("POST /resources", "GET /folders"...).
std::vector<RecordedRequest> RequestsTo(const TestHttpServer& server, std::string_view method,
                                        std::string_view path);

// The body of the one POST notes the server received, or "<N notes>".
std::string TheNoteJson(const TestHttpServer& server);

// The "props" part of a multipart upload.
std::string PropsOf(const RecordedRequest& upload);
// The bytes of the "data" part of a multipart upload.
std::string FileBytesOf(const RecordedRequest& upload);

}  // namespace TestSupport
