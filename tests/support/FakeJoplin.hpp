#pragma once
// Answers like the Data API on the loopback test server: notebooks from a
// list, resources and notes created with numbered ids.
#include <atomic>
#include <string>
#include <vector>

#include "support/TestHttpServer.hpp"

namespace TestSupport {

struct FakeJoplin {
  // "id=title" pairs answered to GET folders.
  std::vector<std::string> Folders;
  void Install(TestHttpServer& server);
};

// The requests of one kind ("POST /resources", "GET /folders"...).
std::vector<RecordedRequest> RequestsTo(const TestHttpServer& server, std::string_view method,
                                        std::string_view path);

// The "props" part of a multipart upload.
std::string PropsOf(const RecordedRequest& upload);
// The bytes of the "data" part of a multipart upload.
std::string FileBytesOf(const RecordedRequest& upload);

}  // namespace TestSupport
