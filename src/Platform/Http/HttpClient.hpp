#pragma once
// An HTTP/1.1 client (libcurl on Linux, WinHTTP on Windows; the redirect rules
// and the request body shared): one connection kept for the client's life,
// its own cookie store, at most 5 redirects, connect time-out 30 s, a stalled
// answer fails after 30 s and a stalled upload after 60 s without progress,
// no Accept-Encoding, no "Expect: 100-continue", no proxy for loopback hosts.
// A request body is a sequence of texts, files and sources; files are
// streamed from disk and sources made while the request is sent, never held
// in memory whole. Answers are
// bounded: in size (64 MiB kept; a filter may read more and keep less), and
// in the time all of the client's requests may spend waiting for and reading
// answers together (2 minutes, more for large requests: HttpLimits). A request body
// that reached the server is never sent again on a fresh connection (only a
// redirect sends it on), so a POST cannot create its object twice.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

// A piece of a request body that is made while it is sent.
class HttpBodySource {
 public:
  virtual ~HttpBodySource() = default;
  // Exactly the number of bytes that Read gives in all.
  virtual std::uint64_t Size() const = 0;
  // From the first byte again (a redirect sends the body anew).
  virtual void Restart() = 0;
  // The next bytes, at most `size` and at least one while any are left.
  virtual size_t Read(char* buffer, size_t size) = 0;
};

struct HttpBodyPart {
  std::string Text;      // sent as is, unless FilePath or Source is set
  std::string FilePath;  // the whole file, opened when the request is sent
  std::shared_ptr<HttpBodySource> Source;

  static HttpBodyPart OfText(std::string text) { return {std::move(text), {}, {}}; }
  static HttpBodyPart OfFile(std::string path) { return {{}, std::move(path), {}}; }
  static HttpBodyPart OfSource(std::shared_ptr<HttpBodySource> source) {
    return {{}, {}, std::move(source)};
  }
};

// Takes an answer's body as it arrives and keeps only what its caller needs,
// so that a server echoing a large request does not make a large answer.
class HttpAnswerFilter {
 public:
  virtual ~HttpAnswerFilter() = default;
  // The length the answer declares, told before its first bytes when known:
  // room may be made, but the bytes that come are what counts.
  virtual void ExpectSize(std::uint64_t /*bytes*/) {}
  virtual void Take(const char* data, size_t size) = 0;
  // The bytes kept so far: what the answer size cap bounds.
  virtual std::uint64_t KeptSize() const = 0;
  // The body that the answer hands back, once the answer is whole.
  virtual std::string Finish() = 0;
};

struct HttpRequest {
  std::string Method = "GET";
  std::string Url;
  std::vector<std::string> Headers;  // "Name: value"
  bool HasBody = false;              // false: no body and no Content-Length
  std::vector<HttpBodyPart> Body;
  // Told how much of the body has gone out, while it goes.
  std::function<void(std::uint64_t sent, std::uint64_t total)> OnUpload;
  // Without one, the answer's body is kept whole.
  std::shared_ptr<HttpAnswerFilter> AnswerFilter;
};

struct HttpResponse {
  std::string Url;  // after redirects
  long StatusCode = 0;
  std::string StatusText;
  std::string ContentType;                                   // the whole header value
  std::vector<std::pair<std::string, std::string>> Headers;  // of the final answer
  std::string Body;
};

// The server's work grows with what it is sent (Joplin takes about half a
// second per MiB of a note before it answers), so each request's wait for
// its answer, and the time all answers may take, grow by
// AnswerSecondsPerMiBSent for every whole MiB of its body.
struct HttpLimits {
  long ConnectSeconds = 30;
  long AnswerStallSeconds = 30;
  long UploadStallSeconds = 60;
  long WholeRequestMilliseconds = 0;  // 0: no limit; for quick probes
  // The time all requests together may spend on answers (not on uploads).
  long AnswerSecondsPerClient = 120;
  long AnswerSecondsPerMiBSent = 2;
  std::uint64_t MaxAnswerBytes = std::uint64_t{64} << 20;
};

// The extra answer time a request body of `bodyBytes` earns.
inline long AnswerAllowanceSeconds(const HttpLimits& limits, std::uint64_t bodyBytes) {
  return static_cast<long>(bodyBytes >> 20) * limits.AnswerSecondsPerMiBSent;
}

class HttpClient {
 public:
  explicit HttpClient(std::string userAgent, HttpLimits limits = {});
  ~HttpClient();
  HttpClient(HttpClient&&) noexcept;
  HttpClient& operator=(HttpClient&&) noexcept;
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // True with `response` filled when an answer arrived, whatever its status.
  // False when no answer came or the request could not be built (a file part
  // that cannot be opened); `response` is then untouched and `error` says why.
  bool Send(const HttpRequest& request, HttpResponse& response, std::string& error);

  // Whether the last request's body, or its request line for a request
  // without body, went out to the server: after a failure, the server may
  // have acted on it.
  bool LastRequestWasSent() const;
  // Whether the last request failed because the time for answers ran out.
  bool LastRequestOutOfTime() const;
  // Adds to the time that answers may take.
  void GrantAnswerSeconds(long seconds);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace Platform
