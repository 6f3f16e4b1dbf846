// Whole runs of the built program with every switch, against the loopback
// test server: the uploads and the exact note JSON the server received.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/EverySwitchRun.hpp"
#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

class RunEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake.Folders = {{"F1", "Inbox"}, {"F2", "Projects"}};
    Fake.Install(Server);
    Settings =
        "/IniFile=" + Dir.Write("q.ini", "[Host]\nURL=" + Server.BaseUrl() + "\nToken=tok\n");
  }
  TestSupport::ProgramResult Run(const std::vector<std::string>& args,
                                 const std::string& locale = "C.UTF-8") {
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["TZ"] = "UTC";
    options.Env["LC_ALL"] = locale;
    options.WorkingDir = Dir.Path();
    return TestSupport::RunQuillpost(args, options);
  }
  static void SetMTime(const std::string& path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  std::string NoteJson() const { return TestSupport::TheNoteJson(Server); }

  TestSupport::TempDir Dir;
  TestSupport::TestHttpServer Server;
  TestSupport::FakeDataApi Fake;
  std::string Settings;
};

TEST_F(RunEndToEndTest, EverySwitchTogether) {
  Dir.Write("body.md", "# Weekly\nline two\n");
  const std::string chart = Dir.Write("chart.png", std::string("\x89PNG\r\n\x1a\n\0\x01", 10));
  Dir.Write("data.csv", "a,b\n1,2\n");
  SetMTime(chart, 1704463449);  // 2024-01-05 14:04:09 UTC
  const auto result = Run(TestSupport::EverySwitchArguments({Settings, "/S", "body.md"}));
  EXPECT_EQ(result.Stdout, "Done (Note id: N3)\n");
  EXPECT_EQ(result.ExitCode, 0);
  TestSupport::ExpectEverySwitchRequests(Server);
}

TEST_F(RunEndToEndTest, BodyFileInAnotherDirectoryWithARelativeAttachment) {
  Dir.Write("notes/page.html",
            "<html><title> Trip </title><img src=\"pics/a.png\"><img src=\"b.png\"></html>");
  Dir.Write("notes/pics/a.png", "A");
  Dir.Write("notes/extra.txt", "X");
  // The page's own images are uploaded and relinked, and the attachment
  // found beside the body file is linked at the page's end: nothing orphaned.
  const auto result = Run({Settings, "/S", "notes/page.html", "/A", "extra.txt"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N3)\n");
  const auto uploads = TestSupport::RequestsTo(Server, "POST", "/resources");
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(TestSupport::FileBytesOf(uploads[0]), "A");
  EXPECT_EQ(TestSupport::FileBytesOf(uploads[1]), "X");
  EXPECT_EQ(NoteJson(),
            R"j({"title":"Trip","markup_language":2,"body":"<html><title> Trip <\/title>)j"
            R"j(<img src=\":\/R1\"><img src=\"b.png\"><\/html>\r\n\r\n)j"
            R"j(<a href=\":\/R2\">extra.txt<\/a>"})j");
}

TEST_F(RunEndToEndTest, HtmlPageImagesAreUploadedAndRelinked) {
  Dir.Write("notes/page.html", "<img src=\"pics/a.png\"><img src=\"https://x/y.png\">");
  Dir.Write("notes/pics/a.png", "A");
  EXPECT_EQ(Run({Settings, "/S", Dir / "notes/page.html", "/I", "Page"}).ExitCode, 0);
  EXPECT_EQ(NoteJson(), R"j({"title":"Page","markup_language":2,"body":"<img src=\":\/R1\">)j"
                        R"j(<img src=\"https:\/\/x\/y.png\">\r\n"})j");
}

