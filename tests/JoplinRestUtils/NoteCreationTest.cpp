// CreateNote and UploadResourceFile against the loopback test server.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "JoplinRestUtils/Json/JsonReading.hpp"

#include "JoplinRestUtils/Http/RequestErrors.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"
#include "Kestrel/CommonLib/Dates/DateTime.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "support/FakeDataApi.hpp"
#include "support/TempDir.hpp"
#include "support/TestEnvironment.hpp"

namespace JoplinRestUtils {
namespace {

using TestSupport::RequestsTo;

class NoteCreationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake.Folders = {{"F1", "Inbox"}, {"F2", "Work"}};
    Fake.Install(Server);
  }
  // Creates the note and returns the JSON the server received for it.
  std::string Create(const TJoplinNewNote& note) {
    std::string id = "unset";
    EXPECT_TRUE(Rest.CreateNote(note, id));
    EXPECT_EQ(id.substr(0, 1), "N");
    return TestSupport::LastNoteJson(Server);
  }
  std::string File(const std::string& name) {
    const std::string path = Dir.Write(name, "bytes of " + name);
    const timespec times[2] = {{1704463449, 0}, {1719835200, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    return path;
  }

  TestSupport::ScopedTimeZone Zone{"UTC"};
  TestSupport::TestHttpServer Server;
  TestSupport::FakeDataApi Fake;
  TJoplinRest Rest{"tok", Server.BaseUrl()};
  TestSupport::TempDir Dir;
};

TEST_F(NoteCreationTest, RecordWithInitialValues) {
  EXPECT_EQ(Create(TJoplinNewNote{}), R"({"title":"NoName","markup_language":1,"body":""})");
  EXPECT_EQ(Server.Requests().size(), 1u);
}

// A body goes by a PUT after the note is made with an empty one (Joplin's
// POST would fetch every image URL in it), with the user's times again.
TEST_F(NoteCreationTest, BodyFollowsTheEmptyNoteWithTheUsersTimes) {
  TJoplinNewNote note;
  note.Title = "t";
  note.Body = "![x](file:///etc/passwd) ![y](http://127.0.0.1:9/pixel.png)";
  note.CTime = Kestrel::CommonLib::EncodeDateTime({2024, 1, 5, 14, 4, 9, 0});
  note.MTime = Kestrel::CommonLib::EncodeDateTime({2024, 7, 1, 12, 0, 0, 0});
  std::string id;
  ASSERT_TRUE(Rest.CreateNote(note, id));
  const auto requests = Server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Body,
            R"({"title":"t","markup_language":1,"user_created_time":1704463449000,)"
            R"("user_updated_time":1719835200000,"body":""})");
  EXPECT_EQ(requests[1].Method + " " + requests[1].Target.substr(0, requests[1].Target.find('?')),
            "PUT /notes/" + id);
  EXPECT_EQ(requests[1].Body,
            R"j({"body":"![x](file:\/\/\/etc\/passwd) ![y](http:\/\/127.0.0.1:9\/pixel.png)",)j"
            R"j("user_created_time":1704463449000,"user_updated_time":1719835200000})j");
  EXPECT_EQ(Fake.Notes.at(id).Body, note.Body);
}

// The second step refused, or lost and not done: the half-made note is
// deleted for good and the uploads are taken back. Lost but done: the note
// is there, whole.
TEST_F(NoteCreationTest, ASecondStepThatFailsLeavesNothing) {
  struct Case {
    const char* Name;
    TestSupport::Reply::Close Close;
    int Status;
    bool WrittenAnyway;
    bool Done;
  };
  for (const Case& c :
       {Case{"Refused", TestSupport::Reply::Close::No, 500, false, false},
        Case{"LostNotWritten", TestSupport::Reply::Close::BeforeAnswer, 0, false, false},
        Case{"LostButWritten", TestSupport::Reply::Close::BeforeAnswer, 0, true, true}}) {
    TestSupport::TestHttpServer server;
    TestSupport::FakeDataApi fake;
    fake.Install(server);
    server.Handle([&fake, &c](const TestSupport::RecordedRequest& request) {
      if (request.Method != "PUT")
        return fake.Answer(request);
      if (c.WrittenAnyway)
        fake.Answer(request);
      TestSupport::Reply reply = TestSupport::Reply::Json(R"({"error":"no"})", c.Status);
      reply.CloseMode = c.Close;
      return reply;
    });
    TJoplinRest rest{"tok", server.BaseUrl()};
    TJoplinNewNote note;
    note.Body = "text";
    note.Files.Add(File("a.png"));
    std::string id = "unset";
    rest.CreateNote(note, id);
    EXPECT_EQ(rest.NoteOutcome().Done, c.Done) << c.Name << rest.NoteOutcome().Failure;
    EXPECT_EQ(id != "unset", c.Done) << c.Name;
    EXPECT_EQ(fake.Notes.size(), c.Done ? 1u : 0u) << c.Name;
    EXPECT_EQ(fake.Resources.size(), c.Done ? 1u : 0u) << c.Name;
    if (!c.Done) {
      EXPECT_EQ(RequestsTo(server, "DELETE", "/notes/N2").size(), 1u) << c.Name;
      EXPECT_NE(RequestsTo(server, "DELETE", "/notes/N2")[0].Target.find("permanent=1"),
                std::string::npos);
      EXPECT_NE(rest.NoteOutcome().Failure.find("the note was not created"), std::string::npos)
          << c.Name << ": " << rest.NoteOutcome().Failure;
    }
  }
}

TEST_F(NoteCreationTest, TitlesAndTags) {
  TJoplinNewNote note;
  note.Title = "   ";
  note.Tags.Add("work");
  note.Tags.Add("  ");
  note.Tags.Add("");
  note.Tags.Add("home");
  EXPECT_EQ(Create(note),
            R"({"title":"NoName","markup_language":1,"tags":"work, home","body":""})");
  note.Title = " Plan ";
  note.Tags.Clear();
  note.Tags.Add(" x ");
  EXPECT_EQ(Create(note), R"({"title":" Plan ","markup_language":1,"tags":" x ","body":""})");
  note.Tags.Clear();
  note.Tags.Add(" ");
  EXPECT_EQ(Create(note), R"({"title":" Plan ","markup_language":1,"body":""})");
}

TEST_F(NoteCreationTest, DatesAsUnixMilliseconds) {
  TJoplinNewNote note;
  note.CTime = Kestrel::CommonLib::EncodeDateTime({2024, 1, 15, 10, 30, 45, 900});
  note.MTime = Kestrel::CommonLib::EncodeDateTime({1969, 12, 31, 23, 59, 58, 500});
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,)"
                          R"("user_created_time":1705314645000,"user_updated_time":-1000,)"
                          R"("body":""})");
  note.CTime = -1;
  note.MTime = 0;
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,"body":""})");
}

