// Markdown bodies with a front-matter block, run by the built program against
// the loopback server: the exact note JSON sent, with the block's fields,
// the command line winning over them, or nothing sent for a block that
// cannot be read.
#include <gtest/gtest.h>

#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

constexpr const char* kNothingSent = "nothing sent";

const std::string kTrip =
    "---\n"
    "title: Trip notes\n"
    "tags: [travel, 2026]\n"
    "created: 2026-03-01 09:30\n"
    "updated: 2026-03-02T18:00:00Z\n"
    "source: https://example.org/page\n"
    "author: A. Writer\n"
    "latitude: 48.8566\n"
    "due: 2026-04-01 08:00\n"
    "completed?: no\n"
    "layout: post\n"
    "---\n"
    "\n"
    "# Day one\n";

struct FrontMatterCase {
  const char* Name;
  std::vector<std::string> Args;
  std::string Stdin;
  int ExitCode;
  std::string Stdout;
  std::string NoteJson;  // or kNothingSent
  std::string Stderr = "";
  friend void PrintTo(const FrontMatterCase& c, std::ostream* out) { *out << c.Name; }
};

class FrontMatterFileTest : public ::testing::TestWithParam<FrontMatterCase> {
 protected:
  void SetUp() override {
    Fake.Install(Server);
    Dir.Write("trip.md", kTrip);
    Dir.Write("open.md", "---\ntitle: never closed\n\ntext\n");
    Dir.Write("bad.md", "---\ntitle: [unclosed\n---\ntext\n");
    Dir.Write("page.html", "---\ntitle: x\n---\n<p>y</p>\n");
  }
  TestSupport::ProgramResult Run(const FrontMatterCase& c) {
    TestSupport::ProgramOptions options;
    options.Stdin = c.Stdin;
    options.CloseStdin = c.Stdin.empty();
    options.Env["QUILLPOST_URL"] = Server.BaseUrl();
    options.Env["QUILLPOST_TOKEN"] = "tok";
    options.Env["TZ"] = "UTC";
    options.Env["LC_ALL"] = "C.UTF-8";
    options.WorkingDir = Dir.Path();
    return TestSupport::RunQuillpost(c.Args, options);
  }
  TestSupport::TempDir Dir;
  TestSupport::TestHttpServer Server;
  TestSupport::FakeDataApi Fake;
};

TEST_P(FrontMatterFileTest, SendsTheNoteTheBlockDescribes) {
  const FrontMatterCase& c = GetParam();
  const auto result = Run(c);
  EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Stderr;
  EXPECT_EQ(result.Stdout, c.Stdout);
  EXPECT_NE(result.Stderr.find(c.Stderr), std::string::npos) << result.Stderr;
  if (c.NoteJson == kNothingSent) {
    EXPECT_TRUE(Server.Requests().empty());
  } else {
    EXPECT_EQ(TestSupport::TheNoteJson(Server), c.NoteJson);
  }
}

const std::string kDone = "Done (Note id: N1)\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, FrontMatterFileTest,
    ::testing::Values(
        FrontMatterCase{"EveryKey",
                        {"/S", "trip.md"},
                        "",
                        0,
                        kDone,
                        R"({"title":"Trip notes","markup_language":1,)"
                        R"("user_created_time":1772357400000,"user_updated_time":1772474400000,)"
                        R"("tags":"travel, 2026","is_todo":1,"todo_due":1775030400000,)"
                        R"("source_url":"https:\/\/example.org\/page","author":"A. Writer",)"
                        R"("latitude":48.8566,"body":"# Day one\r\n"})"},
        FrontMatterCase{"SwitchesWin",
                        {"/S", "trip.md", "/I", "Mine", "/T", "Travel", "/T", "own", "/C",
                         "2020-01-02 03:04", "/E", "2020-01-02 03:05", "/Due", "2020-02-01 00:00",
                         "/Source", "https://example.com", "/Author", "Me"},
                        "",
                        0,
                        kDone,
                        R"({"title":"Mine","markup_language":1,)"
                        R"("user_created_time":1577934240000,"user_updated_time":1577934300000,)"
                        R"("tags":"travel, 2026, own","is_todo":1,"todo_due":1580515200000,)"
                        R"("source_url":"https:\/\/example.com","author":"Me",)"
                        R"("latitude":48.8566,"body":"# Day one\r\n"})"},
        FrontMatterCase{"NoFrontMatterSendsItAsWritten",
                        {"/S", "open.md", "/NoFrontMatter", "/I", "T"},
                        "",
                        0,
                        kDone,
                        R"({"title":"T","markup_language":1,)"
                        R"("body":"---\r\ntitle: never closed\r\n\r\ntext\r\n"})"},
        FrontMatterCase{"StandardInputAndFirstLineTitle",
                        {"/LT"},
                        "---\ntags: a,b\n---\nHeading\nrest\n",
                        0,
                        kDone,
                        R"({"title":"Heading","markup_language":1,"tags":"a, b",)"
                        R"("body":"rest\r\n"})"},
        FrontMatterCase{"UnclosedIsSentAsWritten",
                        {"/S", "open.md"},
                        "",
                        0,
                        kDone,
                        R"({"title":"NoName","markup_language":1,)"
                        R"("body":"---\r\ntitle: never closed\r\n\r\ntext\r\n"})",
                        "open.md: the first line opens a front matter that no \"---\" line "
                        "closes; the text is sent as written"},
        FrontMatterCase{"HtmlKeepsItsText",
                        {"/S", "page.html"},
                        "",
                        0,
                        kDone,
                        R"({"title":"NoName","markup_language":2,)"
                        R"("body":"---\r\ntitle: x\r\n---\r\n<p>y<\/p>\r\n"})"},
        FrontMatterCase{"InvalidYamlSendsNothing",
                        {"/S", "bad.md"},
                        "",
                        3,
                        "EFrontMatterError: bad.md, line 3: the front matter is no valid YAML "
                        "map (did not find expected ',' or ']' while parsing a flow sequence); "
                        "/NoFrontMatter sends the text as written\n",
                        kNothingSent}),
    [](const auto& p) { return std::string(p.param.Name); });

}  // namespace

