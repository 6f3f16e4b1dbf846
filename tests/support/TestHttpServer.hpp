#pragma once
// A loopback HTTP/1.1 server for the tests: records the exact bytes of every
// request and answers as the test tells it (status, headers, body, a delay,
// closing the connection before or in the middle of the answer, dripping the
// body a byte at a time).
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace TestSupport {

struct RecordedRequest {
  std::string Raw;  // request line, headers and body exactly as received
  std::string Method;
  std::string Target;
  std::vector<std::pair<std::string, std::string>> Headers;
  std::string Body;
  int Connection = 0;  // which connection carried it, counted from 1

  // The first header of that name (ignoring case), or empty.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
};

struct Reply {
  enum class Close { No, BeforeAnswer, MidAnswer };
  int Status = 200;
  std::string Reason = "OK";
  std::vector<std::pair<std::string, std::string>> Headers = {
      {"Content-Type", "application/json; charset=utf-8"}};
  std::string Body = "{}";
  int DelayMs = 0;
  int DripMs = 0;  // > 0: the body is sent one byte at a time, this far apart
  Close CloseMode = Close::No;
  bool Chunked = false;  // the body in one chunk (none when empty), as Joplin answers DELETE

  static Reply EmptyChunked();

  static Reply Json(std::string body, int status = 200);
};

class TestHttpServer {
 public:
  // Listens on 127.0.0.1 at `port` (0: any free port); throws when it cannot.
  explicit TestHttpServer(int port = 0);
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int Port() const { return FPort; }
  std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(FPort); }

  // Queued replies are used first, in order; then the handler; then "{}".
  void Queue(Reply reply);
  void Handle(std::function<Reply(const RecordedRequest&)> handler);
  // The handler in place, for wrapping it in another.
  std::function<Reply(const RecordedRequest&)> Handler() const;

  std::vector<RecordedRequest> Requests() const;

  // A slow reader: waits this long before each read of at most 64 KiB.
  void SetReadPause(int ms) { FReadPauseMs = ms; }

 private:
  void AcceptLoop();
  void Serve(int fd, int connection);
  Reply NextReply(const RecordedRequest& request);

  int FListenFd = -1;
  int FPort = 0;
  std::atomic<bool> FStopping{false};
  std::atomic<int> FReadPauseMs{0};
  mutable std::mutex FMutex;
  std::deque<Reply> FQueue;
  std::function<Reply(const RecordedRequest&)> FHandler;
  std::vector<RecordedRequest> FRequests;
  std::vector<int> FClientFds;
  std::vector<std::thread> FClientThreads;
  std::thread FAcceptThread;
};

}  // namespace TestSupport