TEST_F(RunEndToEndTest, PlaceholderDatesFollowTheLocale) {
  const std::string scan = Dir.Write("scan.pdf", "x");
  SetMTime(scan, 1704463449);
  for (const char* locale : {"de_DE.UTF-8", "ja_JP.UTF-8", "en_US.UTF-8"}) {
    Server.Handle(nullptr);
    TestSupport::FakeDataApi().Install(Server);
    EXPECT_EQ(Run({Settings, "/A", "scan.pdf", "/C", "%FileMTime%", "/E", "%FileNameDate%"}, locale)
                  .ExitCode,
              0)
        << locale;
    const auto notes = TestSupport::RequestsTo(Server, "POST", "/notes");
    EXPECT_NE(notes.back().Body.find(R"j("user_created_time":1704463449000)j"), std::string::npos)
        << locale << notes.back().Body;
  }
}

// In a Latin-1 locale the file names of the command line are opened as the
// bytes given, while titles and the names the server sees are text.
TEST_F(RunEndToEndTest, FileNamesInALegacyLocaleOpenAsGiven) {
  Dir.Write("caf\xE9.md", "Body \xC3\xA9\n");  // the file's content is UTF-8
  Dir.Write("r\xE9sum\xE9.png", "PNG");
  const std::string ini =
      Dir.Write("\xE9.ini", "[Host]\nURL=" + Server.BaseUrl() + "\nToken=tok\n");
  const auto result = Run({"/IniFile=" + ini, "/S", Dir / "caf\xE9.md", "/A", "r\xE9sum\xE9.png",
                           "/I", "%FileName% \xE9t\xE9", "/T", "\xE9t\xE9"},
                          "de_DE.ISO-8859-1");
  EXPECT_EQ(result.Stdout, "Done (Note id: N2)\n");
  EXPECT_EQ(result.Stderr, "");
  const auto uploads = TestSupport::RequestsTo(Server, "POST", "/resources");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(TestSupport::FileBytesOf(uploads[0]), "PNG");
  EXPECT_NE(uploads[0].Body.find("filename=\"r\xC3\xA9sum\xC3\xA9.png\""), std::string::npos);
  EXPECT_TRUE(
      TestSupport::PropsOf(uploads[0]).starts_with("{\"title\":\"r\xC3\xA9sum\xC3\xA9.png\""));
  EXPECT_EQ(NoteJson(), R"j({"title":"r\u00E9sum\u00E9 \u00E9t\u00E9","markup_language":1,)j"
                        R"j("tags":"\u00E9t\u00E9","body":"Body \u00E9\r\n\r\n)j"
                        R"j(![r\u00E9sum\u00E9.png](:\/R1)"})j");
  // An error line names the file as text in the locale's charset.
  const auto missing = Run({"/IniFile=" + ini, "/S", Dir / "\xE9.md"}, "de_DE.ISO-8859-1");
  EXPECT_EQ(missing.Stdout, "EBodyFileError: Cannot load the body file \"" + Dir / "\xE9.md" +
                                "\": No such file or directory\n");
}

