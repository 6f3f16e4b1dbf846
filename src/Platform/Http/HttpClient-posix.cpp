#include "Platform/Http/HttpClient.hpp"

#include <curl/curl.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "Platform/Console/Error.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Http/AnswerBudget.hpp"
#include "Platform/Http/AnswerHeaders.hpp"
#include "Platform/Http/HttpFailures.hpp"
#include "Platform/Http/RedirectPolicy.hpp"
#include "Platform/Http/RequestBody.hpp"

namespace Platform {
namespace {

struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
  ~CurlGlobal() { curl_global_cleanup(); }
};

void EnsureCurlGlobal() {
  static CurlGlobal global;
}

struct CurlEasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;

CurlList MakeHeaderList(const std::vector<std::string>& headers) {
  CurlList list;
  for (const auto& header : headers) {
    curl_slist* appended = curl_slist_append(list.get(), header.c_str());
    if (appended == nullptr)
      return {};
    (void)list.release();
    list.reset(appended);
  }
  return list;
}

using Clock = std::chrono::steady_clock;

// Everything one request's callbacks share.
struct Transfer {
  HttpLimits Limits;
  const std::function<void(std::uint64_t, std::uint64_t)>* OnUpload = nullptr;
  AnswerBudget* Budget = nullptr;
  HttpAnswerFilter* Filter = nullptr;
  HttpResponse Answer;
  RequestBody Body;
  bool AnswerStarted = false;  // a status line arrived
  bool SizeTold = false;       // the filter was told the declared length
  long Status = 0;             // of the latest status line
  bool TooLarge = false;
  bool OutOfTime = false;
  bool Stalled = false;  // nothing moved for the stall limit
  bool StalledUploading = false;
  curl_off_t LastUp = -1;
  curl_off_t LastDown = -1;
  Clock::time_point LastProgress = Clock::now();
  Clock::time_point LastCall = Clock::now();
};

size_t ReadBody(char* buffer, size_t size, size_t count, void* user) {
  RequestBody& body = static_cast<Transfer*>(user)->Body;
  const size_t got = body.Read(buffer, size * count);
  return body.Failed() ? CURL_READFUNC_ABORT : got;
}

// A rewind before any answer means libcurl wants to send the body again on a
// fresh connection because the kept one closed: the server may already have
// acted on it, so it is refused. A redirect (an answer came) may rewind.
int SeekBody(void* user, curl_off_t offset, int origin) {
  auto& transfer = *static_cast<Transfer*>(user);
  if (offset != 0 || origin != SEEK_SET || !transfer.AnswerStarted)
    return CURL_SEEKFUNC_CANTSEEK;
  transfer.Body.Rewind();
  return CURL_SEEKFUNC_OK;
}

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  // A redirect's own body is no part of the answer.
  if (IsRedirectStatus(transfer.Status))
    return size * count;
  if (transfer.Filter != nullptr) {
    if (!transfer.SizeTold) {
      transfer.SizeTold = true;
      if (const auto declared = DeclaredLength(transfer.Answer))
        transfer.Filter->ExpectSize(*declared);
    }
    transfer.Filter->Take(data, size * count);
    transfer.TooLarge = transfer.Filter->KeptSize() > transfer.Limits.MaxAnswerBytes;
    return transfer.TooLarge ? 0 : size * count;
  }
  if (transfer.Answer.Body.size() + size * count > transfer.Limits.MaxAnswerBytes) {
    transfer.TooLarge = true;
    return 0;  // ends the transfer before the answer is held whole
  }
  transfer.Answer.Body.append(data, size * count);
  return size * count;
}

std::string_view TrimLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' '))
    line.remove_suffix(1);
  while (!line.empty() && line.front() == ' ')
    line.remove_prefix(1);
  return line;
}

// Collects the status line and headers; a new status line (after a redirect
// or an interim answer) starts them afresh.
size_t CollectHeader(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  HttpResponse& response = transfer.Answer;
  const std::string_view line = TrimLine(std::string_view(data, size * count));
  if (line.starts_with("HTTP/")) {
    transfer.AnswerStarted = true;
    response.Headers.clear();
    const size_t firstSpace = line.find(' ');
    const size_t secondSpace = line.find(' ', firstSpace + 1);
    transfer.Status = std::atol(std::string(line.substr(firstSpace + 1, 3)).c_str());
    response.StatusText = secondSpace == std::string_view::npos
                              ? std::string()
                              : std::string(line.substr(secondSpace + 1));
  } else if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
    response.Headers.emplace_back(std::string(TrimLine(line.substr(0, colon))),
                                  std::string(TrimLine(line.substr(colon + 1))));
  }
  return size * count;
}

