#include "Platform/Http/HttpClient.hpp"

#include <gtest/gtest.h>

#include "support/TempDir.hpp"
#include "support/TestHttpServer.hpp"

namespace Platform {
namespace {

HttpRequest Upload(const TestSupport::TestHttpServer& server, std::vector<HttpBodyPart> body) {
  HttpRequest request;
  request.Method = "POST";
  request.Url = server.BaseUrl() + "/upload";
  request.HasBody = true;
  request.Body = std::move(body);
  return request;
}

TEST(HttpClientTest, StalledAnswerFails) {
  TestSupport::TestHttpServer server;
  TestSupport::Reply slow;
  slow.DelayMs = 2500;
  server.Queue(slow);
  HttpClient client("t", {5, 1, 1, 0, 120, 1 << 20});
  HttpRequest request;
  request.Url = server.BaseUrl() + "/x";
  HttpResponse response;
  response.StatusCode = 42;
  std::string error;
  EXPECT_FALSE(client.Send(request, response, error));
  EXPECT_EQ(response.StatusCode, 42);
  EXPECT_EQ(error, "the server sent nothing for 1 s");
}

TEST(HttpClientTest, FileBodyIsStreamedWhole) {
  TestSupport::TempDir dir;
  std::string content;
  for (int i = 0; i < 300000; ++i)
    content += static_cast<char>(i * 7 % 256);
  TestSupport::TestHttpServer server;
  HttpClient client("t");
  const HttpRequest request = Upload(
      server, {HttpBodyPart::OfText("head|"), HttpBodyPart::OfFile(dir.Write("big.bin", content)),
               HttpBodyPart::OfText("|tail")});
  HttpResponse response;
  std::string error;
  ASSERT_TRUE(client.Send(request, response, error)) << error;
  EXPECT_EQ(server.Requests().at(0).Body, "head|" + content + "|tail");
  EXPECT_EQ(response.StatusCode, 200);
}

// Hands out "0123456789" repeated, a few bytes a call, and counts its starts.
class DigitsSource : public HttpBodySource {
 public:
  explicit DigitsSource(size_t size) : FSize(size) {}
  std::uint64_t Size() const override { return FSize; }
  void Restart() override {
    FPos = 0;
    ++Starts;
  }
  size_t Read(char* buffer, size_t size) override {
    const size_t part = std::min({size, FSize - FPos, FPos % 7 + 1});
    for (size_t i = 0; i < part; ++i)
      buffer[i] = static_cast<char>('0' + (FPos + i) % 10);
    FPos += part;
    return part;
  }
  int Starts = 0;

 private:
  size_t FSize;
  size_t FPos = 0;
};

std::string Digits(size_t size) {
  std::string digits;
  for (size_t i = 0; i < size; ++i)
    digits += static_cast<char>('0' + i % 10);
  return digits;
}

// A source is read to its end between texts, and sent again from its start
// when a redirect asks for the body anew.
TEST(HttpClientTest, SourceBodyIsMadeWhileSentAndAgainAfterARedirect) {
  TestSupport::TestHttpServer server;
  TestSupport::Reply redirect;
  redirect.Status = 307;
  redirect.Reason = "Temporary Redirect";
  redirect.Headers = {{"Location", server.BaseUrl() + "/moved"}};
  server.Queue(redirect);
  auto source = std::make_shared<DigitsSource>(100000);
  HttpClient client("t");
  const HttpRequest request = Upload(
      server,
      {HttpBodyPart::OfText("<"), HttpBodyPart::OfSource(source), HttpBodyPart::OfText(">")});
  HttpResponse response;
  std::string error;
  ASSERT_TRUE(client.Send(request, response, error)) << error;
  EXPECT_EQ(response.StatusCode, 200);
  ASSERT_EQ(server.Requests().size(), 2u);
  for (const auto& received : server.Requests())
    EXPECT_EQ(received.Body, "<" + Digits(100000) + ">");
  EXPECT_EQ(source->Starts, 2);
}

TEST(HttpClientTest, UnopenableFileSendsNothing) {
  TestSupport::TestHttpServer server;
  HttpClient client("t");
  const HttpRequest request = Upload(server, {HttpBodyPart::OfFile("/nonexistent/file.bin")});
  HttpResponse response;
  std::string error;
  EXPECT_FALSE(client.Send(request, response, error));
  EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace Platform
