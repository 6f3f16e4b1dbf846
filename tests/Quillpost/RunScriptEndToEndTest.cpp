// The README's run command on a machine with nothing configured and no Joplin
// running: it starts a local Joplin server as the default, files the note
// there, reuses the server on the next run, and its stop keeps the notes.
#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "JoplinRestUtils/Json/Json.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Files/IniFile.hpp"
#include "Platform/Http/HttpClient.hpp"
#include "support/PrivateNetwork.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

const std::string kSource = QUILLPOST_SOURCE_DIR;

class RunScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "run.sh runs the normal build";
#endif
    if (!Platform::FileExists(kSource + "/tools/joplin-server/node_modules/.bin/joplin") &&
        Platform::GetEnv("QUILLPOST_REQUIRE_JOPLIN") != "1")
      GTEST_SKIP() << "the Joplin server is not installed (tools/joplin-server)";
    // run.sh takes the first free port of the Data API's range.
    if (const std::string why = TestSupport::WhyNoPrivateNetwork(); !why.empty())
      GTEST_SKIP() << why;
  }
  void TearDown() override {
    if (Platform::DirectoryExists(State()))
      Script({"stop", State()});
  }
  std::string State() const {
    return Home / "data/quillpost/joplin-server";
  }
  TestSupport::ProgramOptions Options() const {
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["HOME"] = Home.Path();
    options.Env["XDG_CONFIG_HOME"] = Home / "config";
    options.Env["XDG_DATA_HOME"] = Home / "data";
    return options;
  }
  TestSupport::ProgramResult RunScript(const std::vector<std::string>& args) {
    return TestSupport::RunProgram(kSource + "/run.sh", args, Options());
  }
  TestSupport::ProgramResult Script(const std::vector<std::string>& args) {
    std::vector<std::string> all = {kSource + "/tools/joplin-server/joplin-server.sh"};
    all.insert(all.end(), args.begin(), args.end());
    return TestSupport::RunProgram("/bin/bash", all, Options());
  }
  static std::string NoteIdOf(const std::string& out) {
    const std::string prefix = "Done (Note id: ";
    return out.starts_with(prefix) ? out.substr(prefix.size(), 32) : std::string();
  }
  TestSupport::TempDir Home;
};

TEST_F(RunScriptTest, LocalServerIsTheDefault) {
  const auto first = RunScript({"/N", "Inbox", "/I", "First run", "/SN"});
  ASSERT_EQ(first.ExitCode, 0) << first.Stdout << first.Stderr;
  const std::string id = NoteIdOf(first.Stdout);
  ASSERT_EQ(id.size(), 32u) << first.Stdout;
  EXPECT_NE(first.Stderr.find("[quillpost] starting a local Joplin server"), std::string::npos)
      << first.Stderr;
  EXPECT_NE(first.Stderr.find("stop it with: "), std::string::npos);

  // The settings file names the server, readable by its owner alone.
  const std::string settings = Home / "config/quillpost/quillpost.ini";
  EXPECT_FALSE(Platform::OpenToOthers(settings));
  const Platform::IniFile ini(settings);
  const std::string url = ini.ReadString("Host", "URL", "");
  const std::string token = ini.ReadString("Host", "Token", "");
  Platform::HttpClient http("tests");
  Platform::HttpRequest read;
  read.Url = url + "/notes/" + id + "?fields=title&token=" + token;
  Platform::HttpResponse answer;
  std::string error;
  ASSERT_TRUE(http.Send(read, answer, error)) << error;
  EXPECT_EQ(JoplinRestUtils::TJsonValue::parse(answer.Body).at("title"), "First run");

  // The profile is its owner's alone, and the token was on no command line.
  EXPECT_EQ(
      std::filesystem::status(State() + "/profile").permissions() & std::filesystem::perms::all,
      std::filesystem::perms::owner_all);
  EXPECT_FALSE(Platform::OpenToOthers(State() + "/profile/settings.json"));
  for (const auto& process : std::filesystem::directory_iterator("/proc")) {
    const std::string commandLine = TestSupport::ReadFile(process.path() / "cmdline");
    EXPECT_EQ(commandLine.find(token), std::string::npos) << process.path();
  }

  // The next run finds the server running and starts nothing.
  const std::string pid = TestSupport::ReadFile(State() + "/pid");
  const auto second = RunScript({"/N", "Inbox", "/I", "Second run", "/SN"});
  EXPECT_EQ(NoteIdOf(second.Stdout).size(), 32u) << second.Stdout << second.Stderr;
  EXPECT_EQ(second.Stderr, "");
  EXPECT_EQ(TestSupport::ReadFile(State() + "/pid"), pid);

  // Stopping keeps the profile and its notes; the next run starts it again.
  EXPECT_EQ(Script({"stop", State()}).ExitCode, 0);
  EXPECT_EQ(Script({"status", State()}).ExitCode, 3);
  EXPECT_TRUE(Platform::FileExists(State() + "/profile/database.sqlite"));
  const auto third = RunScript({"--list-notebooks"});
  EXPECT_EQ(third.Stdout, "Inbox\n") << third.Stderr;
  EXPECT_EQ(Script({"status", State()}).Stdout, url + "\n");

  // A pid file that outlived its server names no process to stop.
  EXPECT_EQ(Script({"stop", State()}).ExitCode, 0);
  const auto other =
      TestSupport::RunProgram("/bin/bash", {"-c", "sleep 60 >/dev/null 2>&1 & echo $!"});
  const std::string otherPid = other.Stdout.substr(0, other.Stdout.find('\n'));
  std::ofstream(State() + "/pid") << otherPid << "\n";
  EXPECT_EQ(Script({"stop", State()}).ExitCode, 0);
  EXPECT_TRUE(Platform::PathExists("/proc/" + otherPid)) << "the other process was stopped";
  ::kill(std::stoi(otherPid), SIGKILL);
}

// The server's one native module builds under a home folder that has no npm
// settings at all, as a new user's has: Node's own headers are used, and
// nothing is downloaded.
TEST_F(RunScriptTest, NativeModuleBuildsUnderAnEmptyHome) {
  const std::string modules = kSource + "/tools/joplin-server/node_modules";
  const std::string copy = modules + "/.sqlite3-build-check";
  std::filesystem::remove_all(copy);
  std::filesystem::copy(modules + "/sqlite3", copy, std::filesystem::copy_options::recursive);
  std::filesystem::remove_all(copy + "/lib/binding");
  std::filesystem::remove_all(copy + "/build-tmp-napi-v6");
  const auto build = Script({"build-sqlite", copy});
  EXPECT_EQ(build.ExitCode, 0) << build.Stdout << build.Stderr;
  EXPECT_TRUE(
      Platform::FileExists(copy + "/lib/binding/napi-v6-linux-glibc-x64/node_sqlite3.node"));
  std::filesystem::remove_all(copy);
}

}  // namespace
