// The request layer against the loopback test server: exact bytes on the
// wire and the outcome of every kind of answer.
#include <gtest/gtest.h>

#include "JoplinRestUtils/Http/RequestUrl.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "support/TempDir.hpp"
#include "support/TestHttpServer.hpp"

namespace JoplinRestUtils {
namespace {

using TestSupport::Reply;

class RequestLayerTest : public ::testing::Test {
 protected:
  std::string HostLine() const { return "Host: 127.0.0.1:" + std::to_string(Server.Port()); }
  std::string CommonHeaders() const {
    return HostLine() +
           "\r\nUser-Agent: Quillpost/1.0.0.0\r\n"
           "Accept: application/json, text/plain; q=0.9, text/html;q=0.8,\r\n"
           "Accept-Charset: utf-8, *;q=0.8\r\n";
  }
  TestSupport::RecordedRequest Only() const {
    const auto requests = Server.Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? TestSupport::RecordedRequest{} : requests.back();
  }
  static std::string Boundary(const TestSupport::RecordedRequest& request) {
    const std::string type = request.Header("Content-Type");
    const std::string prefix = "multipart/form-data; boundary=";
    EXPECT_TRUE(type.starts_with(prefix)) << type;
    return type.substr(prefix.size());
  }

  TestSupport::TestHttpServer Server;
  TJoplinRest Rest{"T0k", Server.BaseUrl() + "/"};
  TestSupport::TempDir Dir;
};

TEST_F(RequestLayerTest, GetSendsExactBytesWithoutBodyOrContentType) {
  ASSERT_TRUE(Rest.Get("folders", {}, "", false, 0));
  const auto request = Only();
  EXPECT_EQ(request.Raw, "GET /folders?token=T0k HTTP/1.1\r\n" + CommonHeaders() + "\r\n");
  EXPECT_FALSE(request.HasHeader("Content-Type"));
  EXPECT_FALSE(request.HasHeader("Accept-Encoding"));
  EXPECT_FALSE(request.HasHeader("Expect"));
}

struct QueryCase {
  std::vector<std::string> Fields;
  const char* OrderBy;
  bool Asc;
  int Limit;
  const char* Target;
};

TEST_F(RequestLayerTest, GetComposesTheQuery) {
  const QueryCase cases[] = {
      {{}, "", true, 7, "/R?token=T0k"},
      {{"id", "title"}, "", true, 10, "/R?fields=id,title&token=T0k"},
      {{}, "title", true, 0, "/R?order_by=title&order_dir=ASC&token=T0k"},
      {{}, "title", false, 10, "/R?order_by=title&order_dir=DESC&limit=10&token=T0k"},
      {{}, "title", false, -3, "/R?order_by=title&order_dir=DESC&token=T0k"},
      {{"id"},
       "updated_time",
       true,
       5,
       "/R?fields=id&order_by=updated_time&order_dir=ASC&limit=5&token=T0k"},
      {{"a,b", "c"}, "", true, 0, "/R?fields=\"a,b\",c&token=T0k"},
      {{"x\"y"}, "", true, 0, "/R?fields=\"x\"\"y\"&token=T0k"},
      {{""}, "", true, 0, "/R?fields=\"\"&token=T0k"},
      {{"a", "", "b"}, "", true, 0, "/R?fields=a,,b&token=T0k"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Rest.Get("R", c.Fields, c.OrderBy, c.Asc, c.Limit));
    EXPECT_EQ(Server.Requests().back().Target, c.Target);
  }
}

TEST_F(RequestLayerTest, TokenAndResourceForms) {
  ASSERT_TRUE(Rest.Post("/notes?x=1", nullptr));
  EXPECT_EQ(Server.Requests().back().Target, "/notes?x=1&token=T0k");
  TJoplinRest plain("T0k", "  " + Server.BaseUrl() + "  ");
  ASSERT_TRUE(plain.Post("notes", nullptr));
  EXPECT_EQ(Server.Requests().back().Target, "/notes?token=T0k");
}

TEST_F(RequestLayerTest, JsonPostEscapesEverythingOutsideAscii) {
  TJsonValue object = TJsonValue::object();
  object["title"] = "\u00e9/\x01\U0001F600";
  object["markup_language"] = 1;
  ASSERT_TRUE(Rest.Post("notes", &object));
  const std::string body = R"({"title":"\u00E9\/\u0001\uD83D\uDE00","markup_language":1})";
  EXPECT_EQ(Only().Raw, "POST /notes?token=T0k HTTP/1.1\r\n" + CommonHeaders() +
                            "Content-Type: application/json\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body);
}

TEST_F(RequestLayerTest, PostAndPutWithoutBodyAreEmptyForms) {
  ASSERT_TRUE(Rest.Put("notes/1", nullptr));
  EXPECT_EQ(Only().Raw, "PUT /notes/1?token=T0k HTTP/1.1\r\n" + CommonHeaders() +
                            "Content-Type: application/x-www-form-urlencoded\r\n"
                            "Content-Length: 0\r\n\r\n");
}

TEST_F(RequestLayerTest, DeleteCarriesOnlyAGivenObject) {
  ASSERT_TRUE(Rest.Delete("notes/1", nullptr));
  EXPECT_EQ(Server.Requests().back().Raw,
            "DELETE /notes/1?token=T0k HTTP/1.1\r\n" + CommonHeaders() + "\r\n");
  TJsonValue object = {{"permanent", 1}};
  ASSERT_TRUE(Rest.Delete("notes/2", &object));
  EXPECT_EQ(Server.Requests().back().Body, R"({"permanent":1})");
  EXPECT_EQ(Server.Requests().back().Header("Content-Type"), "application/json");
}

TEST_F(RequestLayerTest, MultipartUploadOfAPng) {
  const char pngBytes[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\x00\r\n";
  const std::string png(pngBytes, sizeof pngBytes - 1);
  const std::string path = Dir.Write("chart.png", png);
  TJsonValue props = TJsonValue::object();
  props["title"] = "chart \u00e9/\x01.png";
  props["created_time"] = 1700000000000;
  ASSERT_TRUE(Rest.PostFile("resources", path, &props));
  const auto request = Only();
  const std::string b = Boundary(request);
  for (const char c : b)
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '-');
  const std::string body = "--" + b +
                           "\r\nContent-Disposition: form-data; name=\"data\"; "
                           "filename=\"chart.png\"\r\nContent-Type: image/png\r\n\r\n" +
                           png + "\r\n--" + b +
                           "\r\nContent-Disposition: form-data; name=\"props\"\r\n\r\n"
                           "{\"title\":\"chart \u00e9\\/\x01.png\",\"created_time\":1700000000000}"
                           "\r\n--" +
                           b + "--\r\n";
  EXPECT_EQ(request.Raw, "POST /resources?token=T0k HTTP/1.1\r\n" + CommonHeaders() +
                             "Content-Type: multipart/form-data; boundary=" + b +
                             "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
                             body);
}

TEST_F(RequestLayerTest, MultipartMediaTypes) {
  const struct {
    const char* Name;
    const char* Type;
  } cases[] = {{"data.qqzz", "application/octet-stream"},
               {"noextension", "application/octet-stream"},
               {"Photo.JPG", "image/jpeg"},
               {"a.svg", "image/svg+xml"},
               {"arch.7z", "application/x-7z-compressed"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(Rest.PostFile("resources", Dir.Write(c.Name, "bytes"), nullptr));
    const auto request = Server.Requests().back();
    EXPECT_NE(request.Body.find(std::string("Content-Type: ") + c.Type + "\r\n\r\nbytes\r\n--" +
                                Boundary(request) + "--\r\n"),
              std::string::npos)
        << c.Name << request.Body;
  }
}

TEST_F(RequestLayerTest, PostFileWithoutFileSendsAFormBodyOrNothing) {
  TJsonValue props = TJsonValue::object();
  props["title"] = "a b~\u00e9";
  ASSERT_TRUE(Rest.PostFile("resources", Dir / "missing.png", &props));
  EXPECT_EQ(Only().Raw, "POST /resources?token=T0k HTTP/1.1\r\n" + CommonHeaders() +
                            "Content-Type: application/x-www-form-urlencoded\r\n"
                            "Content-Length: 46\r\n\r\n"
                            "props=%7B%22title%22%3A%22a%20b%7E%C3%A9%22%7D");
  EXPECT_FALSE(Rest.PostFile("resources", Dir / "missing.png", nullptr));
  EXPECT_FALSE(Rest.PostFile("resources", "", nullptr));
  EXPECT_EQ(Server.Requests().size(), 1u);
}

TEST_F(RequestLayerTest, OneConnectionServesTheWholeRun) {
  ASSERT_TRUE(Rest.Get("a", {}, "", false, 0));
  ASSERT_TRUE(Rest.Post("b", nullptr));
  ASSERT_TRUE(Rest.PostFile("c", Dir.Write("f.txt", "x"), nullptr));
  for (const auto& request : Server.Requests())
    EXPECT_EQ(request.Connection, 1);
}

TEST_F(RequestLayerTest, CookiesAreSentBack) {
  Reply withCookie = Reply::Json("{}");
  withCookie.Headers.emplace_back("Set-Cookie", "session=abc; Path=/");
  Server.Queue(withCookie);
  ASSERT_TRUE(Rest.Get("a", {}, "", false, 0));
  ASSERT_TRUE(Rest.Get("b", {}, "", false, 0));
  EXPECT_EQ(Server.Requests().back().Header("Cookie"), "session=abc");
}

TEST_F(RequestLayerTest, RedirectsAreFollowed) {
  Reply redirect = Reply::Json("", 307);
  redirect.Headers.emplace_back("Location", "/elsewhere?token=T0k");
  Server.Queue(redirect);
  Server.Queue(Reply::Json(R"({"id":"moved"})"));
  ASSERT_TRUE(Rest.Get("folders", {}, "", false, 0));
  EXPECT_EQ(Server.Requests().back().Target, "/elsewhere?token=T0k");
  EXPECT_NE(Rest.ResponseJsonText().find("moved"), std::string::npos);
}

TEST_F(RequestLayerTest, OutcomeOfEachKindOfAnswer) {
  Server.Queue(Reply::Json(R"({"error":"Invalid \"token\""})", 403));
  EXPECT_TRUE(Rest.Get("folders", {}, "", false, 0));
  EXPECT_EQ(Rest.RestResponse().StatusCode(), 403);
  EXPECT_EQ(Rest.ResponseJsonText(), "{\r\n    \"error\": \"Invalid \\\"token\\\"\"\r\n}");

  Server.Queue(Reply::Json(R"({"error":"boom"})", 500));
  EXPECT_FALSE(Rest.Get("folders", {}, "", false, 0));
  EXPECT_EQ(Rest.ResponseJsonText(), "{\r\n    \"error\": \"boom\"\r\n}");

  Reply closed;
  closed.CloseMode = Reply::Close::BeforeAnswer;
  Server.Queue(closed);  // curl retries once on a fresh connection when a kept one dies
  Server.Queue(closed);
  EXPECT_FALSE(Rest.Get("folders", {}, "", false, 0));
  EXPECT_EQ(Rest.ResponseJsonText(), "{\r\n    \"error\": \"boom\"\r\n}");  // store unchanged

  Reply cut = Reply::Json(R"({"id":"0123456789abcdef0123456789abcdef"})");
  cut.CloseMode = Reply::Close::MidAnswer;
  Server.Queue(cut);
  EXPECT_FALSE(Rest.Get("folders", {}, "", false, 0));
  EXPECT_EQ(Rest.RestResponse().StatusCode(), 500);

  Server.Queue(Reply::Json("<html>oops</html>"));
  EXPECT_TRUE(Rest.Get("folders", {}, "", false, 0));
  EXPECT_EQ(Rest.ResponseJsonText(), "");
  Server.Queue(Reply::Json(""));
  EXPECT_TRUE(Rest.Get("folders", {}, "", false, 0));
  EXPECT_EQ(Rest.ResponseJsonText(), "");
}

TEST_F(RequestLayerTest, AnswerTextsByMediaTypeAndCharset) {
  Reply binary = Reply::Json("\x89PNG");
  binary.Headers = {{"Content-Type", "image/png"}};
  Server.Queue(binary);
  EXPECT_TRUE(Rest.Get("resources/1/file", {}, "", false, 0));
  EXPECT_EQ(Rest.RestResponse().Content(), "");
  EXPECT_EQ(Rest.RestResponse().RawBytes(), "\x89PNG");

  Reply latin1 = Reply::Json("{\"title\":\"caf\xE9\"}");
  latin1.Headers = {{"Content-Type", "application/json; charset=ISO-8859-1"}, {"Server", "J"}};
  Server.Queue(latin1);
  EXPECT_TRUE(Rest.Get("notes", {}, "", false, 0));
  EXPECT_EQ(Rest.RestResponse().Content(), "{\"title\":\"caf\u00e9\"}");
  EXPECT_EQ(Rest.RestResponse().ContentEncoding(), "ISO-8859-1");
  EXPECT_EQ(Rest.RestResponse().Server(), "J");
}

TEST(RequestLayerNoServerTest, FailuresLeaveTheStoreEmpty) {
  TJoplinRest noServer("t", "http://127.0.0.1:1");
  EXPECT_FALSE(noServer.Get("folders", {}, "", false, 0));
  EXPECT_EQ(noServer.ResponseJsonText(), "");
  TJoplinRest emptyBase("t", "");
  EXPECT_FALSE(emptyBase.Post("notes", nullptr));
  EXPECT_THROW(TJoplinRest("t", "localhost:41184"), EInvalidUrl);
}

}  // namespace
}  // namespace JoplinRestUtils
