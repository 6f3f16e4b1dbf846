// Command lines as people type them, typos and all, run by the built program
// against the loopback server: the exit code, the line on standard output,
// and the exact note JSON the server received, or that nothing was sent.
#include <gtest/gtest.h>

#include <ctime>

#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

constexpr const char* kNothingSent = "nothing sent";

struct CommandLineCase {
  const char* Name;
  std::vector<std::string> Args;  // a leading "DIR" stands for the test's folder
  int ExitCode;
  std::string Stdout;
  std::string NoteJson;  // or kNothingSent
  friend void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << c.Name; }
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {
 protected:
  void SetUp() override {
    Fake.Folders = {{"F1", "Inbox"}};
    Fake.Install(Server);
    Dir.Write("body.md", "text\n");
    Dir.Write("tab\tname.txt", "T");
  }
  TestSupport::ProgramResult Run(std::vector<std::string> args) {
    for (auto& arg : args) {
      if (arg.starts_with("DIR"))
        arg.replace(0, 3, Dir.Path());
    }
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["QUILLPOST_URL"] = Server.BaseUrl();
    options.Env["QUILLPOST_TOKEN"] = "tok";
    options.Env["TZ"] = "UTC";
    options.Env["LC_ALL"] = "C.UTF-8";
    options.WorkingDir = Dir.Path();
    return TestSupport::RunQuillpost(args, options);
  }
  TestSupport::TempDir Dir;
  TestSupport::TestHttpServer Server;
  TestSupport::FakeDataApi Fake;
};

TEST_P(CommandLineTest, DoesWhatItWasAskedOrSaysWhyNot) {
  const CommandLineCase& c = GetParam();
  std::string expectedStdout = c.Stdout;
  if (const size_t dir = expectedStdout.find("DIR"); dir != std::string::npos)
    expectedStdout.replace(dir, 3, Dir.Path());
  const auto result = Run(c.Args);
  EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Stderr;
  EXPECT_EQ(result.Stdout, expectedStdout);
  if (c.NoteJson == kNothingSent) {
    EXPECT_TRUE(Server.Requests().empty());
  } else {
    EXPECT_EQ(TestSupport::TheNoteJson(Server), c.NoteJson);
  }
}

const std::string kUnknown = "ECommandLineError: unknown switch ";

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTest,
    ::testing::Values(
        // Command lines that were right before: the same notes as ever.
        CommandLineCase{"NotebookTitleTag",
                        {"/N", "Inbox", "/I", "Hello", "/SN", "/T", "work"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"Hello","markup_language":1,"parent_id":"F1",)"
                        R"("tags":"work","body":""})"},
        CommandLineCase{"BodyFileAndTagList",
                        {"-s", "body.md", "-i", "T", "/TT", "a", "b"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"T","markup_language":1,"tags":"a, b","body":"text\r\n"})"},
        // A list switch given again adds to the list; a switch given again
        // without a value in between takes the word after it.
        CommandLineCase{"RepeatedTagListsAndTags",
                        {"/SN", "/TT", "a", "b", "/I", "T", "/TT", "c", "/T", "/T", "d"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"T","markup_language":1,"tags":"d, a, b, c","body":""})"},
        CommandLineCase{"AbsoluteBodyPath",
                        {"/S", "DIR/body.md", "/LT"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"text","markup_language":1,"body":""})"},
        CommandLineCase{"SettingsPathSwitch",
                        {"/IniFile=DIR/none.ini", "/SN"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"NoName","markup_language":1,"body":""})"},
        // Unknown switches: nothing sent, and the nearest known switch named.
        CommandLineCase{"LongOptionTypo",
                        {"--chek"},
                        3,
                        kUnknown + "\"--chek\"; did you mean --check?\n",
                        kNothingSent},
        CommandLineCase{"LongOptionWithSlash",
                        {"/check"},
                        3,
                        kUnknown + "\"/check\"; did you mean --check?\n",
                        kNothingSent},
        CommandLineCase{"HelpWithOneDash",
                        {"-help"},
                        3,
                        kUnknown + "\"-help\"; did you mean --help?\n",
                        kNothingSent},
        CommandLineCase{"VersionWithSlash",
                        {"/version"},
                        3,
                        kUnknown + "\"/version\"; did you mean --version?\n",
                        kNothingSent},
        CommandLineCase{"ShortVersion",
                        {"-v"},
                        3,
                        kUnknown + "\"-v\"; did you mean --version?\n",
                        kNothingSent},
        CommandLineCase{"NoSuchOption",
                        {"/SN", "--frobnicate"},
                        3,
                        kUnknown + "\"--frobnicate\"\n",
                        kNothingSent},
        CommandLineCase{"NotebookTypo",
                        {"/Nn", "Inbox", "/SN"},
                        3,
                        kUnknown + "\"/Nn\"; did you mean /N?\n",
                        kNothingSent},
        CommandLineCase{"DashSettingsPath",
                        {"-IniFile=x.ini"},
                        3,
                        kUnknown + "\"-IniFile=x.ini\"; did you mean /IniFile=?\n",
                        kNothingSent},
        // Stray words.
        CommandLineCase{"WordAfterAFlag",
                        {"/I", "t", "/SN", "Inbox"},
                        3,
                        "ECommandLineError: the word \"Inbox\" belongs to no switch "
                        "(/SN takes no value)\n",
                        kNothingSent},
        CommandLineCase{"PathWithoutSwitch",
                        {"DIR/body.md"},
                        3,
                        "ECommandLineError: the word \"DIR/body.md\" belongs to no switch\n",
                        kNothingSent},
        // Values that look like switches are values.
        CommandLineCase{"TitleWithLeadingDash",
                        {"/I", "-5 degrees outside", "/SN"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"-5 degrees outside","markup_language":1,"body":""})"},
        CommandLineCase{"TitleThatReadsLikeAPath",
                        {"/I", "/dev", "/SN"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"\/dev","markup_language":1,"body":""})"},
        CommandLineCase{"TagsThatLookLikeSwitches",
                        {"/T", "-draft", "/T", "/home", "/SN"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"NoName","markup_language":1,"tags":"-draft, \/home",)"
                        R"("body":""})"},
        CommandLineCase{"KnownSwitchIsNoValue",
                        {"/I", "/SN"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"NoName","markup_language":1,"body":""})"},
        CommandLineCase{"BodyPathOfAFolder",
                        {"/S", "DIR"},
                        3,
                        "EBodyFileError: Cannot load the body file \"DIR\": is a directory\n",
                        kNothingSent},
        // To-dos, source and author: sent only when asked for.
        CommandLineCase{"TodoWithSourceAndAuthor",
                        {"/SN", "/Todo", "/Source", "https://example.org/a", "/Author", "Me"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"NoName","markup_language":1,"is_todo":1,)"
                        R"("source_url":"https:\/\/example.org\/a","author":"Me","body":""})"},
        CommandLineCase{"DueDateMakesATodo",
                        {"/SN", "/Due", "2026-12-24T08:00:00"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"NoName","markup_language":1,"is_todo":1,)"
                        R"("todo_due":1798099200000,"body":""})"},
        CommandLineCase{"UnreadableDueDate",
                        {"/SN", "/Due", "soon"},
                        3,
                        "ECommandLineError: /Due \"soon\" is not a date-time\n",
                        kNothingSent},
        // File names hold whatever Linux allows.
        CommandLineCase{"TabInAFileName",
                        {"/A", "tab\tname.txt", "/SN", "/I", "%FileNameEx%"},
                        0,
                        "Done (Note id: N2)\n",
                        R"({"title":"tab\tname.txt","markup_language":1,)"
                        R"j("body":"\r\n[tab\tname.txt](:\/R1)"})j"},
        CommandLineCase{"UnexpandedWildcardIsAMissingFile",
                        {"/A", "*.png", "/SN"},
                        0,
                        "Done (Note id: N1)\n",
                        R"({"title":"NoName","markup_language":1,"body":""})"}),
    [](const auto& p) { return std::string(p.param.Name); });

