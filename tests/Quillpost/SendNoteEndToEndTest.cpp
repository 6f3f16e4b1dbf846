// The built program against the loopback test server: the result line and
// the exit code a script sees.
#include <gtest/gtest.h>

#include <map>

#include "support/FakeJoplin.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

using TestSupport::Reply;

class SendNoteTest : public ::testing::Test {
 protected:
  std::string Ini(const std::string& url, const std::string& token = "tok") {
    return "/IniFile=" + Dir.Write("q.ini", "[Host]\nURL=" + url + "\nToken=" + token + "\n");
  }
  TestSupport::ProgramResult Run(std::vector<std::string> args, std::string input = {},
                                 std::map<std::string, std::string> env = {}) {
    TestSupport::ProgramOptions options;
    options.Env = std::move(env);
    options.CloseStdin = input.empty();
    options.Stdin = std::move(input);
    options.Env["TZ"] = "UTC";
    options.Env["LC_ALL"] = "C.UTF-8";
    return TestSupport::RunQuillpost(args, options);
  }
  TestSupport::TestHttpServer Server;
  TestSupport::TempDir Dir;
};

TEST_F(SendNoteTest, CreatedNotePrintsItsId) {
  TestSupport::FakeJoplin fake;
  fake.Folders = {"F1=Inbox"};
  fake.Install(Server);
  const auto result = Run({Ini(Server.BaseUrl()), "/N", "Inbox", "/I", "Hello", "/SN"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\n");
  EXPECT_EQ(result.Stderr, "");
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(TestSupport::RequestsTo(Server, "POST", "/notes").at(0).Body,
            R"({"title":"Hello","markup_language":1,"parent_id":"F1","body":""})");
}

TEST_F(SendNoteTest, BodyFromStandardInputAfterThePrompt) {
  TestSupport::FakeJoplin().Install(Server);
  const auto result = Run({Ini(Server.BaseUrl()), "/LT"}, "Title line\nbody \u00e9/\r\nend");
  EXPECT_EQ(result.Stdout, "Quillpost(Eof => Ctrl + D)\nDone (Note id: N1)\n");
  EXPECT_EQ(TestSupport::RequestsTo(Server, "POST", "/notes").at(0).Body,
            R"({"title":"Title line","markup_language":1,"body":"body \u00E9\/\r\nend\r\n"})");
  // Without standard input at all the body is empty.
  EXPECT_EQ(Run({Ini(Server.BaseUrl())}).Stdout,
            "Quillpost(Eof => Ctrl + D)\nDone (Note id: N2)\n");
}

TEST_F(SendNoteTest, LoopbackRequestsBypassProxies) {
  TestSupport::FakeJoplin().Install(Server);
  const std::map<std::string, std::string> proxies = {{"http_proxy", "http://127.0.0.1:1"},
                                                      {"HTTP_PROXY", "http://127.0.0.1:1"},
                                                      {"ALL_PROXY", "http://127.0.0.1:1"}};
  EXPECT_EQ(Run({Ini(Server.BaseUrl()), "/SN"}, {}, proxies).Stdout, "Done (Note id: N1)\n");
}

TEST_F(SendNoteTest, RefusedTokenIsAFailure) {
  Server.Handle([](const auto&) { return Reply::Json(R"({"error":"Invalid token"})", 403); });
  const auto result = Run({Ini(Server.BaseUrl(), "wrong"), "/SN"});
  EXPECT_EQ(result.Stdout, "Create Note failed.\n");
  EXPECT_EQ(result.ExitCode, 3);
}

TEST_F(SendNoteTest, RefusedTokenWithNotebookEndsWithTheErrorLine) {
  Server.Handle([](const auto&) { return Reply::Json(R"({"error":"Invalid token"})", 403); });
  const auto result = Run({Ini(Server.BaseUrl(), "wrong"), "/N", "Inbox", "/SN"});
  EXPECT_EQ(result.Stdout, "EJSONException: Value 'items' not found\n");
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_TRUE(TestSupport::RequestsTo(Server, "POST", "/notes").empty());
}

TEST_F(SendNoteTest, UnusableServersAreFailures) {
  EXPECT_EQ(Run({Ini("http://127.0.0.1:1"), "/SN"}).Stdout, "Create Note failed.\n");
  const auto empty = Run({Ini(""), "/SN"});
  EXPECT_EQ(empty.Stdout, "Create Note failed.\n");
  EXPECT_EQ(empty.ExitCode, 3);
  Server.Queue(Reply::Json("<html>busy</html>", 503));
  EXPECT_EQ(Run({Ini(Server.BaseUrl()), "/SN"}).ExitCode, 3);
}

TEST_F(SendNoteTest, UrlWithoutSchemeEndsWithTheErrorLine) {
  const auto result = Run({Ini("localhost:41184"), "/SN"});
  EXPECT_EQ(result.Stdout, "EInvalidUrl: Malformed URL: \"localhost:41184\"\n");
  EXPECT_EQ(result.ExitCode, 3);
}

}  // namespace
