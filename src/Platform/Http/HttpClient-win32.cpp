#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "Platform/Http/AnswerBudget.hpp"
#include "Platform/Http/AnswerHeaders.hpp"
#include "Platform/Http/HttpClient.hpp"
#include "Platform/Http/HttpFailures.hpp"
#include "Platform/Http/RedirectPolicy.hpp"
#include "Platform/Http/RequestBody.hpp"
#include "Platform/Text/Ascii.hpp"
#include "Platform/Text/Charset.hpp"
#include "Platform/Windows/Win32Error.hpp"
#include "Platform/Windows/Win32Handle.hpp"
#include "Platform/Windows/Win32Text.hpp"

// WinHTTP, synchronous: one session for the client's life, its connection
// kept alive between requests to the same host, cookies kept by the session.
// Redirects are followed here rather than by WinHTTP, so that a redirected
// body is sent again from its first byte, as with every other client.
namespace Platform {
namespace {

struct InternetHandleTraits {
  using Type = HINTERNET;
  static HINTERNET Invalid() { return nullptr; }
  static void Close(HINTERNET handle) { ::WinHttpCloseHandle(handle); }
};

using InternetHandle = OwnedHandle<InternetHandleTraits>;

constexpr DWORD kPieceSize = 64 * 1024;

std::string WinHttpErrorText(DWORD code) {
  switch (code) {
    case ERROR_WINHTTP_CANNOT_CONNECT:
      return "could not connect to the server";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return "the server's name could not be resolved";
    case ERROR_WINHTTP_CONNECTION_ERROR:
      return "the connection was reset or closed";
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      return "the server's answer is not HTTP";
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return "the URL cannot be used";
    case ERROR_WINHTTP_SECURE_FAILURE:
      return "the secure connection failed";
    default:
      return Win32ErrorText(code);
  }
}

struct CrackedUrl {
  std::wstring Host;
  INTERNET_PORT Port = 0;
  bool Secure = false;
  std::wstring PathAndQuery;
};

bool CrackUrl(const std::string& url, CrackedUrl& cracked) {
  const std::wstring wide = WideText(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  if (!::WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts) ||
      parts.dwHostNameLength == 0)
    return false;
  cracked.Host.assign(parts.lpszHostName, parts.dwHostNameLength);
  cracked.Port = parts.nPort;
  cracked.Secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  cracked.PathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  cracked.PathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (cracked.PathAndQuery.empty())
    cracked.PathAndQuery = L"/";
  return true;
}

bool IsLoopbackHost(const std::wstring& host) {
  return host == L"localhost" || host.starts_with(L"127.") || host == L"::1" || host == L"[::1]";
}

std::wstring QueryText(HINTERNET request, DWORD what) {
  DWORD size = 0;
  ::WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
    return {};
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!::WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
    return {};
  text.resize(size / sizeof(wchar_t));
  return text;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
    text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  return text;
}

void ReadHeaders(HINTERNET request, HttpResponse& answer) {
  DWORD status = 0;
  DWORD size = sizeof status;
  ::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
  answer.StatusCode = static_cast<long>(status);
  answer.StatusText = Utf8Text(QueryText(request, WINHTTP_QUERY_STATUS_TEXT));
  answer.Headers.clear();
  answer.ContentType.clear();
  const std::string raw = Utf8Text(QueryText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF));
  size_t start = raw.find('\n');  // after the status line
  while (start != std::string::npos && start + 1 < raw.size()) {
    const size_t end = raw.find('\n', start + 1);
    const std::string_view line = Trimmed(std::string_view(raw).substr(
        start + 1, (end == std::string::npos ? raw.size() : end) - start - 1));
    if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
      answer.Headers.emplace_back(std::string(Trimmed(line.substr(0, colon))),
                                  std::string(Trimmed(line.substr(colon + 1))));
      if (AsciiLowerCase(answer.Headers.back().first) == "content-type")
        answer.ContentType = answer.Headers.back().second;
    }
    start = end;
  }
}

using Clock = std::chrono::steady_clock;

// Wine's WinHTTP fails the first query of an empty chunked body (the answer
// Joplin gives to DELETE) with "insufficient buffer": it is an empty body.
bool EmptyChunkedBody(const HttpResponse& answer, DWORD failure, bool readAny) {
  return failure == ERROR_INSUFFICIENT_BUFFER && !readAny &&
         AsciiLowerCase(HeaderValue(answer, "transfer-encoding")) == "chunked";
}

// Ends a blocking call on a request at its time: some WinHTTP builds (Wine's
// among them) wait for an answer's headers past every time-out set, inside
// WinHttpSendRequest as well as WinHttpReceiveResponse, and closing the
// request handle is what ends a synchronous call from outside.
class WaitGuard {
 public:
  WaitGuard(HINTERNET request, DWORD waitMs)
      : FRequest(request), FThread([this, waitMs] { Watch(waitMs); }) {}
  ~WaitGuard() { Finish(); }
  WaitGuard(const WaitGuard&) = delete;
  WaitGuard& operator=(const WaitGuard&) = delete;