// Fails a transfer that makes no progress (uploads may stall for longer than
// the wait for the answer), and one that uses up the answer budget: time
// spent after the upload is done, waiting for or reading the answer.
int WatchProgress(void* user, curl_off_t, curl_off_t downNow, curl_off_t upTotal,
                  curl_off_t upNow) {
  auto& transfer = *static_cast<Transfer*>(user);
  const auto now = Clock::now();
  const bool uploading = upNow < upTotal;
  if (!uploading && transfer.Budget != nullptr) {
    transfer.Budget->Spend(now - transfer.LastCall);
    if (transfer.Budget->Spent()) {
      transfer.OutOfTime = true;
      return 1;
    }
  }
  transfer.LastCall = now;
  if (upTotal > 0 && transfer.OnUpload != nullptr && *transfer.OnUpload)
    (*transfer.OnUpload)(static_cast<std::uint64_t>(upNow), static_cast<std::uint64_t>(upTotal));
  if (upNow != transfer.LastUp || downNow != transfer.LastDown) {
    transfer.LastUp = upNow;
    transfer.LastDown = downNow;
    transfer.LastProgress = now;
    return 0;
  }
  const long limit =
      uploading ? transfer.Limits.UploadStallSeconds : transfer.Limits.AnswerStallSeconds;
  if (now - transfer.LastProgress <= std::chrono::seconds(limit))
    return 0;
  transfer.Stalled = true;
  transfer.StalledUploading = uploading;
  return 1;
}

std::string NoProxyList() {
  std::string list = "localhost,127.0.0.0/8,::1";
  for (const char* name : {"NO_PROXY", "no_proxy"}) {
    const std::string value = GetEnv(name);
    if (!value.empty())
      list += "," + value;
  }
  return list;
}

}  // namespace

struct HttpClient::Impl {
  CurlEasy Handle;
  std::string UserAgent;
  HttpLimits Limits;
  AnswerBudget Budget;
  bool LastSent = false;
  bool LastOutOfTime = false;
  std::string NoProxy = NoProxyList();
};

HttpClient::HttpClient(std::string userAgent, HttpLimits limits) : FImpl(std::make_unique<Impl>()) {
  EnsureCurlGlobal();
  FImpl->Handle.reset(curl_easy_init());
  FImpl->UserAgent = std::move(userAgent);
  FImpl->Limits = limits;
  FImpl->Budget = AnswerBudget(limits.AnswerSecondsPerClient);
  CURL* curl = FImpl->Handle.get();
  if (curl == nullptr)
    return;
  // The handle is never reset between requests (a reset would drop the list of
  // cookie files in some libcurl versions without freeing it); what differs
  // from one request to the next is set anew in Send.
  curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // cookie store on, nothing loaded
  curl_easy_setopt(curl, CURLOPT_USERAGENT, FImpl->UserAgent.c_str());
  // Redirects are followed here, not by libcurl, so that each is checked first.
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, FImpl->Limits.ConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, FImpl->Limits.WholeRequestMilliseconds);
  curl_easy_setopt(curl, CURLOPT_NOPROXY, FImpl->NoProxy.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, WatchProgress);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, CollectHeader);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadBody);
  curl_easy_setopt(curl, CURLOPT_SEEKFUNCTION, SeekBody);
}

HttpClient::~HttpClient() = default;
HttpClient::HttpClient(HttpClient&&) noexcept = default;
HttpClient& HttpClient::operator=(HttpClient&&) noexcept = default;