// An unreadable date still falls back to the current time, but says so,
// naming the switch and the value.
TEST_F(CommandLineTest, UnreadableDatesWarnAndUseTheCurrentTime) {
  for (const char* value : {"2024-13-45", "garbage"}) {
    const std::int64_t before = static_cast<std::int64_t>(std::time(nullptr)) * 1000;
    const auto result = Run({"/C", value, "/SN"});
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Stdout.substr(0, 5), "Done ");
    EXPECT_EQ(result.Stderr, "quillpost: warning: /C \"" + std::string(value) +
                                 "\" is not a date-time; the current time is used\n");
    const std::string json = TestSupport::RequestsTo(Server, "POST", "/notes").back().Body;
    const size_t at = json.find("\"user_created_time\":");
    ASSERT_NE(at, std::string::npos) << json;
    const std::int64_t sent = std::stoll(json.substr(at + 20));
    EXPECT_GE(sent, before - 1000);
    EXPECT_LE(sent, before + 60000);
  }
  const auto readable = Run({"/E", "2024-01-05 10:30", "/SN"});
  EXPECT_EQ(readable.Stderr, "");
}

// "/S" reads what bash's process substitution, /dev/stdin, "-" and files in
// /proc hand over, to its end, as `cat` would.
TEST_F(CommandLineTest, BodiesFromPipesAndSpecialFiles) {
  const std::string quillpost = QUILLPOST_BINARY;
  const struct {
    const char* Name;
    std::string Shell;  // run by bash in the test's folder
    std::string Body;   // as sent
  } cases[] = {
      {"ProcessSubstitution", quillpost + " /S <(printf 'made\\nby a command\\n') /I t",
       R"(made\r\nby a command\r\n)"},
      {"DevStdin", quillpost + " /S /dev/stdin /I t < body.md", R"(text\r\n)"},
      {"DevStdinFromAPipe", "printf 'piped' | " + quillpost + " /S /dev/stdin /I t",
       R"(piped\r\n)"},
      {"Dash", "printf 'dash' | " + quillpost + " /S - /I t", R"(dash\r\n)"},
      {"ProcFileThatSaysItIsEmpty", quillpost + " /S /proc/sys/kernel/ostype /I t", R"(Linux\r\n)"},
  };
  for (const auto& c : cases) {
    TestSupport::TestHttpServer server;
    TestSupport::FakeDataApi fake;
    fake.Install(server);
    TestSupport::ProgramOptions options;
    options.Env["QUILLPOST_URL"] = server.BaseUrl();
    options.Env["QUILLPOST_TOKEN"] = "tok";
    options.Env["LC_ALL"] = "C.UTF-8";
    options.WorkingDir = Dir.Path();
    const auto result = TestSupport::RunProgram("/bin/bash", {"-c", c.Shell}, options);
    EXPECT_EQ(result.Stdout, "Done (Note id: N1)\n") << c.Name << ": " << result.Stderr;
    EXPECT_EQ(TestSupport::TheNoteJson(server),
              R"({"title":"t","markup_language":1,"body":")" + c.Body + "\"}")
        << c.Name;
  }
}

}  // namespace