  // Ends the watch; true when the wait ran out and the handle was closed.
  bool Finish() {
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FDone = true;
    }
    FWake.notify_one();
    if (FThread.joinable())
      FThread.join();
    return FClosed;
  }

 private:
  void Watch(DWORD waitMs) {
    std::unique_lock<std::mutex> lock(FMutex);
    if (FWake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return FDone; }))
      return;
    FClosed = true;
    ::WinHttpCloseHandle(FRequest);
  }

  HINTERNET FRequest;
  std::mutex FMutex;
  std::condition_variable FWake;
  bool FDone = false;
  bool FClosed = false;
  std::thread FThread;
};

}  // namespace

struct HttpClient::Impl {
  InternetHandle Session;
  InternetHandle Connection;
  std::wstring Host;
  INTERNET_PORT Port = 0;
  HttpLimits Limits;
  AnswerBudget Budget;
  long StallSeconds = 0;  // the current request's wait for its answer
  bool LastSent = false;
  bool LastOutOfTime = false;
  HttpFailureKind FailureKind = HttpFailureKind::Other;  // of the last failure

  // One hop of a request: sends it and reads the answer whole.
  bool Exchange(const std::string& url, const std::string& method, const HttpRequest& request,
                bool withBody, HttpResponse& answer, std::string& error);
  bool Connect(const CrackedUrl& target, std::string& error);
  void SetTimeouts(HINTERNET request);
  // The wait for the next bytes of an answer: the stall limit, or less when
  // less is left of the time for answers.
  DWORD ReceiveWaitMs();
  void LimitReceiveWait(HINTERNET request);
  // Whether the last wait set was cut to the time left for answers, so that
  // its time-out means the run's deadline rather than a stall.
  bool WaitCutToBudget = false;
  // One blocking call on the request, ended by closing the handle when the
  // wait for the answer runs out (the handle is then gone); `spends`: its
  // time counts against the time for answers.
  bool GuardedCall(InternetHandle& handle, const std::function<bool(HINTERNET)>& call, bool spends,
                   std::string& error);
  // Sends the request line and headers; for a request with a body, then the
  // body. Bounded as a whole: a wait that runs out closes the handle.
  bool SendRequest(InternetHandle& handle, const HttpRequest& source, bool withBody,
                   std::string& error);
  bool SendBody(HINTERNET request, RequestBody& body, const HttpRequest& source,
                std::string& error);
  bool ReadAnswer(InternetHandle& handle, HttpAnswerFilter* filter, HttpResponse& answer,
                  std::string& error);
  // A large request earns its answer more time.
  void GrantAnswerTime(std::uint64_t bodyBytes);
  HttpFailure FailureOf(DWORD code, bool uploading) const;
  // Keeps the failure's kind and hands back its words.
  bool Fail(const HttpFailure& failure, std::string& error);
};

HttpClient::HttpClient(std::string userAgent, HttpLimits limits) : FImpl(std::make_unique<Impl>()) {
  FImpl->Limits = limits;
  FImpl->Budget = AnswerBudget(limits.AnswerSecondsPerClient);
  FImpl->Session =
      InternetHandle(::WinHttpOpen(WideText(userAgent).c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
}

HttpClient::~HttpClient() = default;
HttpClient::HttpClient(HttpClient&&) noexcept = default;
HttpClient& HttpClient::operator=(HttpClient&&) noexcept = default;

HttpFailure HttpClient::Impl::FailureOf(DWORD code, bool uploading) const {
  // Wine reports a wait cut by WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT as the
  // socket's own time-out.
  constexpr DWORD kSocketTimedOut = 10060;  // WSAETIMEDOUT
  if (code == ERROR_WINHTTP_TIMEOUT || code == kSocketTimedOut) {
    if (!uploading && (WaitCutToBudget || Budget.Spent()))
      return OutOfTimeFailure(Budget.GrantedSeconds());
    return StalledFailure(uploading, uploading ? Limits.UploadStallSeconds : StallSeconds);
  }
  return {HttpFailureKind::Other, WinHttpErrorText(code)};
}

bool HttpClient::Impl::Fail(const HttpFailure& failure, std::string& error) {
  FailureKind = failure.Kind;
  error = failure.Text;
  return false;
}

bool HttpClient::Impl::Connect(const CrackedUrl& target, std::string& error) {
  if (Connection.Valid() && Host == target.Host && Port == target.Port)
    return true;
  Connection = InternetHandle(::WinHttpConnect(Session.Get(), target.Host.c_str(), target.Port, 0));
  if (!Connection.Valid()) {
    error = WinHttpErrorText(::GetLastError());
    return false;
  }
  Host = target.Host;
  Port = target.Port;
  return true;
}

namespace {

// A limit in milliseconds, within the limit of a whole request where there is one.
long long HttpLimitMs(const HttpLimits& limits, long seconds) {
  long long ms = seconds * 1000LL;
  if (limits.WholeRequestMilliseconds > 0)
    ms = std::min<long long>(ms, limits.WholeRequestMilliseconds);
  return ms;
}

}  // namespace

DWORD HttpClient::Impl::ReceiveWaitMs() {
  const auto budget = std::chrono::duration_cast<std::chrono::milliseconds>(Budget.Left()).count();
  const long long stall = HttpLimitMs(Limits, StallSeconds);
  WaitCutToBudget = budget < stall;
  return static_cast<DWORD>(std::max<long long>(1, std::min(stall, budget)));
}

// Both waits: for the answer's headers (some WinHTTP builds wait for them
// apart from the receive time-out) and for each read of its body.
void HttpClient::Impl::LimitReceiveWait(HINTERNET request) {
  DWORD wait = ReceiveWaitMs();
  ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &wait, sizeof wait);
  ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &wait, sizeof wait);
}