TEST_F(NoteCreationTest, Notebooks) {
  TJoplinNewNote note;
  note.NotebookName = "work";
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,"parent_id":"F2","body":""})");
  // A blank name that matches nothing files the note in the default notebook.
  note.NotebookName = "  ";
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,"body":""})");
  EXPECT_EQ(RequestsTo(Server, "GET", "/folders").size(), 1u);  // the directory is kept
}

// "/N" as a title, an id or a path, against one tree of notebooks.
struct NotebookCase {
  const char* Name;
  std::string Notebook;
  std::string ParentId;  // empty: not found
  friend void PrintTo(const NotebookCase& c, std::ostream* out) { *out << c.Name; }
};

class NotebookResolutionTest : public NoteCreationTest,
                               public ::testing::WithParamInterface<NotebookCase> {
 protected:
  void SetUp() override {
    Fake.Folders = {{"F1", "Inbox"},
                    {"F2", "Work"},
                    {"F3", "Projects", "F2"},
                    {"F4", "2024", "F3"},
                    {"F5", "A/B"},
                    {"F6", "Projects"},
                    {"0123456789abcdef0123456789abcdef", "Archive"},
                    {"F8", "Notes", "F1"}};
    Fake.Install(Server);
  }
};

TEST_P(NotebookResolutionTest, FindsTheNotebookOrCreatesNothing) {
  const NotebookCase& c = GetParam();
  TJoplinNewNote note;
  note.NotebookName = c.Notebook;
  note.Files.Add(File("a.txt"));
  if (!c.ParentId.empty()) {
    EXPECT_NE(Create(note).find(R"("parent_id":")" + c.ParentId + "\""), std::string::npos);
    return;
  }
  std::string id = "unset";
  try {
    Rest.CreateNote(note, id);
    ADD_FAILURE() << "no error";
  } catch (const ENotebookNotFound& error) {
    EXPECT_EQ(std::string(error.what()),
              "Notebook \"" + c.Notebook + "\" not found (add /NC to create it)");
  }
  EXPECT_EQ(id, "unset");
  EXPECT_EQ(Server.Requests().size(), 1u);  // the look-up alone: no upload, no note
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotebookResolutionTest,
    ::testing::Values(NotebookCase{"TitleIgnoringAsciiCase", "inbox", "F1"},
                      NotebookCase{"ChildTitleAlone", "Notes", "F8"},
                      NotebookCase{"AmbiguousTitleLastWins", "Projects", "F6"},
                      NotebookCase{"NotebookId", "0123456789abcdef0123456789abcdef",
                                   "0123456789abcdef0123456789abcdef"},
                      NotebookCase{"TwoLevelPath", "Work/Projects", "F3"},
                      NotebookCase{"ThreeLevelPathIgnoringCase", "work/PROJECTS/2024", "F4"},
                      NotebookCase{"LeadingAndTrailingSlash", "/Work/Projects/", "F3"},
                      NotebookCase{"TitleWithSlashBeatsPath", "A/B", "F5"},
                      NotebookCase{"Typo", "Inboxx", ""},
                      NotebookCase{"UnknownId", "ffffffffffffffffffffffffffffffff", ""},
                      NotebookCase{"PathUnderTheWrongParent", "Inbox/Projects", ""},
                      NotebookCase{"ChildIsNotAtTheTop", "Projects/2024", ""},
                      NotebookCase{"PathMissingItsLastStep", "Work/Projects/2025", ""},
                      NotebookCase{"SlashesOnly", "//", ""},
                      NotebookCase{"UntrimmedTitle", " Inbox", ""}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST_F(NoteCreationTest, MissingNotebooksOfThePathAreCreatedOnRequest) {
  Fake.Folders = {{"F1", "Work"}, {"F2", "Projects", "F1"}};
  Server.Handle(nullptr);
  Fake.Install(Server);
  TJoplinNewNote note;
  note.NotebookName = "Work/Projects/2025/Q1";
  note.CreateNotebooks = true;
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,"parent_id":"C2","body":""})");
  const auto created = RequestsTo(Server, "POST", "/folders");
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[0].Body, R"({"title":"2025","parent_id":"F2"})");
  EXPECT_EQ(created[1].Body, R"({"title":"Q1","parent_id":"C1"})");
  // Once they exist, the same path is found and nothing more is created.
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,"parent_id":"C2","body":""})");
  note.NotebookName = "Fresh";
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,"parent_id":"C5","body":""})");
  EXPECT_EQ(RequestsTo(Server, "POST", "/folders").back().Body, R"({"title":"Fresh"})");
}

