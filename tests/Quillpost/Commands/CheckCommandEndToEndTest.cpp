// "--check" and the settings sources seen from outside: the built program with
// a temporary HOME and XDG_CONFIG_HOME against the loopback test server.
#include <gtest/gtest.h>

#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

using TestSupport::Reply;

class CheckCommandTest : public ::testing::Test {
 protected:
  TestSupport::ProgramResult Run(std::vector<std::string> args,
                                 std::map<std::string, std::string> env = {}) {
    TestSupport::ProgramOptions options;
    options.Env = std::move(env);
    options.Env["HOME"] = Dir / "home";
    options.Env["XDG_CONFIG_HOME"] = Dir / "xdg";
    options.CloseStdin = true;
    return TestSupport::RunQuillpost(args, options);
  }
  // The token and port in a Joplin profile, as the application writes them.
  void WriteDesktopProfile(int port, const std::string& token) {
    Dir.Write(
        "home/.config/joplin-desktop/settings.json",
        "{\n\t\"api.token\": \"" + token + "\",\n\t\"api.port\": " + std::to_string(port) + "\n}");
  }
  TestSupport::TestHttpServer Server;
  TestSupport::TempDir Dir;
};

TEST_F(CheckCommandTest, AllWellFromTheDesktopProfile) {
  TestSupport::FakeDataApi fake;
  fake.Folders = {{"F1", "Inbox"}, {"F2", "Work"}, {"F3", "Sub", "F2"}};
  fake.Install(Server);
  Server.Handle([inner = Server.Handler()](const TestSupport::RecordedRequest& request) {
    if (request.Target.starts_with("/ping"))
      return Reply::Json("JoplinClipperServer");
    return inner(request);
  });
  WriteDesktopProfile(Server.Port(), "s3cret-token");
  const auto result = Run({"--check"});
  EXPECT_EQ(result.Stdout, "URL: " + Server.BaseUrl() + " (from the Joplin profile \"" +
                               Dir / "home/.config/joplin-desktop/settings.json" +
                               "\")\n"
                               "Token: from the Joplin profile \"" +
                               Dir / "home/.config/joplin-desktop/settings.json" +
                               "\"\n"
                               "Ping: a Joplin Data API answers\n"
                               "Token accepted: yes\n"
                               "Notebooks: 3\n");
  EXPECT_EQ(result.Stderr, "");
  EXPECT_EQ(result.ExitCode, 0);
  // It creates nothing.
  for (const auto& request : Server.Requests())
    EXPECT_EQ(request.Method, "GET");
}

TEST_F(CheckCommandTest, RefusedTokenFromTheEnvironment) {
  Server.Handle([](const TestSupport::RecordedRequest& request) {
    if (request.Target.starts_with("/ping"))
      return Reply::Json("JoplinClipperServer");
    return Reply::Json(R"({"error":"Invalid \"token\" parameter"})", 403);
  });
  const auto result =
      Run({"--check"}, {{"QUILLPOST_URL", Server.BaseUrl()}, {"QUILLPOST_TOKEN", "wrong"}});
  const std::string environment = "the environment (QUILLPOST_URL, QUILLPOST_TOKEN)";
  EXPECT_EQ(result.Stdout, "URL: " + Server.BaseUrl() + " (from " + environment +
                               ")\n"
                               "Token: from " +
                               environment +
                               "\n"
                               "Ping: a Joplin Data API answers\n"
                               "Token accepted: no (GET folders: HTTP 403 Client Error: Invalid "
                               "\"token\" parameter)\n");
  EXPECT_EQ(result.ExitCode, 3);
}

TEST_F(CheckCommandTest, ServerDownOrNotJoplin) {
  const auto down = Run({"--check"}, {{"QUILLPOST_URL", "http://127.0.0.1:1"}});
  EXPECT_TRUE(down.Stdout.starts_with("URL: http://127.0.0.1:1 (from the environment"));
  EXPECT_NE(down.Stdout.find("\nToken: none found\nPing: no answer (GET ping failed: "),
            std::string::npos)
      << down.Stdout;
  // With nothing answering, the last line says what to do next.
  EXPECT_TRUE(down.Stdout.ends_with(
      "\nNext: start the Joplin desktop application and enable its Web Clipper service "
      "(Tools > Options > Web Clipper), or run ./run.sh from the Quillpost sources for a "
      "local Joplin server\n"))
      << down.Stdout;
  EXPECT_EQ(down.ExitCode, 3);

  Server.Handle([](const auto&) { return Reply::Json("<html>a web server</html>"); });
  const auto other =
      Run({"--check"}, {{"QUILLPOST_URL", Server.BaseUrl()}, {"QUILLPOST_TOKEN", "t"}});
  EXPECT_NE(other.Stdout.find("Ping: the server at this URL is not a Joplin Data API (HTTP 200)\n"),
            std::string::npos)
      << other.Stdout;
  EXPECT_EQ(other.ExitCode, 3);
}

// With no settings file at all, the token and port of the profile are used.
TEST_F(CheckCommandTest, NoteFromTheProfileAlone) {
  TestSupport::FakeDataApi().Install(Server);
  Dir.Write("elsewhere/settings.json",
            R"({"api.token":"tok","api.port":)" + std::to_string(Server.Port()) + "}");
  const auto result = Run({"/Profile=" + Dir / "elsewhere", "/SN", "/I", "Profiled"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\n");
  EXPECT_EQ(result.Stderr, "");
  EXPECT_NE(TestSupport::RequestsTo(Server, "POST", "/notes").at(0).Target.find("token=tok"),
            std::string::npos);
}

}  // namespace
