#include "Platform/HttpClient.hpp"

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
  EXPECT_FALSE(error.empty());
}

TEST(HttpClientTest, FileBodyIsStreamedWhole) {
  TestSupport::TempDir dir;
  std::string content;
  for (int i = 0; i < 300000; ++i)
    content += static_cast<char>(i * 7 % 256);
  TestSupport::TestHttpServer server;
  HttpClient client("t");
  const HttpRequest request =
      Upload(server, {{"head|", {}}, {{}, dir.Write("big.bin", content)}, {"|tail", {}}});
  HttpResponse response;
  std::string error;
  ASSERT_TRUE(client.Send(request, response, error)) << error;
  EXPECT_EQ(server.Requests().at(0).Body, "head|" + content + "|tail");
  EXPECT_EQ(response.StatusCode, 200);
}

TEST(HttpClientTest, UnopenableFileSendsNothing) {
  TestSupport::TestHttpServer server;
  HttpClient client("t");
  const HttpRequest request = Upload(server, {{{}, "/nonexistent/file.bin"}});
  HttpResponse response;
  std::string error;
  EXPECT_FALSE(client.Send(request, response, error));
  EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace Platform