namespace {

// A large request earns its answer more time: a longer wait before the
// answer stalls, and more time for all answers.
void GrantAnswerTime(Transfer& transfer, std::uint64_t bodyBytes) {
  const long extra = AnswerAllowanceSeconds(transfer.Limits, bodyBytes);
  transfer.Limits.AnswerStallSeconds += extra;
  transfer.Budget->Earn(extra);
}

HttpFailure FailureOf(CURLcode rc, const Transfer& transfer, const char* errorBuffer) {
  const HttpLimits& limits = transfer.Limits;
  if (transfer.TooLarge || rc == CURLE_FILESIZE_EXCEEDED)
    return TooLargeFailure(limits.MaxAnswerBytes);
  if (transfer.OutOfTime)
    return OutOfTimeFailure(transfer.Budget->GrantedSeconds());
  if (transfer.Stalled) {
    return StalledFailure(transfer.StalledUploading, transfer.StalledUploading
                                                         ? limits.UploadStallSeconds
                                                         : limits.AnswerStallSeconds);
  }
  if (rc == CURLE_SEND_FAIL_REWIND)
    return {HttpFailureKind::Other, "the connection closed before an answer came"};
  return {HttpFailureKind::Other, errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(rc)};
}

}  // namespace

namespace {

void SetMethod(CURL* curl, const std::string& method, bool withBody, curl_off_t total) {
  if (withBody) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, total);
  } else {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  }
  const bool plainMethod = method == (withBody ? "POST" : "GET");
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, plainMethod ? nullptr : method.c_str());
}

}  // namespace

// Redirects are followed here, one hop at a time, by the rules of NextHop.
bool HttpClient::Send(const HttpRequest& request, HttpResponse& response, std::string& error) {
  CURL* curl = FImpl ? FImpl->Handle.get() : nullptr;
  if (curl == nullptr) {
    error = "the HTTP client could not be created";
    return false;
  }
  FImpl->LastSent = false;
  FImpl->LastOutOfTime = false;
  Transfer transfer;
  transfer.Limits = FImpl->Limits;
  transfer.Budget = &FImpl->Budget;
  transfer.OnUpload = &request.OnUpload;
  if (!transfer.Body.Open(request.Body, error))
    return false;
  GrantAnswerTime(transfer, transfer.Body.Total());
  transfer.Filter = request.AnswerFilter.get();

  std::vector<std::string> headers = request.Headers;
  headers.emplace_back("Expect:");
  CurlList headerList = MakeHeaderList(headers);
  char errorBuffer[CURL_ERROR_SIZE] = {};

  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList.get());
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_READDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_SEEKDATA, &transfer);
  // A filtered answer may be longer than what it keeps: only the kept bytes count.
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(transfer.Filter ? 0 : transfer.Limits.MaxAnswerBytes));

  std::string url = request.Url;
  std::string method = request.Method;
  bool withBody = request.HasBody;
  std::string redirectFailure;
  CURLcode rc = CURLE_OK;
  for (int hop = 0;; ++hop) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    SetMethod(curl, method, withBody, static_cast<curl_off_t>(transfer.Body.Total()));
    rc = curl_easy_perform(curl);
    long requestBytes = 0;
    curl_easy_getinfo(curl, CURLINFO_REQUEST_SIZE, &requestBytes);
    // A redirected request that fails later still leaves the first with the server.
    FImpl->LastSent = FImpl->LastSent || requestBytes > 0;
    if (rc != CURLE_OK)
      break;
    const RedirectHop next = NextHop(request.Url, url, method, withBody, transfer.Status,
                                     HeaderValue(transfer.Answer, "location"), hop);
    if (next.What == RedirectHop::Kind::Final)
      break;
    if (next.What == RedirectHop::Kind::Refused) {
      redirectFailure = next.Refusal;
      rc = CURLE_TOO_MANY_REDIRECTS;
      break;
    }
    url = next.Url;
    method = next.Method;
    withBody = next.WithBody;
    transfer.Body.Rewind();
    transfer.AnswerStarted = false;
    transfer.Answer = HttpResponse();
  }
  // Nothing of this call may be reached from the handle once it returns.
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (rc != CURLE_OK) {
    const HttpFailure failure = redirectFailure.empty()
                                    ? FailureOf(rc, transfer, errorBuffer)
                                    : HttpFailure{HttpFailureKind::Redirect, redirectFailure};
    FImpl->LastOutOfTime = failure.Kind == HttpFailureKind::OutOfTime;
    error = failure.Text;
    return false;
  }
  HttpResponse& answer = transfer.Answer;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.StatusCode);
  answer.Url = url;
  char* contentType = nullptr;
  if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
    answer.ContentType = contentType;
  if (transfer.Filter != nullptr)
    answer.Body = transfer.Filter->Finish();
  response = std::move(answer);
  return true;
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