void HttpClient::Impl::SetTimeouts(HINTERNET request) {
  const auto connect = static_cast<int>(HttpLimitMs(Limits, Limits.ConnectSeconds));
  ::WinHttpSetTimeouts(request, connect, connect,
                       static_cast<int>(HttpLimitMs(Limits, Limits.UploadStallSeconds)),
                       static_cast<int>(ReceiveWaitMs()));
}

void HttpClient::Impl::GrantAnswerTime(std::uint64_t bodyBytes) {
  const long extra = AnswerAllowanceSeconds(Limits, bodyBytes);
  StallSeconds += extra;
  Budget.Earn(extra);
}

bool HttpClient::Impl::GuardedCall(InternetHandle& handle,
                                   const std::function<bool(HINTERNET)>& call, bool spends,
                                   std::string& error) {
  LimitReceiveWait(handle.Get());
  const auto started = Clock::now();
  WaitGuard guard(handle.Get(), ReceiveWaitMs());
  const bool done = call(handle.Get());
  const DWORD failure = done ? 0 : ::GetLastError();
  const bool cutOff = guard.Finish();
  if (spends)
    Budget.Spend(Clock::now() - started);
  if (cutOff) {
    handle.Release();  // closed by the guard
    return Fail(FailureOf(ERROR_WINHTTP_TIMEOUT, false), error);
  }
  return done || Fail(FailureOf(failure, false), error);
}

bool HttpClient::Impl::SendRequest(InternetHandle& handle, const HttpRequest& source, bool withBody,
                                   std::string& error) {
  RequestBody body;
  if (withBody) {
    if (!body.Open(source.Body, error))
      return false;
    GrantAnswerTime(body.Total());
  }
  const DWORD length = static_cast<DWORD>(std::min<std::uint64_t>(body.Total(), 0xFFFFFFFF));
  // Without a body, the wait here may be the wait for the answer.
  const bool sent = GuardedCall(
      handle,
      [length](HINTERNET request) {
        return ::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                    WINHTTP_NO_REQUEST_DATA, 0, length, 0) != FALSE;
      },
      !withBody, error);
  return sent && (!withBody || SendBody(handle.Get(), body, source, error));
}

bool HttpClient::Impl::SendBody(HINTERNET request, RequestBody& body, const HttpRequest& source,
                                std::string& error) {
  std::vector<char> buffer(kPieceSize);
  std::uint64_t sent = 0;
  while (sent < body.Total()) {
    const auto got = static_cast<DWORD>(body.Read(buffer.data(), kPieceSize));
    if (got == 0) {
      error = "a part of the request body could not be read to its announced length";
      return false;
    }
    DWORD written = 0;
    if (!::WinHttpWriteData(request, buffer.data(), got, &written) || written != got)
      return Fail(FailureOf(::GetLastError(), true), error);
    sent += got;
    if (source.OnUpload)
      source.OnUpload(sent, body.Total());
  }
  return true;
}

