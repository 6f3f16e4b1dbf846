// The Windows build, quillpost.exe, run under Wine against the loopback test
// server: Windows paths, code pages, a UTF-16LE settings file, the program's
// own command-line splitting and files that another program holds open. The
// requests must be the bytes the Linux build sends.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/EverySwitchRun.hpp"
#include "support/FakeDataApi.hpp"
#include "support/SilentListener.hpp"
#include "support/TempDir.hpp"
#include "support/Wine.hpp"

namespace {

class WineEndToEndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestSupport::KeepWineServerRunning(); }

  void SetUp() override {
    if (const std::string why = TestSupport::WhyWineCannotRun(); !why.empty()) {
      if (TestSupport::WineRequired())
        FAIL() << why;
      GTEST_SKIP() << why;
    }
    Fake.Folders = {{"F1", "Inbox"}, {"F2", "Projects"}};
    Fake.Install(Server);
    Settings =
        "/IniFile=" + TestSupport::WindowsPath(Dir.Write(
                          "q.ini", "[Host]\r\nURL=" + Server.BaseUrl() + "\r\nToken=tok\r\n"));
  }
  TestSupport::ProgramResult Run(const std::vector<std::string>& args,
                                 const std::string& workingDir = "") {
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["TZ"] = "UTC";
    options.WorkingDir = workingDir.empty() ? Dir.Path() : workingDir;
    return TestSupport::RunWindowsQuillpost(args, options);
  }
  std::string NoteJson() const { return TestSupport::TheNoteJson(Server); }

  TestSupport::TempDir Dir;
  TestSupport::TestHttpServer Server;
  TestSupport::FakeDataApi Fake;
  std::string Settings;
};

TEST_F(WineEndToEndTest, EverySwitchWithWindowsPaths) {
  const std::string body = Dir.Write("my notes/body.md", "# Weekly\nline two\r\n");
  const std::string chart =
      Dir.Write("my notes/chart.png", std::string("\x89PNG\r\n\x1a\n\0\x01", 10));
  Dir.Write("my notes/data.csv", "a,b\n1,2\n");
  const timespec times[2] = {{1704463449, 0}, {1704463449, 0}};  // 2024-01-05 14:04:09 UTC
  ASSERT_EQ(::utimensat(AT_FDCWD, chart.c_str(), times, 0), 0);
  // The body by its full Windows path (with a blank), the attachments
  // relative to the body's directory, the dates of the first attachment as
  // named, relative to the working directory.
  const auto result =
      Run(TestSupport::EverySwitchArguments({Settings, "/S", TestSupport::WindowsPath(body)}),
          Dir / "my notes");
  EXPECT_EQ(result.Stdout, "Done (Note id: N3)\r\n") << result.Stderr;
  EXPECT_EQ(result.ExitCode, 0);
  TestSupport::ExpectEverySwitchRequests(Server);
  const auto uploads = TestSupport::RequestsTo(Server, "POST", "/resources");
  ASSERT_FALSE(uploads.empty());
  EXPECT_EQ(uploads[0].Target.find("token=tok"), uploads[0].Target.size() - 9);
}

// The same run with every path written with "/", as Git Bash and scripts
// write them: the same bytes on the wire as the backslash form.
TEST_F(WineEndToEndTest, EverySwitchWithSlashPaths) {
  const auto slashes = [](std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  };
  const std::string body = Dir.Write("my notes/body.md", "# Weekly\nline two\r\n");
  const std::string chart =
      Dir.Write("my notes/chart.png", std::string("\x89PNG\r\n\x1a\n\0\x01", 10));
  const std::string data = Dir.Write("my notes/data.csv", "a,b\n1,2\n");
  const timespec times[2] = {{1704463449, 0}, {1704463449, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, chart.c_str(), times, 0), 0);
  std::vector<std::string> args = TestSupport::EverySwitchArguments(
      {slashes(Settings), "/S", slashes(TestSupport::WindowsPath(body))});
  for (auto& arg : args) {
    if (arg == "chart.png")
      arg = slashes(TestSupport::WindowsPath(chart));
    if (arg == "data.csv")
      arg = slashes(TestSupport::WindowsPath(data));
  }
  const auto result = Run(args);
  EXPECT_EQ(result.Stdout, "Done (Note id: N3)\r\n") << result.Stderr;
  TestSupport::ExpectEverySwitchRequests(Server);
}