TEST_F(NoteCreationTest, NotebookLookUpThatFailsStopsBeforeAnyUpload) {
  TestSupport::TestHttpServer refusing;
  refusing.Handle(
      [](const auto&) { return TestSupport::Reply::Json(R"({"error":"Invalid token"})", 403); });
  TJoplinRest rest("bad", refusing.BaseUrl());
  TJoplinNewNote note;
  note.NotebookName = "Inbox";
  note.Files.Add(File("a.txt"));
  std::string id;
  try {
    rest.CreateNote(note, id);
    ADD_FAILURE() << "no error";
  } catch (const ERequestRefused& error) {
    EXPECT_STREQ(error.what(), "The server refused GET folders (HTTP 403 Client Error)");
  }
  EXPECT_EQ(rest.LastFailure(), "GET folders: HTTP 403 Client Error: Invalid token");
  EXPECT_EQ(refusing.Requests().size(), 1u);

  // An answer that is no list (here nested too deep) is not taken for an empty one.
  TestSupport::TestHttpServer odd;
  odd.Queue(TestSupport::Reply::Json(std::string(200, '[') + std::string(200, ']')));
  TJoplinRest confused("tok", odd.BaseUrl());
  try {
    confused.CreateNote(note, id);
    ADD_FAILURE() << "no error";
  } catch (const EJsonError& error) {
    EXPECT_STREQ(error.what(), "GET folders: the answer is not JSON");
  }
  EXPECT_EQ(odd.Requests().size(), 1u);

  TJoplinRest nobody("tok", "http://127.0.0.1:1");
  EXPECT_FALSE(nobody.CreateNote(note, id));
  EXPECT_TRUE(nobody.LastFailure().starts_with("GET folders failed: "));
  EXPECT_TRUE(nobody.LastFailure().ends_with("(http://127.0.0.1:1/folders)"));
}

