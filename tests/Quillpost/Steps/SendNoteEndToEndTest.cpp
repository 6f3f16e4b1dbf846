// The built program against the loopback test server: the result line and
// the exit code a script sees.
#include <gtest/gtest.h>

#include <map>

#include "support/FakeDataApi.hpp"
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
  TestSupport::FakeDataApi fake;
  fake.Folders = {{"F1", "Inbox"}};
  fake.Install(Server);
  const auto result = Run({Ini(Server.BaseUrl()), "/N", "Inbox", "/I", "Hello", "/SN"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\n");
  EXPECT_EQ(result.Stderr, "");
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(TestSupport::LastNoteJson(Server),
            R"({"title":"Hello","markup_language":1,"parent_id":"F1","body":""})");
}

// Ids are used as the server wrote them, numbers included.
TEST_F(SendNoteTest, NumericIdsStayAsWritten) {
  Server.Queue(Reply::Json(R"({"items":[{"id":1.50,"title":"Inbox"}],"has_more":false})"));
  Server.Queue(Reply::Json(R"({"id":12345678901234567890123,"title":"t"})"));
  const auto result = Run({Ini(Server.BaseUrl()), "/N", "Inbox", "/SN"});
  EXPECT_EQ(result.Stdout, "Done (Note id: 12345678901234567890123)\n");
  EXPECT_EQ(TestSupport::LastNoteJson(Server),
            R"({"title":"NoName","markup_language":1,"parent_id":"1.50","body":""})");
}

TEST_F(SendNoteTest, PipedBodyGivesNoPrompt) {
  TestSupport::FakeDataApi().Install(Server);
  const auto result = Run({Ini(Server.BaseUrl()), "/LT"}, "Title line\nbody \u00e9/\r\nend");
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\n");
  EXPECT_EQ(result.Stderr, "");
  EXPECT_EQ(TestSupport::LastNoteJson(Server),
            R"({"title":"Title line","markup_language":1,"body":"body \u00E9\/\r\nend\r\n"})");
  // Without standard input at all the body is empty.
  const auto closed = Run({Ini(Server.BaseUrl())});
  EXPECT_EQ(closed.Stdout, "Done (Note id: N2)\n");
  EXPECT_EQ(closed.Stderr, "");
}

TEST_F(SendNoteTest, LoopbackRequestsBypassProxies) {
  TestSupport::FakeDataApi().Install(Server);
  const std::map<std::string, std::string> proxies = {{"http_proxy", "http://127.0.0.1:1"},
                                                      {"HTTP_PROXY", "http://127.0.0.1:1"},
                                                      {"ALL_PROXY", "http://127.0.0.1:1"}};
  EXPECT_EQ(Run({Ini(Server.BaseUrl()), "/SN"}, {}, proxies).Stdout, "Done (Note id: N1)\n");
}

TEST_F(SendNoteTest, RefusedTokenIsAFailureWithTheServersWords) {
  Server.Handle([](const auto&) { return Reply::Json(R"({"error":"Invalid token"})", 403); });
  const auto result = Run({Ini(Server.BaseUrl(), "s3cret-token"), "/SN"});
  EXPECT_EQ(result.Stdout, "Create Note failed.\n");
  EXPECT_EQ(result.Stderr, "quillpost: POST notes: HTTP 403 Client Error: Invalid token\n");
  EXPECT_EQ(result.ExitCode, 3);
}

TEST_F(SendNoteTest, RefusedTokenWithNotebookSaysTheServerRefused) {
  Server.Handle([](const auto&) { return Reply::Json(R"({"error":"Invalid token"})", 403); });
  Dir.Write("a.txt", "x");
  const auto result =
      Run({Ini(Server.BaseUrl(), "wrong"), "/N", "Inbox", "/SN", "/A", Dir / "a.txt"});
  EXPECT_EQ(result.Stdout,
            "ERequestRefused: The server refused GET folders (HTTP 403 Client Error)\n");
  EXPECT_EQ(result.Stderr, "quillpost: GET folders: HTTP 403 Client Error: Invalid token\n");
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(Server.Requests().size(), 1u);  // no upload, no note
}

TEST_F(SendNoteTest, UnusableServersAreFailuresWithTheirCause) {
  const auto refused = Run({Ini("http://127.0.0.1:1", "s3cret-token"), "/SN"});
  EXPECT_EQ(refused.Stdout, "Create Note failed.\n");
  EXPECT_TRUE(refused.Stderr.starts_with("quillpost: POST notes failed: ")) << refused.Stderr;
  EXPECT_TRUE(refused.Stderr.ends_with(" (http://127.0.0.1:1/notes)\n")) << refused.Stderr;
  Server.Queue(Reply::Json("<html>busy</html>", 503));
  const auto busy = Run({Ini(Server.BaseUrl()), "/SN"});
  EXPECT_EQ(busy.ExitCode, 3);
  EXPECT_EQ(busy.Stderr, "quillpost: POST notes: HTTP 503 Server Error\n");
  Server.Queue(Reply::Json(R"({"title":"no id"})"));
  EXPECT_EQ(Run({Ini(Server.BaseUrl()), "/SN"}).Stderr,
            "quillpost: the answer to POST notes held no note id; the server answered with "
            "success, so the note was probably created: look in Joplin before sending it again\n");
}

// A notebook that does not exist, or a body file that cannot be read, ends
// the run before any request: nothing is uploaded or created.
TEST_F(SendNoteTest, BadInputEndsTheRunBeforeAnyUpload) {
  TestSupport::FakeDataApi fake;
  fake.Folders = {{"F1", "Inbox"}};
  fake.Install(Server);
  const std::string attachment = Dir.Write("a.txt", "x");
  const std::string latin1 = Dir.Write("latin1.md", "caf\xE9");
  const struct {
    std::vector<std::string> Args;
    std::string Stdout;
  } cases[] = {
      {{"/N", "Inboxx"},
       "ENotebookNotFound: Notebook \"Inboxx\" not found (add /NC to create it)\n"},
      {{"/N", "Inbox/Sub"},
       "ENotebookNotFound: Notebook \"Inbox/Sub\" not found (add /NC to create it)\n"},
      {{"/S", Dir / "missing.md"},
       "EBodyFileError: Cannot load the body file \"" + Dir / "missing.md" +
           "\": No such file or directory\n"},
      {{"/S", Dir.Path()},
       "EBodyFileError: Cannot load the body file \"" + Dir.Path() + "\": is a directory\n"},
      {{"/S", latin1},
       "EBodyFileError: Cannot load the body file \"" + latin1 +
           "\": is not valid UTF-8 (add /DefEnc to read it as Windows-1252)\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {Ini(Server.BaseUrl()), "/A", attachment};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const auto result = Run(args, "standard input is never the body");
    EXPECT_EQ(result.Stdout, c.Stdout);
    EXPECT_EQ(result.Stderr, "");
    EXPECT_EQ(result.ExitCode, 3);
  }
  EXPECT_TRUE(TestSupport::RequestsTo(Server, "POST", "/resources").empty());
  EXPECT_TRUE(TestSupport::RequestsTo(Server, "POST", "/notes").empty());
}

TEST_F(SendNoteTest, SkippedAttachmentsAreWarnedAbout) {
  TestSupport::FakeDataApi fake;
  fake.Folders = {{"F1", "Inbox"}, {"F2", "inbox"}};
  fake.Install(Server);
  Dir.MakeDir("folder");
  const std::string refused = Dir.Write("big.bin", "x");
  const std::string kept = Dir.Write("ok.txt", "y");
  Server.Handle([inner = Server.Handler(), refused](const TestSupport::RecordedRequest& request) {
    if (request.Method == "POST" && request.Body.find("big.bin") != std::string::npos)
      return Reply::Json(R"({"error":"File too large"})", 413);
    return inner(request);
  });
  const auto result = Run({Ini(Server.BaseUrl()), "/SN", "/N", "INBOX", "/A", Dir / "missing.png",
                           "/AA", refused, Dir / "folder", kept});
  EXPECT_EQ(result.Stdout, "Done (Note id: N2)\n");
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Stderr,
            "quillpost: warning: attachment \"" + Dir / "missing.png" +
                "\" does not exist; skipped\n"
                "quillpost: warning: attachment \"" +
                Dir / "folder" +
                "\" is a directory; skipped\n"
                "quillpost: warning: 2 notebooks are titled \"INBOX\"; using the last one listed "
                "(write \"Parent/INBOX\" to choose)\n"
                "quillpost: warning: attachment \"" +
                refused +
                "\" was not uploaded (POST resources: HTTP 413 Client Error: File too large); "
                "skipped\n");
  EXPECT_NE(TestSupport::LastNoteJson(Server).find(R"("parent_id":"F2")"), std::string::npos);
}

TEST_F(SendNoteTest, UrlWithoutSchemeEndsWithTheErrorLine) {
  const auto result = Run({Ini("localhost:41184"), "/SN"});
  EXPECT_EQ(result.Stdout, "EInvalidUrl: Malformed URL: \"localhost:41184\"\n");
  EXPECT_EQ(result.ExitCode, 3);
}

}  // namespace