// On Windows a Markdown link may name a drive: "C:\x" and "C:/x" are paths,
// not URL schemes, and the folder rule holds for them.
TEST_F(WineEndToEndTest, MarkdownLinksWithADriveLetter) {
  Dir.Write("notes/pic.png", "PIC");
  Dir.Write("notes/img/two.png", "TWO");
  Dir.Write("outside.png", "OUT");
  const std::string back = TestSupport::WindowsPath(Dir / "notes/pic.png");
  std::string forward = TestSupport::WindowsPath(Dir / "notes/img/two.png");
  std::replace(forward.begin(), forward.end(), '\\', '/');
  const std::string outside = TestSupport::WindowsPath(Dir / "outside.png");
  Dir.Write("notes/page.md", "![a](" + back + ")\n![b](" + forward + ")\n![c](" + outside + ")\n");
  const auto result = Run({Settings, "/S", "notes\\page.md", "/I", "t"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N3)\r\n") << result.Stderr;
  const auto uploads = TestSupport::RequestsTo(Server, "POST", "/resources");
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(TestSupport::FileBytesOf(uploads[0]), "PIC");
  EXPECT_EQ(TestSupport::FileBytesOf(uploads[1]), "TWO");
  EXPECT_NE(result.Stderr.find(outside + "\", which lies outside the body file's folder"),
            std::string::npos)
      << result.Stderr;
  EXPECT_NE(NoteJson().find(R"j("body":"![a](:\/R1)\r\n![b](:\/R2)\r\n![c]()j"), std::string::npos)
      << NoteJson();
}

// A server that takes the note and stalls before its answer's headers: the
// run ends at its deadline for answers, as on Linux.
TEST_F(WineEndToEndTest, StallBeforeTheHeadersMeetsTheDeadline) {
  TestSupport::Reply stalled = TestSupport::Reply::Json(R"({"id":"N9","title":"t"})");
  stalled.DelayMs = 8000;
  const auto fake = Server.Handler();
  Server.Handle([&](const TestSupport::RecordedRequest& request) {
    return request.Method == "POST" && request.Target.starts_with("/notes?") ? stalled
                                                                             : fake(request);
  });
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["QUILLPOST_TIMEOUT"] = "2";
  options.WorkingDir = Dir.Path();
  const auto result = TestSupport::RunWindowsQuillpost({Settings, "/SN"}, options);
  EXPECT_EQ(result.Stdout, "Create Note failed.\r\n");
  EXPECT_NE(result.Stderr.find("no complete answer within the 2 s"), std::string::npos)
      << result.Stderr;
}

// "/Utf8" reads a pipe as UTF-8, strictly; without it the ANSI code page.
TEST_F(WineEndToEndTest, PipedUtf8WithTheUtf8Switch) {
  TestSupport::ProgramOptions options;
  options.Stdin = "\xC3\xA9\xF0\x9F\x98\x80\n";
  options.WorkingDir = Dir.Path();
  auto result = TestSupport::RunWindowsQuillpost({Settings, "/I", "piped", "/Utf8"}, options);
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  EXPECT_NE(NoteJson().find(R"j("body":"\u00E9\uD83D\uDE00\r\n")j"), std::string::npos)
      << NoteJson();
  options.Stdin = "caf\xE9\n";
  result = TestSupport::RunWindowsQuillpost({Settings, "/I", "piped", "/Utf8"}, options);
  EXPECT_EQ(result.Stdout,
            "EInputNotUtf8: standard input is not valid UTF-8 (without /Utf8 it is read as "
            "Windows-1252)\r\n");
  EXPECT_EQ(result.ExitCode, 3);
}

// "/Append" with a to-do's due date and "--json", as on Linux.
TEST_F(WineEndToEndTest, AppendToADueNoteWithAJsonResult) {
  TestSupport::FakeDataApi store;
  store.AddJournalNotes();
  store.Install(Server);
  Dir.Write("entry.md", "day two\n");
  const auto result = Run({Settings, "/Append", "/I", "Journal", "/S", "entry.md", "/Due",
                           "2026-12-24T08:00:00", "--json"});
  EXPECT_EQ(result.ExitCode, 0) << result.Stderr;
  EXPECT_NE(result.Stdout.find(std::string(R"("id":")") + TestSupport::kJournal +
                               R"(","title":"Journal","parent_id":"F1","resources":[],)"
                               R"("action":"appended")"),
            std::string::npos)
      << result.Stdout;
  EXPECT_EQ(store.Notes[TestSupport::kJournal].Body, "day one\r\n\r\nday two\r\n");
  const auto puts =
      TestSupport::RequestsTo(Server, "PUT", std::string("/notes/") + TestSupport::kJournal);
  ASSERT_EQ(puts.size(), 1u);
  EXPECT_NE(puts[0].Body.find(R"("is_todo":1,"todo_due":1798099200000)"), std::string::npos)
      << puts[0].Body;
}

// A front-matter block read by the libyaml built into the executable: the
// same note as on Linux, and the same error for a block that is no YAML.
TEST_F(WineEndToEndTest, FrontMatterBlock) {
  Dir.Write("trip.md",
            "\xEF\xBB\xBF---\r\ntitle: Trip notes\r\ntags: [travel, 2026]\r\n"
            "created: 2026-03-01 09:30:00Z\r\nauthor: {name: A. Writer}\r\n"
            "completed?: no\r\n---\r\n\r\n# Day one\r\n");
  auto result = Run({Settings, "/S", "trip.md", "/T", "own"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  EXPECT_EQ(NoteJson(), R"({"title":"Trip notes","markup_language":1,)"
                        R"("user_created_time":1772357400000,"tags":"travel, 2026, own",)"
                        R"("is_todo":1,"author":"A. Writer","body":"# Day one\r\n"})");
  Dir.Write("bad.md", "---\ntitle: [x\n---\n");
  result = Run({Settings, "/S", "bad.md"});
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(result.Stdout.substr(0, 50), "EFrontMatterError: bad.md, line 3: the front matte");
}

TEST_F(WineEndToEndTest, Utf16SettingsFileAndATitleInThreeScripts) {
  const std::string ini = "\xFF\xFE" + [this] {
    std::string units;
    for (const char c : "[Host]\r\nURL=" + Server.BaseUrl() + "\r\nToken=wide\r\n") {
      units += c;
      units += '\0';
    }
    return units;
  }();
  const std::string path = Dir.Write("wide settings.ini", ini);
  const auto result = Run({"/IniFile=" + TestSupport::WindowsPath(path), "/N", "Inbox", "/I",
                           "Caf\xC3\xA9 \xE2\x9C\x93 \xE6\x97\xA5\xE6\x9C\xAC", "/SN"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  const auto notes = TestSupport::RequestsTo(Server, "POST", "/notes");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].Target.find("token=wide"), std::string::npos);
  EXPECT_EQ(notes[0].Body,
            R"j({"title":"Caf\u00E9 \u2713 \u65E5\u672C","markup_language":1,"parent_id":"F1",)j"
            R"j("body":""})j");
}

TEST_F(WineEndToEndTest, AnsiBodyWithDefEncAndUtf8BodyWithout) {
  // Wine's ANSI code page for an English or C locale is Windows-1252.
  const std::string ansi = Dir.Write("ansi.md", "Caf\xE9 \x80 \x93q\x94\r\n");
  auto result = Run(
      {Settings, "/N", "Inbox", "/I", "t", "/S", TestSupport::WindowsPath(ansi), "/MD", "/DefEnc"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  EXPECT_NE(NoteJson().find(R"j("body":"Caf\u00E9 \u20AC \u201Cq\u201D\r\n")j"), std::string::npos)
      << NoteJson();

  result = Run({Settings, "/N", "Inbox", "/I", "t", "/S", TestSupport::WindowsPath(ansi), "/MD"});
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_NE(result.Stdout.find("EBodyFileError: Cannot load the body file"), std::string::npos)
      << result.Stdout;
  EXPECT_NE(result.Stdout.find("(add /DefEnc to read it as Windows-1252)"), std::string::npos);
  EXPECT_TRUE(result.Stdout.ends_with("\r\n"));
}

TEST_F(WineEndToEndTest, QuotedParametersAreSplitByTheProgramsOwnRules) {
  const std::string body = Dir.Write("dir with blanks/page one.md", "text\n");
  // Wine quotes each argument that holds a blank on the command line it
  // builds; the program reads them back whole.
  const auto result = Run(
      {Settings, "/N", "Inbox", "/I", "two  blanks", "/S", TestSupport::WindowsPath(body), "/MD"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  EXPECT_NE(NoteJson().find(R"j("title":"two  blanks")j"), std::string::npos) << NoteJson();
}

TEST_F(WineEndToEndTest, AttachmentThatAnotherProgramIsStillWriting) {
  const std::string scan = Dir.Write("scan.pdf", "%PDF-1.7 still being written");
  const TestSupport::HeldOpenFile writer(scan, "shared");
  ASSERT_TRUE(writer.Held());
  const auto result = Run({Settings, "/N", "Inbox", "/I", "t", "/A", "scan.pdf"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N2)\r\n") << result.Stderr;
  const auto uploads = TestSupport::RequestsTo(Server, "POST", "/resources");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(TestSupport::FileBytesOf(uploads[0]), "%PDF-1.7 still being written");
}

TEST_F(WineEndToEndTest, AttachmentLockedByAnotherProgram) {
  const std::string locked = Dir.Write("locked.pdf", "%PDF");
  const TestSupport::HeldOpenFile owner(locked, "exclusive");
  ASSERT_TRUE(owner.Held());
  const auto result = Run({Settings, "/N", "Inbox", "/I", "t", "/A", "locked.pdf"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  EXPECT_TRUE(TestSupport::RequestsTo(Server, "POST", "/resources").empty());
  EXPECT_NE(result.Stderr.find("attachment \"" + TestSupport::WindowsPath(locked) +
                               "\" was not uploaded (POST resources failed: cannot open"),
            std::string::npos)
      << result.Stderr;
}

// A 3 MB body goes out in pieces as it is made, and again whole when the
// server redirects the request that carries it.
TEST_F(WineEndToEndTest, LargeBodyIsSentAgainWholeAfterARedirect) {
  std::string text;
  while (text.size() < 3000000)
    text += "line " + std::to_string(text.size()) + " caf\xC3\xA9\n";
  const std::string body = Dir.Write("large.md", text);
  bool redirected = false;
  const auto fake = Server.Handler();
  Server.Handle([&](const TestSupport::RecordedRequest& request) {
    if (request.Method != "PUT" || !request.Target.starts_with("/notes/N1?") || redirected)
      return fake(request);
    redirected = true;
    TestSupport::Reply redirect;
    redirect.Status = 307;
    redirect.Reason = "Temporary Redirect";
    redirect.Headers = {{"Location", request.Target + "&moved=1"}};
    return redirect;
  });
  const auto result =
      Run({Settings, "/N", "Inbox", "/I", "big", "/S", TestSupport::WindowsPath(body), "/MD"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  // The body goes by the PUT that follows the note's creation.
  const auto notes = TestSupport::RequestsTo(Server, "PUT", "/notes/N1");
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_NE(notes[1].Target.find("&moved=1"), std::string::npos);
  EXPECT_EQ(notes[0].Body, notes[1].Body);
  EXPECT_GT(notes[0].Body.size(), 3000000u);
  EXPECT_NE(notes[0].Body.find("line 0 caf\\u00E9\\r\\nline 13 caf"), std::string::npos);
}

TEST_F(WineEndToEndTest, BodyFromAPipeInTheAnsiCodePage) {
  TestSupport::ProgramOptions options;
  options.Stdin = "Caf\xE9 \x80\nzwei\r\n";
  options.Env["TZ"] = "UTC";
  options.WorkingDir = Dir.Path();
  const auto result =
      TestSupport::RunWindowsQuillpost({Settings, "/N", "Inbox", "/I", "piped", "/MD"}, options);
  EXPECT_EQ(result.Stdout, "Done (Note id: N1)\r\n") << result.Stderr;
  EXPECT_NE(NoteJson().find(R"j("body":"Caf\u00E9 \u20AC\r\nzwei\r\n")j"), std::string::npos)
      << NoteJson();
}

// A refused note takes its uploads back with DELETE; an answer that never ends
// meets the run's deadline for answers.
TEST_F(WineEndToEndTest, RefusedNoteAndAnswerThatNeverEnds) {
  Dir.Write("a.txt", "x");
  const auto fake = Server.Handler();
  Server.Handle([&](const TestSupport::RecordedRequest& request) {
    if (request.Method == "POST" && request.Target.starts_with("/notes?"))
      return TestSupport::Reply::Json(R"({"error":"Internal error"})", 500);
    if (request.Method == "GET" && request.Target.starts_with("/folders?")) {
      auto drip =
          TestSupport::Reply::Json(R"({"items":[],"has_more":false})" + std::string(100, ' '));
      drip.DripMs = 100;
      return drip;
    }
    return fake(request);
  });
  auto result = Run({Settings, "/A", "a.txt", "/SN"});
  EXPECT_EQ(result.Stdout, "Create Note failed.\r\n");
  EXPECT_EQ(result.Stderr, "quillpost: POST notes: HTTP 500 Server Error: Internal error\r\n");
  EXPECT_EQ(TestSupport::RequestsTo(Server, "DELETE", "/resources/R1").size(), 1u);

  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["QUILLPOST_TIMEOUT"] = "2";
  options.WorkingDir = Dir.Path();
  result = TestSupport::RunWindowsQuillpost({Settings, "/N", "Inbox", "/SN"}, options);
  EXPECT_EQ(result.Stdout, "Create Note failed.\r\n");
  EXPECT_NE(result.Stderr.find("no complete answer within the 2 s that the run allows for answers"),
            std::string::npos)
      << result.Stderr;
}

TEST_F(WineEndToEndTest, RedirectsEndAfterFive) {
  Server.Handle([&](const TestSupport::RecordedRequest& request) {
    TestSupport::Reply redirect;
    redirect.Status = 302;
    redirect.Reason = "Found";
    redirect.Headers = {{"Location", request.Target + "&again=1"}};
    return redirect;
  });
  const auto result = Run({Settings, "/N", "Inbox", "/SN"});
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(TestSupport::RequestsTo(Server, "GET", "/folders").size(), 6u);
  EXPECT_NE(result.Stderr.find("more than 5 redirects"), std::string::npos) << result.Stderr;
  EXPECT_TRUE(TestSupport::RequestsTo(Server, "POST", "/notes").empty());
}

TEST_F(WineEndToEndTest, ServerNotListeningAndUsage) {
  const std::string ini =
      Dir.Write("down.ini", "[Host]\r\nURL=http://127.0.0.1:9\r\nToken=tok\r\n");
  auto result = Run({"/IniFile=" + TestSupport::WindowsPath(ini), "/N", "Inbox", "/I", "t"});
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_NE(result.Stdout.find("\r\n"), std::string::npos) << result.Stdout;
  EXPECT_EQ(result.Stdout.find("tok"), std::string::npos);
  EXPECT_EQ(result.Stderr.find("tok"), std::string::npos);

  result = Run({"/?"});
  EXPECT_TRUE(result.Stdout.starts_with("Quillpost\r\nVer.1.0.0.0\r\n")) << result.Stdout;

  // The help names Windows' own places and code page.
  result = Run({"--help"});
  EXPECT_NE(result.Stdout.find("%APPDATA%\\quillpost\\quillpost.ini;"), std::string::npos);
  EXPECT_NE(result.Stdout.find("%USERPROFILE%\\.config\\joplin-desktop"), std::string::npos);
  EXPECT_NE(result.Stdout.find("/DefEnc             read the body file as Windows-1252"),
            std::string::npos);
  EXPECT_EQ(result.Stdout.find("XDG"), std::string::npos) << result.Stdout;
}

// A server that takes the connection and never answers: Wine's WinHTTP waits
// for the answer inside WinHttpSendRequest, and the run still ends when its
// time for answers is spent, as on Linux.
TEST_F(WineEndToEndTest, SilentServerEndsWithTheRunsTime) {
  const TestSupport::SilentListener silent;
  const std::string ini =
      Dir.Write("silent.ini", "[Host]\r\nURL=http://127.0.0.1:" + std::to_string(silent.Port()) +
                                  "\r\nToken=tok\r\n");
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["QUILLPOST_TIMEOUT"] = "3";
  options.WorkingDir = Dir.Path();
  const auto result = TestSupport::RunWindowsQuillpost(
      {"/IniFile=" + TestSupport::WindowsPath(ini), "--list-notebooks"}, options);
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_NE(result.Stderr.find("no complete answer within the 3 s that the run allows for answers"),
            std::string::npos)
      << result.Stderr;
}

// Joplin answers DELETE with an empty chunked body: read as empty, so that a
// prune moves the note of a gone file to the trash.
TEST_F(WineEndToEndTest, PruneReadsTheEmptyChunkedAnswer) {
  TestSupport::FakeDataApi store;
  TestSupport::TestHttpServer api;
  api.Handle(
      [&store](const TestSupport::RecordedRequest& request) { return store.Answer(request); });
  const std::string ini =
      Dir.Write("import.ini", "[Host]\r\nURL=" + api.BaseUrl() + "\r\nToken=tok\r\n");
  Dir.Write("tree/a.md", "A\n");
  const std::string gone = Dir.Write("tree/b.md", "B\n");
  const std::vector<std::string> import = {"/IniFile=" + TestSupport::WindowsPath(ini), "--import",
                                           TestSupport::WindowsPath(Dir / "tree")};
  auto result = Run(import);
  ASSERT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
  std::filesystem::remove(gone);
  std::vector<std::string> prune = import;
  prune.push_back("--prune");
  result = Run(prune);
  EXPECT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
  EXPECT_NE(result.Stdout.find(", 1 pruned"), std::string::npos) << result.Stdout;
  size_t trashed = 0;
  for (const auto& [id, note] : store.Notes)
    trashed += note.Deleted != 0 ? 1 : 0;
  EXPECT_EQ(trashed, 1U);
}

}  // namespace