TEST_F(NoteCreationTest, MarkdownLinksAreAppendedInUploadOrder) {
  TJoplinNewNote note;
  note.Body = "Hello";
  note.Files.Add(File("a.PNG"));
  note.Files.Add(Dir / "missing.png");
  note.Files.Add(File("b.txt"));
  note.Files.Add(Dir / "a.PNG");
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":1,"body":"Hello\r\n)"
                          R"j(![a.PNG](:\/R1)\r\n[b.txt](:\/R2)\r\n![a.PNG](:\/R3)"})j");
  const auto uploads = RequestsTo(Server, "POST", "/resources");
  ASSERT_EQ(uploads.size(), 3u);
  EXPECT_EQ(TestSupport::FileBytesOf(uploads[1]), "bytes of b.txt");
  EXPECT_EQ(TestSupport::PropsOf(uploads[0]),
            R"({"title":"a.PNG","created_time":)" +
                std::to_string(JoplinRestUtils::TJsonValue::parse(TestSupport::PropsOf(uploads[0]))
                                   .at("created_time")
                                   .get<std::int64_t>()) +
                R"(,"updated_time":1719835200000})");
}

TEST_F(NoteCreationTest, EmptyMarkdownBodyGetsTheLinkAfterABreak) {
  TJoplinNewNote note;
  note.Files.Add(File("a.png"));
  EXPECT_EQ(Create(note),
            R"j({"title":"NoName","markup_language":1,"body":"\r\n![a.png](:\/R1)"})j");
}

TEST_F(NoteCreationTest, HtmlReferencesAreRelinked) {
  Dir.MakeDir("pics");
  TJoplinNewNote note;
  note.MarkupLanguage = kMarkupHtml;
  note.BaseDir = Dir.Path();
  note.Files.Add(File("pics/a.png"));
  note.Files.Add(File("b.png"));
  note.Files.Add(File("unused.png"));
  note.Files.Add(File("c.png"));
  note.BodyImages = note.Files;  // as the body step collects them
  note.Body =
      "<img src = \"pics/a.png\"><img src=\"PICS/A.PNG\"><img SRC=\"b.png\">"
      "<img src=\"http://x/b.png\"><img data-src=\"b.png\"><img src=\"b.png?v=2\">"
      "<img src=\"" +
      Dir / "b.png" + "\"><img SRC=\"c.png\">";
  const std::string expected =
      // Every occurrence is replaced ignoring case, so SRC= goes along with data-src=.
      "<img src=\\\":\\/R1\\\"><img src=\\\":\\/R1\\\"><img src=\\\":\\/R2\\\">"
      "<img src=\\\"http:\\/\\/x\\/b.png\\\"><img data-src=\\\":\\/R2\\\">"
      "<img src=\\\"b.png?v=2\\\"><img src=\\\":\\/R2\\\"><img SRC=\\\"c.png\\\">";
  EXPECT_EQ(Create(note), R"({"title":"NoName","markup_language":2,"body":")" + expected + "\"}");
  EXPECT_EQ(RequestsTo(Server, "POST", "/resources").size(), 4u);
}

TEST_F(NoteCreationTest, NoteAnswerWithoutIdLeavesTheIdAlone) {
  TestSupport::TestHttpServer refusing;
  refusing.Queue(TestSupport::Reply::Json(R"({"error":"Invalid token"})", 403));
  TJoplinRest rest("bad", refusing.BaseUrl());
  std::string id = "unset";
  EXPECT_TRUE(rest.CreateNote(TJoplinNewNote{}, id));
  EXPECT_EQ(id, "unset");
  EXPECT_EQ(rest.LastFailure(), "POST notes: HTTP 403 Client Error: Invalid token");
  refusing.Queue(TestSupport::Reply::Json(R"({"id":"N8","title":"x"})", 404));
  EXPECT_TRUE(rest.CreateNote(TJoplinNewNote{}, id));
  EXPECT_EQ(id, "unset");  // an error answer creates no note, whatever it holds
  refusing.Queue(TestSupport::Reply::Json(R"({"id":"N9"})", 200));
  EXPECT_TRUE(rest.CreateNote(TJoplinNewNote{}, id));
  EXPECT_EQ(id, "N9");  // the id is read before the missing title fails
  refusing.Queue(TestSupport::Reply::Json(R"({"error":"x"})", 500));
  id = "unset";
  EXPECT_FALSE(rest.CreateNote(TJoplinNewNote{}, id));
  EXPECT_EQ(id, "unset");
}