namespace {

TestSupport::ProgramResult RunWith(const TestSupport::TestHttpServer& server,
                                   const std::vector<std::string>& args, const std::string& in) {
  TestSupport::ProgramOptions options;
  options.Stdin = in;
  options.CloseStdin = in.empty();
  options.Env["QUILLPOST_URL"] = server.BaseUrl();
  options.Env["QUILLPOST_TOKEN"] = "tok";
  options.Env["TZ"] = "UTC";
  options.Env["LC_ALL"] = "C.UTF-8";
  return TestSupport::RunQuillpost(args, options);
}

// 250 tags: a note takes the first 200 and a warning names the rest, unless
// /AllowMany. A date before 1970, which Joplin refuses (and then holds the
// note's id locked): left out with a warning from a block, an error before
// anything is sent from the command line.
TEST(FrontMatterBoundsTest, ManyTagsAndDatesBefore1970) {
  std::string block = "---\ntags: [";
  std::string first200;
  for (int i = 1; i <= 250; ++i) {
    block += (i > 1 ? ", t" : "t") + std::to_string(i);
    if (i <= 200)
      first200 += (i > 1 ? ", t" : "t") + std::to_string(i);
  }
  block += "]\ncreated: 1900-01-01\n---\ntext\n";
  {
    TestSupport::TestHttpServer server;
    TestSupport::FakeDataApi fake;
    fake.Install(server);
    const auto result = RunWith(server, {"/I", "t"}, block);
    EXPECT_EQ(result.ExitCode, 0) << result.Stderr;
    const std::string json = TestSupport::TheNoteJson(server);
    EXPECT_NE(json.find("\"tags\":\"" + first200 + "\""), std::string::npos) << json;
    EXPECT_EQ(json.find("user_created_time"), std::string::npos) << json;
    EXPECT_NE(result.Stderr.find("the note has 250 tags; only the first 200 are sent (/AllowMany "
                                 "sends them all), without \"t201\", \"t202\","),
              std::string::npos)
        << result.Stderr;
    EXPECT_NE(result.Stderr.find("\"created\" \"1900-01-01\" is before 1970"), std::string::npos)
        << result.Stderr;
  }
  {
    TestSupport::TestHttpServer server;
    TestSupport::FakeDataApi fake;
    fake.Install(server);
    const auto result = RunWith(server, {"/I", "t", "/AllowMany"}, block);
    EXPECT_EQ(result.ExitCode, 0) << result.Stderr;
    EXPECT_NE(TestSupport::TheNoteJson(server).find(", t250\""), std::string::npos);
  }
  for (const char* date : {"/C", "/E", "/Due"}) {
    TestSupport::TestHttpServer server;
    const auto result = RunWith(server, {date, "1969-12-31 23:00", "/SN"}, "");
    EXPECT_EQ(result.ExitCode, 3) << date;
    EXPECT_EQ(result.Stdout, std::string("ECommandLineError: ") + date +
                                 " \"1969-12-31 23:00\" is before 1970, which Joplin cannot "
                                 "store\n");
    EXPECT_TRUE(server.Requests().empty()) << date;
  }
}

}  // namespace