bool HttpClient::Impl::ReadAnswer(InternetHandle& handle, HttpAnswerFilter* filter,
                                  HttpResponse& answer, std::string& error) {
  const bool received = GuardedCall(
      handle, [](HINTERNET request) { return ::WinHttpReceiveResponse(request, nullptr) != FALSE; },
      true, error);
  if (!received)
    return false;
  const HINTERNET request = handle.Get();
  ReadHeaders(request, answer);
  answer.Body.clear();
  // A redirect's own body is no answer to filter.
  if (answer.StatusCode >= 300 && answer.StatusCode < 400)
    filter = nullptr;
  if (const auto declared = DeclaredLength(answer); declared && filter != nullptr)
    filter->ExpectSize(*declared);
  std::vector<char> buffer(kPieceSize);
  bool readAny = false;
  while (true) {
    // What has arrived, as it arrives: a read of a whole piece would wait for
    // the piece however slowly it drips, past the time left for answers.
    LimitReceiveWait(request);
    const auto before = Clock::now();
    DWORD available = 0;
    DWORD got = 0;
    const bool read =
        ::WinHttpQueryDataAvailable(request, &available) &&
        (available == 0 ||
         ::WinHttpReadData(request, buffer.data(), std::min<DWORD>(available, kPieceSize), &got));
    const DWORD readFailure = read ? 0 : ::GetLastError();
    Budget.Spend(Clock::now() - before);
    if (!read && !EmptyChunkedBody(answer, readFailure, readAny))
      return Fail(FailureOf(readFailure, false), error);
    readAny = readAny || got > 0;
    if (got == 0) {
      if (filter != nullptr)
        answer.Body = filter->Finish();
      return true;
    }
    const std::uint64_t kept = filter != nullptr
                                   ? (filter->Take(buffer.data(), got), filter->KeptSize())
                                   : answer.Body.size() + got;
    if (kept > Limits.MaxAnswerBytes)
      return Fail(TooLargeFailure(Limits.MaxAnswerBytes), error);
    if (filter == nullptr)
      answer.Body.append(buffer.data(), got);
    if (Budget.Spent())
      return Fail(FailureOf(ERROR_WINHTTP_TIMEOUT, false), error);
  }
}

bool HttpClient::Impl::Exchange(const std::string& url, const std::string& method,
                                const HttpRequest& request, bool withBody, HttpResponse& answer,
                                std::string& error) {
  CrackedUrl target;
  if (!CrackUrl(url, target)) {
    error = "the URL cannot be used";
    return false;
  }
  if (!Connect(target, error))
    return false;
  InternetHandle handle(::WinHttpOpenRequest(
      Connection.Get(), WideText(method).c_str(), target.PathAndQuery.c_str(), nullptr,
      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, target.Secure ? WINHTTP_FLAG_SECURE : 0));
  if (!handle.Valid()) {
    error = WinHttpErrorText(::GetLastError());
    return false;
  }
  DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  ::WinHttpSetOption(handle.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
  if (IsLoopbackHost(target.Host)) {
    WINHTTP_PROXY_INFO direct{WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr};
    ::WinHttpSetOption(handle.Get(), WINHTTP_OPTION_PROXY, &direct, sizeof direct);
  }
  StallSeconds = Limits.AnswerStallSeconds;
  SetTimeouts(handle.Get());
  std::string headers;
  for (const auto& header : request.Headers)
    headers += header + "\r\n";
  if (!headers.empty()) {
    const std::wstring wide = WideText(headers);
    ::WinHttpAddRequestHeaders(handle.Get(), wide.c_str(), static_cast<DWORD>(wide.size()),
                               WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
  }
  const bool sent = SendRequest(handle, request, withBody, error);
  // A redirected request that fails still leaves the first one with the server.
  LastSent = LastSent || sent;
  return sent && ReadAnswer(handle, request.AnswerFilter.get(), answer, error);
}

bool HttpClient::Send(const HttpRequest& request, HttpResponse& response, std::string& error) {
  if (!FImpl || !FImpl->Session.Valid()) {
    error = "the HTTP client could not be created";
    return false;
  }
  FImpl->LastSent = false;
  FImpl->LastOutOfTime = false;
  std::string url = request.Url;
  std::string method = request.Method;
  bool withBody = request.HasBody;
  for (int hop = 0;; ++hop) {
    HttpResponse answer;
    FImpl->FailureKind = HttpFailureKind::Other;
    if (!FImpl->Exchange(url, method, request, withBody, answer, error)) {
      FImpl->LastOutOfTime = FImpl->FailureKind == HttpFailureKind::OutOfTime;
      return false;
    }
    const RedirectHop next = NextHop(request.Url, url, method, withBody, answer.StatusCode,
                                     HeaderValue(answer, "location"), hop);
    if (next.What == RedirectHop::Kind::Final) {
      answer.Url = url;
      response = std::move(answer);
      return true;
    }
    if (next.What == RedirectHop::Kind::Refused) {
      error = next.Refusal;
      return false;
    }
    url = next.Url;
    method = next.Method;
    withBody = next.WithBody;
  }
}

bool HttpClient::LastRequestWasSent() const {
  return FImpl && FImpl->LastSent;
}

bool HttpClient::LastRequestOutOfTime() const {
  return FImpl && FImpl->LastOutOfTime;
}

void HttpClient::GrantAnswerSeconds(long seconds) {
  if (!FImpl)
    return;
  FImpl->Budget.GrantAfresh(seconds);
}

}  // namespace Platform