// The name a file goes by on the server: decoded from the locale's charset
// (here UTF-8), the same in the multipart header, the "title" and the link;
// in the header, quotes, line breaks and a final backslash are encoded.
struct FileNameCase {
  const char* Name;
  std::string File;
  std::string Header;      // filename="..."
  std::string Link;        // the link in the note's JSON, all escaped
  std::string PropsTitle;  // "title" in the props, non-ASCII as it is
  friend void PrintTo(const FileNameCase& c, std::ostream* out) { *out << c.Name; }
};

class UploadedFileNameTest : public NoteCreationTest,
                             public ::testing::WithParamInterface<FileNameCase> {};

TEST_P(UploadedFileNameTest, IsTheSameValidTextEverywhere) {
  const FileNameCase& c = GetParam();
  TJoplinNewNote note;
  note.Files.Add(Dir.Write(c.File, "x"));
  EXPECT_EQ(Create(note), R"j({"title":"NoName","markup_language":1,"body":"\r\n[)j" + c.Link +
                              R"j(](:\/R1)"})j");
  const auto upload = RequestsTo(Server, "POST", "/resources").at(0);
  EXPECT_NE(upload.Body.find("; filename=\"" + c.Header + "\"\r\nContent-Type: "),
            std::string::npos)
      << upload.Body;
  EXPECT_TRUE(TestSupport::PropsOf(upload).starts_with(R"({"title":")" + c.PropsTitle + "\","))
      << TestSupport::PropsOf(upload);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UploadedFileNameTest,
    ::testing::Values(
        FileNameCase{"Plain", "notes.txt", "notes.txt", "notes.txt", "notes.txt"},
        FileNameCase{"NotUtf8", "bad\xFF.txt", "bad\xEF\xBF\xBD.txt", "bad\\uFFFD.txt",
                     "bad\xEF\xBF\xBD.txt"},
        FileNameCase{"Quote", "a\"b.txt", "a%22b.txt", "a\\\"b.txt", "a\\\"b.txt"},
        FileNameCase{"LineBreaks", "a\r\nContent-Type: x.txt", "a%0D%0AContent-Type: x.txt",
                     "a\\r\\nContent-Type: x.txt", "a\\r\\nContent-Type: x.txt"},
        FileNameCase{"FinalBackslash", "dir\\", "dir%5C", "dir\\\\", "dir\\\\"},
        FileNameCase{"InnerBackslash", "a\\b.txt", "a\\b.txt", "a\\\\b.txt", "a\\\\b.txt"}),
    [](const auto& p) { return std::string(p.param.Name); });

// 02:30 CEST on 2023-10-29, the first pass of the hour that Berlin repeats.
TEST_F(NoteCreationTest, UploadTimesAreTheFilesTrueTimes) {
  TestSupport::ScopedTimeZone berlin("Europe/Berlin");
  const std::string path = Dir.Write("late.txt", "x");
  const timespec times[2] = {{1698539400, 0}, {1698539400, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  std::string id;
  ASSERT_TRUE(Rest.UploadResourceFile(path, id));
  EXPECT_TRUE(TestSupport::PropsOf(RequestsTo(Server, "POST", "/resources").at(0))
                  .ends_with(R"(,"updated_time":1698539400000})"));
}

TEST_F(NoteCreationTest, UploadResourceFile) {
  std::string id = "unset";
  EXPECT_FALSE(Rest.UploadResourceFile(Dir / "missing.png", id));
  EXPECT_TRUE(Server.Requests().empty());
  EXPECT_TRUE(Rest.UploadResourceFile(File("doc.pdf"), id));
  EXPECT_EQ(id, "R1");
  const auto upload = RequestsTo(Server, "POST", "/resources").at(0);
  EXPECT_NE(upload.Body.find("filename=\"doc.pdf\"\r\nContent-Type: application/pdf\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace JoplinRestUtils
