#include "support/TestHttpServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "Kestrel/CommonLib/Text/TextMatch.hpp"

namespace TestSupport {
namespace {

bool ReadMore(int fd, std::string& buffer, int pauseMs) {
  if (pauseMs > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  char chunk[65536];
  const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
  if (n <= 0)
    return false;
  buffer.append(chunk, static_cast<size_t>(n));
  return true;
}

bool SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n <= 0)
      return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Parses one request from the front of `buffer`, reading more as needed.
bool ReadRequest(int fd, std::string& buffer, RecordedRequest& request, int pauseMs) {
  size_t headerEnd;
  while ((headerEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
    if (!ReadMore(fd, buffer, pauseMs))
      return false;
  }
  const std::string head = buffer.substr(0, headerEnd);
  size_t lineEnd = head.find("\r\n");
  const std::string requestLine = head.substr(0, lineEnd);
  const size_t space1 = requestLine.find(' ');
  const size_t space2 = requestLine.find(' ', space1 + 1);
  request.Method = requestLine.substr(0, space1);
  request.Target = requestLine.substr(space1 + 1, space2 - space1 - 1);
  while (lineEnd != std::string::npos && lineEnd < head.size()) {
    const size_t next = head.find("\r\n", lineEnd + 2);
    const std::string line =
        head.substr(lineEnd + 2, next == std::string::npos ? next : next - lineEnd - 2);
    const size_t colon = line.find(':');
    if (colon != std::string::npos) {
      size_t valueStart = colon + 1;
      while (valueStart < line.size() && line[valueStart] == ' ')
        ++valueStart;
      request.Headers.emplace_back(line.substr(0, colon), line.substr(valueStart));
    }
    lineEnd = next;
  }
  const size_t length =
      request.HasHeader("Content-Length") ? std::stoul(request.Header("Content-Length")) : 0;
  const size_t total = headerEnd + 4 + length;
  while (buffer.size() < total) {
    if (!ReadMore(fd, buffer, pauseMs))
      return false;
  }
  request.Raw = buffer.substr(0, total);
  request.Body = buffer.substr(headerEnd + 4, length);
  buffer.erase(0, total);
  return true;
}

std::string Serialise(const Reply& reply) {
  std::string out = "HTTP/1.1 " + std::to_string(reply.Status) + " " + reply.Reason + "\r\n";
  for (const auto& [name, value] : reply.Headers)
    out += name + ": " + value + "\r\n";
  if (reply.Chunked) {
    char size[32];
    std::snprintf(size, sizeof size, "%zx\r\n", reply.Body.size());
    out += "Transfer-Encoding: chunked\r\n\r\n";
    if (!reply.Body.empty())
      out += size + reply.Body + "\r\n";
    return out + "0\r\n\r\n";
  }
  out += "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n\r\n";
  out += reply.Body;
  return out;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : Headers) {
    if (Kestrel::CommonLib::SameText(key, name))
      return value;
  }
  return {};
}

bool RecordedRequest::HasHeader(std::string_view name) const {
  for (const auto& header : Headers) {
    if (Kestrel::CommonLib::SameText(header.first, name))
      return true;
  }
  return false;
}

Reply Reply::Json(std::string body, int status) {
  Reply reply;
  reply.Status = status;
  reply.Reason = status == 200 ? "OK" : status < 500 ? "Client Error" : "Server Error";
  reply.Body = std::move(body);
  return reply;
}

Reply Reply::EmptyChunked() {
  Reply reply;
  reply.Headers.clear();
  reply.Body.clear();
  reply.Chunked = true;
  return reply;
}

TestHttpServer::TestHttpServer(int port) {
  FListenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  socklen_t size = sizeof address;
  if (FListenFd < 0 || ::bind(FListenFd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::listen(FListenFd, 16) != 0 ||
      ::getsockname(FListenFd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    throw std::runtime_error("test server cannot listen");
  FPort = ntohs(address.sin_port);
  FAcceptThread = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
  FStopping = true;
  ::shutdown(FListenFd, SHUT_RDWR);
  ::close(FListenFd);
  FAcceptThread.join();
  {
    std::lock_guard lock(FMutex);
    for (const int fd : FClientFds)
      ::shutdown(fd, SHUT_RDWR);
  }
  for (auto& thread : FClientThreads)
    thread.join();
  for (const int fd : FClientFds)
    ::close(fd);
}

void TestHttpServer::Queue(Reply reply) {
  std::lock_guard lock(FMutex);
  FQueue.push_back(std::move(reply));
}

void TestHttpServer::Handle(std::function<Reply(const RecordedRequest&)> handler) {
  std::lock_guard lock(FMutex);
  FHandler = std::move(handler);
}

std::function<Reply(const RecordedRequest&)> TestHttpServer::Handler() const {
  std::lock_guard lock(FMutex);
  return FHandler;
}

std::vector<RecordedRequest> TestHttpServer::Requests() const {
  std::lock_guard lock(FMutex);
  return FRequests;
}

Reply TestHttpServer::NextReply(const RecordedRequest& request) {
  std::lock_guard lock(FMutex);
  FRequests.push_back(request);
  if (!FQueue.empty()) {
    Reply reply = std::move(FQueue.front());
    FQueue.pop_front();
    return reply;
  }
  return FHandler ? FHandler(request) : Reply{};
}

void TestHttpServer::AcceptLoop() {
  int connections = 0;
  while (!FStopping) {
    const int fd = ::accept4(FListenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (FStopping)
        return;
      continue;
    }
    std::lock_guard lock(FMutex);
    FClientFds.push_back(fd);
    FClientThreads.emplace_back([this, fd, id = ++connections] { Serve(fd, id); });
  }
}

void TestHttpServer::Serve(int fd, int connection) {
  std::string buffer;
  RecordedRequest request;
  while (!FStopping && ReadRequest(fd, buffer, request, FReadPauseMs)) {
    request.Connection = connection;
    const Reply reply = NextReply(request);
    request = RecordedRequest();
    if (reply.DelayMs > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(reply.DelayMs));
    if (reply.CloseMode == Reply::Close::BeforeAnswer)
      break;
    const std::string bytes = Serialise(reply);
    if (reply.DripMs > 0) {
      // The head at once, then the body a byte at a time until the client goes.
      const size_t head = bytes.size() - reply.Body.size();
      bool open = SendAll(fd, std::string_view(bytes).substr(0, head));
      for (size_t i = head; open && i < bytes.size() && !FStopping; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(reply.DripMs));
        open = SendAll(fd, std::string_view(bytes).substr(i, 1));
      }
      continue;
    }
    if (reply.CloseMode == Reply::Close::MidAnswer) {
      SendAll(fd, std::string_view(bytes).substr(0, bytes.size() - reply.Body.size() / 2 - 1));
      break;
    }
    SendAll(fd, bytes);
  }
  ::shutdown(fd, SHUT_RDWR);
}

}  // namespace TestSupport