// A Markdown body file's links to local files point at uploaded resources,
// as Joplin's own import does; the rest of the text stays byte for byte.
TEST_F(RunEndToEndTest, MarkdownLinksToLocalFilesAreUploaded) {
  Dir.Write("notes/img/a.png", "PNG-A");
  Dir.Write("notes/docs/my file.pdf", "PDF-1");
  Dir.Write("notes/docs/one.pdf", "PDF-2");
  Dir.Write("notes/extra.txt", "TXT");
  const std::string body =
      "# Trip\n"
      "![chart](img/a.png \"Chart\") and again ![same](img/a.png)\n"
      "[doc](<docs/my file.pdf>) and [enc](docs/my%20file.pdf)\n"
      "`![code](img/a.png)`\n"
      "```\n![fenced](img/a.png)\n```\n"
      "[web](https://example.org/x.png) [anchor](#top) [missing](gone.png)\n"
      "[ref][r]\n\n[r]: docs/one.pdf\n";
  Dir.Write("notes/body.md", body);
  const auto result = Run({Settings, "/S", "notes/body.md", "/A", "img/a.png", "/A", "extra.txt"});
  EXPECT_EQ(result.Stdout, "Done (Note id: N5)\n");
  EXPECT_EQ(result.Stderr,
            "quillpost: warning: the body links to \"gone.png\", which names no file; left as it "
            "is\n");
  const auto uploads = TestSupport::RequestsTo(Server, "POST", "/resources");
  std::vector<std::string> sent;
  for (const auto& upload : uploads)
    sent.push_back(TestSupport::FileBytesOf(upload));
  EXPECT_EQ(sent, (std::vector<std::string>{"PNG-A", "PDF-1", "PDF-2", "TXT"}));
  EXPECT_EQ(NoteJson(),
            R"j({"title":"NoName","markup_language":1,"body":"# Trip\r\n)j"
            R"j(![chart](:\/R1 \"Chart\") and again ![same](:\/R1)\r\n)j"
            R"j([doc](<:\/R2>) and [enc](:\/R2)\r\n)j"
            R"j(`![code](img\/a.png)`\r\n```\r\n![fenced](img\/a.png)\r\n```\r\n)j"
            R"j([web](https:\/\/example.org\/x.png) [anchor](#top) [missing](gone.png)\r\n)j"
            R"j([ref][r]\r\n\r\n[r]: :\/R3\r\n\r\n[extra.txt](:\/R4)"})j");
}

TEST_F(RunEndToEndTest, BodiesSentAsWritten) {
  Dir.Write("notes/img/a.png", "PNG-A");
  Dir.Write("notes/body.md", "![a](img/a.png)\n");
  // "/NoLocal": the file's links stay; only "/A" files are uploaded.
  EXPECT_EQ(Run({Settings, "/S", "notes/body.md", "/NoLocal"}).Stdout, "Done (Note id: N1)\n");
  EXPECT_TRUE(TestSupport::RequestsTo(Server, "POST", "/resources").empty());
  EXPECT_EQ(NoteJson(),
            R"j({"title":"NoName","markup_language":1,"body":"![a](img\/a.png)\r\n"})j");
  // Standard input has no folder to look in: not scanned.
  TestSupport::ProgramOptions options;
  options.Stdin = "![a](notes/img/a.png)\n";
  options.WorkingDir = Dir.Path();
  options.Env["LC_ALL"] = "C.UTF-8";
  EXPECT_EQ(TestSupport::RunQuillpost({Settings}, options).Stdout, "Done (Note id: N2)\n");
  EXPECT_TRUE(TestSupport::RequestsTo(Server, "POST", "/resources").empty());
}

// A file's times go up as whole seconds; a file dated before 1970 goes up
// without them, since Joplin refuses such a time.
TEST_F(RunEndToEndTest, UploadTimesDropTheFractionTowardZero) {
  const struct {
    timespec Time;
    const char* Expected;  // empty: no time at all
  } cases[] = {{{1, 500000000}, R"("updated_time":1000)"},
               {{86400, 999000000}, R"("updated_time":86400000)"},
               {{-2, 500000000}, ""},
               {{-3, 0}, ""}};
  for (const auto& c : cases) {
    const std::string file = Dir.Write("old.png", "png");
    const timespec times[2] = {c.Time, c.Time};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    const auto result = Run({Settings, "/SN", "/A", "old.png"});
    ASSERT_EQ(result.ExitCode, 0);
    const std::string props =
        TestSupport::PropsOf(TestSupport::RequestsTo(Server, "POST", "/resources").back());
    if (*c.Expected != '\0') {
      EXPECT_NE(props.find(c.Expected), std::string::npos) << c.Expected << " in " << props;
    } else {
      EXPECT_EQ(props, R"({"title":"old.png"})");
      EXPECT_NE(result.Stderr.find("is dated before 1970"), std::string::npos) << result.Stderr;
    }
  }
}

}  // namespace
