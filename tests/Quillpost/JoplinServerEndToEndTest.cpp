// The built program against the real Joplin Data API (the headless terminal
// edition, started by tools/joplin-server once for the whole suite). Every
// check reads back through the Data API what the run created, or that a run
// that failed created nothing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "JoplinRestUtils/Json/Json.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Http/HttpClient.hpp"
#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"
#include "support/Wine.hpp"

namespace {

using JoplinRestUtils::TJsonValue;

const std::string kScript =
    std::string(QUILLPOST_SOURCE_DIR) + "/tools/joplin-server/joplin-server.sh";

class JoplinServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!Platform::FileExists(std::string(QUILLPOST_SOURCE_DIR) +
                              "/tools/joplin-server/node_modules/.bin/joplin") &&
        Platform::GetEnv("QUILLPOST_REQUIRE_JOPLIN") != "1")
      return;  // not installed here: the tests skip themselves
    Server = std::make_unique<Started>();
    const auto result = TestSupport::RunProgram("/bin/bash", {kScript, "start"});
    std::istringstream lines(result.Stdout);
    std::getline(lines, Server->Url);
    std::getline(lines, Server->Token);
    std::getline(lines, Server->State);
    Server->Ok = result.ExitCode == 0 && !Server->Token.empty();
    if (!Server->Ok)
      Server->Error = result.Stderr;
  }

  static void TearDownTestSuite() {
    if (Server && !Server->State.empty())
      TestSupport::RunProgram("/bin/bash", {kScript, "stop", Server->State});
    Server.reset();
  }

  void SetUp() override {
    if (!Server)
      GTEST_SKIP() << "the Joplin server is not installed (tools/joplin-server)";
    ASSERT_TRUE(Server->Ok) << Server->Error;
  }

  std::string Settings(const std::string& token) {
    return "/IniFile=" +
           Dir.Write("q.ini", "[Host]\nURL=" + Server->Url + "\nToken=" + token + "\n");
  }

  TestSupport::ProgramResult Run(std::vector<std::string> args, const std::string& token = "") {
    args.insert(args.begin(), Settings(token.empty() ? Server->Token : token));
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["TZ"] = "UTC";
    options.Env["LC_ALL"] = "C.UTF-8";
    options.WorkingDir = Dir.Path();
    return TestSupport::RunQuillpost(args, options);
  }

  // The raw answer of a Data API call; `path` may hold a query.
  std::string Call(const std::string& method, const std::string& path,
                   const std::string& body = "") {
    Platform::HttpRequest request;
    request.Method = method;
    request.Url = Server->Url + "/" + path + (path.find('?') == std::string::npos ? "?" : "&") +
                  "token=" + Server->Token;
    request.HasBody = !body.empty();
    if (request.HasBody)
      request.Body.push_back(Platform::HttpBodyPart::OfText(body));
    Platform::HttpResponse response;
    std::string error;
    EXPECT_TRUE(Client.Send(request, response, error)) << error;
    return response.Body;
  }

  TJsonValue Json(const std::string& method, const std::string& path,
                  const std::string& body = "") {
    return TJsonValue::parse(Call(method, path, body));
  }

  std::string FolderId(const std::string& title) {
    for (int page = 1;; ++page) {
      const TJsonValue folders = Json("GET", "folders?page=" + std::to_string(page));
      for (const auto& folder : folders.at("items")) {
        if (folder.at("title") == title)
          return folder.at("id");
      }
      if (!folders.value("has_more", false))
        return {};
    }
  }

  // The Windows executable installed as on Windows, with quillpost.ini beside
  // it; `installed` stays empty when Wine cannot run here (the test is then
  // skipped, or fails where Wine is required).
  void InstallForWine(std::string& installed) {
    if (const std::string why = TestSupport::WhyWineCannotRun(); !why.empty()) {
      if (TestSupport::WineRequired())
        FAIL() << why;
      GTEST_SKIP() << why;
    }
    TestSupport::KeepWineServerRunning();
    std::string exe;
    ASSERT_TRUE(Platform::ReadWholeFile(TestSupport::WindowsExecutable(), exe));
    Dir.Write("Quillpost/quillpost.ini",
              "[Host]\r\nURL=" + Server->Url + "\r\nToken=" + Server->Token + "\r\n");
    installed = Dir.Write("Quillpost/quillpost.exe", exe);
  }

  // The notebooks right under `parentId`: title to id.
  std::map<std::string, std::string> ChildFolders(const std::string& parentId) {
    std::map<std::string, std::string> children;
    for (int page = 1;; ++page) {
      const TJsonValue folders =
          Json("GET", "folders?fields=id,title,parent_id&page=" + std::to_string(page));
      for (const auto& folder : folders.at("items")) {
        if (folder.at("parent_id") == parentId)
          children[folder.at("title")] = folder.at("id");
      }
      if (!folders.value("has_more", false))
        return children;
    }
  }

  size_t Count(const std::string& resource) {
    size_t count = 0;
    for (int page = 1;; ++page) {
      const TJsonValue answer = Json("GET", resource + "?limit=100&page=" + std::to_string(page));
      count += answer.at("items").size();
      if (!answer.value("has_more", false))
        return count;
    }
  }

  std::string CreateFolder(const std::string& title, const std::string& parentId = "") {
    TJsonValue folder = {{"title", title}};
    if (!parentId.empty())
      folder["parent_id"] = parentId;
    return Json("POST", "folders", folder.dump()).at("id");
  }

  std::string ParentOf(const std::string& noteId) {
    return Json("GET", "notes/" + noteId + "?fields=parent_id").at("parent_id");
  }

  // Runs that must fail leave no note and no resource behind.
  struct NothingCreated {
    explicit NothingCreated(JoplinServerTest& test)
        : Test(test), Notes(test.Count("notes")), Resources(test.Count("resources")) {}
    ~NothingCreated() {
      EXPECT_EQ(Test.Count("notes"), Notes);
      EXPECT_EQ(Test.Count("resources"), Resources);
    }
    JoplinServerTest& Test;
    size_t Notes, Resources;
  };

  static std::string NoteIdOf(const TestSupport::ProgramResult& result) {
    const std::string prefix = "Done (Note id: ";
    if (!result.Stdout.starts_with(prefix))
      return {};
    return result.Stdout.substr(prefix.size(), result.Stdout.find(')') - prefix.size());
  }

  // The resource ids that a body links to ("(:/id" and "\":/id"), in order.
  static std::vector<std::string> LinkedIds(const std::string& body) {
    std::vector<std::string> ids;
    for (size_t at = body.find(":/"); at != std::string::npos; at = body.find(":/", at + 2)) {
      if (at > 0 && (body[at - 1] == '(' || body[at - 1] == '"'))
        ids.push_back(body.substr(at + 2, 32));
    }
    return ids;
  }

  struct Started {
    std::string Url, Token, State, Error;
    bool Ok = false;
  };
  static std::unique_ptr<Started> Server;
  // The test's own reads: patient, since the server may still be busy with a
  // large note that a test before sent, longer on a busy machine.
  static Platform::HttpLimits Patient() {
    Platform::HttpLimits limits;
    limits.AnswerStallSeconds = 300;
    limits.AnswerSecondsPerClient = 3600;
    return limits;
  }
  Platform::HttpClient Client{"QuillpostTests", Patient()};
  TestSupport::TempDir Dir;
};

std::unique_ptr<JoplinServerTest::Started> JoplinServerTest::Server;

TEST_F(JoplinServerTest, MarkdownNoteWithEverything) {
  Dir.Write("body.md", "# Caf\u00e9 notes\nhttps://example.org/a/b\n");
  const std::string png("\x89PNG\r\n\x1a\n\0\x01\x02\xff", 12);
  Dir.Write("chart.png", png);
  Dir.Write("data.csv", "a,b\n1,2\n");
  const auto result = Run({"/N", "Inbox", "/I", "Weekly %FileName%", "/S", "body.md", "/A",
                           "chart.png", "/A", "data.csv", "/TT", "work", "home", "/C",
                           "2024-01-05T10:00:00", "/E", "2024-02-03T04:05:06"});
  ASSERT_EQ(result.ExitCode, 0) << result.Stdout;
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout;

  const TJsonValue note = Json("GET", "notes/" + id +
                                          "?fields=title,body,markup_language,parent_id,"
                                          "user_created_time,user_updated_time");
  EXPECT_EQ(note.at("title"), "Weekly chart");
  EXPECT_EQ(note.at("markup_language"), 1);
  EXPECT_EQ(note.at("parent_id"), FolderId("Inbox"));
  EXPECT_EQ(note.at("user_created_time"), 1704448800000);
  EXPECT_EQ(note.at("user_updated_time"), 1706933106000);
  const std::string body = note.at("body");
  const std::vector<std::string> ids = LinkedIds(body);
  ASSERT_EQ(ids.size(), 2u) << body;
  EXPECT_EQ(body, "# Caf\u00e9 notes\r\nhttps://example.org/a/b\r\n\r\n![chart.png](:/" + ids[0] +
                      ")\r\n[data.csv](:/" + ids[1] + ")");
  EXPECT_EQ(Call("GET", "resources/" + ids[0] + "/file"), png);
  EXPECT_EQ(Call("GET", "resources/" + ids[1] + "/file"), "a,b\n1,2\n");
  EXPECT_EQ(Json("GET", "resources/" + ids[0]).at("title"), "chart.png");

  const TJsonValue noteTags = Json("GET", "notes/" + id + "/tags");
  std::vector<std::string> tags;
  for (const auto& tag : noteTags.at("items"))
    tags.push_back(tag.at("title"));
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ(tags, (std::vector<std::string>{"home", "work"}));
}

// A note larger than the answer cap, with an attachment: the server takes
// its time and echoes the whole note, and the run still says "Done" for the
// note that is there, with its resource.
TEST_F(JoplinServerTest, NoteLargerThanTheAnswerCap) {
  std::string text;
  std::string sent;
  for (int line = 0; text.size() < (70u << 20); ++line) {
    const std::string words = "line " + std::to_string(line) + " of a large note, in words";
    text += words + "\n";
    sent += words + "\r\n";
  }
  Dir.Write("large.md", text);
  Dir.Write("small.png", std::string("\x89PNG\r\n\x1a\n", 8));
  const auto result = Run({"/S", "large.md", "/A", "small.png", "/I", "Large"});
  ASSERT_EQ(result.Stdout.substr(0, 5), "Done ") << result.Stdout << result.Stderr;
  const std::string id = NoteIdOf(result);

  // Reading 70 MiB back makes the server think for a while, longer on a
  // busy machine: room in size and in time.
  Platform::HttpLimits roomy;
  roomy.MaxAnswerBytes = std::uint64_t{512} << 20;
  roomy.AnswerStallSeconds = 300;
  roomy.AnswerSecondsPerClient = 600;
  Platform::HttpClient reader("QuillpostTests", roomy);
  Platform::HttpRequest request;
  request.Url = Server->Url + "/notes/" + id + "?fields=body&token=" + Server->Token;
  Platform::HttpResponse response;
  std::string error;
  ASSERT_TRUE(reader.Send(request, response, error)) << error;
  const std::string body = TJsonValue::parse(response.Body).at("body");
  const std::vector<std::string> ids = LinkedIds(body.substr(sent.size()));
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(body.size(), sent.size() + std::string("\r\n![small.png](:/)").size() + 32);
  EXPECT_TRUE(body.starts_with(sent.substr(0, 1000)));
  EXPECT_EQ(Json("GET", "resources/" + ids[0]).at("title"), "small.png");
}

// A Markdown file from elsewhere: its image beside it goes up and is linked,
// its link to a system file stays as written, with a warning.
TEST_F(JoplinServerTest, MarkdownBodyUploadsOnlyWhatLiesBesideIt) {
  Dir.Write("page/pic.png", std::string("\x89PNG\r\n\x1a\n", 8));
  Dir.Write("page/note.md", "![pic](pic.png)\n[passwords](/etc/passwd)\n");
  const auto result = Run({"/S", "page/note.md", "/I", "From elsewhere"});
  ASSERT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
  EXPECT_NE(result.Stderr.find("the body links to \"/etc/passwd\", which lies outside the body "
                               "file's folder; left as it is"),
            std::string::npos)
      << result.Stderr;
  const std::string body = Json("GET", "notes/" + NoteIdOf(result) + "?fields=body").at("body");
  const std::vector<std::string> ids = LinkedIds(body);
  ASSERT_EQ(ids.size(), 1u) << body;
  EXPECT_EQ(body, "![pic](:/" + ids[0] + ")\r\n[passwords](/etc/passwd)\r\n");
  EXPECT_EQ(Json("GET", "resources/" + ids[0]).at("title"), "pic.png");
}

// No body makes the server read a file or fetch a URL, though Joplin's own
// note creation downloads every image URL it sees, file: included: a file
// outside the body's folder and a local HTTP service that must see no
// request, named by a Markdown file, an HTML page, standard input, a note
// that /Append makes, and an import. Each note keeps the links as text and
// has no resource.
TEST_F(JoplinServerTest, BodiesNeverMakeTheServerFetch) {
  TestSupport::TestHttpServer service;
  const std::string secret = Dir.Write("private/key.txt", "PRIVATE KEY");
  const std::string fileUrl = "file://" + secret;
  const std::string pixel = service.BaseUrl() + "/pixel.png";
  const std::string markdown =
      "![k](" + fileUrl + ") ![p](" + pixel + ")\n[embedded_pdf](" + fileUrl + ")\n";
  Dir.Write("notes/m.md", markdown);
  Dir.Write("notes/p.html",
            "<p>x</p><img src=\"" + fileUrl + "\"><!-- <img src='" + pixel + "'> -->");
  const std::string tree = "fetch-tree-" + std::to_string(::getpid());
  Dir.Write(tree + "/a.md", markdown);
  const std::string tag = std::to_string(::getpid());
  std::vector<std::string> notes;
  const auto made = [&](const TestSupport::ProgramResult& result) {
    EXPECT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
    notes.push_back(NoteIdOf(result));
  };
  made(Run({"/S", "notes/m.md", "/I", "md " + tag}));
  made(Run({"/S", "notes/p.html", "/I", "html " + tag}));
  TestSupport::ProgramOptions piped;
  piped.Stdin = markdown;
  piped.Env["TZ"] = "UTC";
  piped.WorkingDir = Dir.Path();
  made(TestSupport::RunQuillpost({Settings(Server->Token), "/I", "stdin " + tag}, piped));
  made(TestSupport::RunQuillpost({Settings(Server->Token), "/Append", "/I", "fetched diary " + tag},
                                 piped));
  const auto imported = Run({"--import", Dir / tree});
  ASSERT_EQ(imported.ExitCode, 0) << imported.Stdout << imported.Stderr;
  const TJsonValue importedNotes = Json("GET", "folders/" + FolderId(tree) + "/notes");
  for (const auto& item : importedNotes.at("items"))
    notes.push_back(item.at("id"));
  ASSERT_EQ(notes.size(), 5u) << imported.Stdout << imported.Stderr;
  for (const std::string& id : notes) {
    EXPECT_TRUE(Json("GET", "notes/" + id + "/resources").at("items").empty()) << id;
    const std::string body = Json("GET", "notes/" + id + "?fields=body").at("body");
    EXPECT_NE(body.find(fileUrl), std::string::npos) << body;
  }
  EXPECT_TRUE(service.Requests().empty()) << service.Requests().front().Target;
}

// A date before 1970 in a file's block is left out with a warning: Joplin
// refuses such a time and then holds the note's id locked, so that every
// later run of the import hung on it. The note is made, and the next run
// after a change updates it. From the command line, it is an error.
TEST_F(JoplinServerTest, DatesBefore1970AreLeftOut) {
  const std::string tree = "old-dates-" + std::to_string(::getpid());
  Dir.Write(tree + "/old.md", "---\ncreated: 1900-01-01\n---\nold\n");
  const auto first = Run({"--import", Dir / tree});
  EXPECT_EQ(first.ExitCode, 0) << first.Stdout << first.Stderr;
  EXPECT_NE(first.Stderr.find("\"created\" \"1900-01-01\" is before 1970"), std::string::npos)
      << first.Stderr;
  Dir.Write(tree + "/old.md", "---\ncreated: 1900-01-01\n---\nolder\n");
  const auto second = Run({"--import", Dir / tree});
  EXPECT_EQ(second.ExitCode, 0) << second.Stdout << second.Stderr;
  EXPECT_NE(second.Stdout.find("1 updated"), std::string::npos) << second.Stdout;
  const auto given = Run({"/C", "1900-01-01", "/I", tree, "/SN"});
  EXPECT_EQ(given.ExitCode, 3);
  EXPECT_TRUE(given.Stdout.starts_with("ECommandLineError: /C \"1900-01-01\" is before 1970"))
      << given.Stdout;
}

// Two trees imported into one notebook, each with its own "a.md": two
// notes, each read back with its own text; the prune of one tree's deleted
// file trashes its note alone.
TEST_F(JoplinServerTest, TwoTreesIntoOneNotebookNeverShareANote) {
  const std::string notebook = "Shared " + std::to_string(::getpid());
  Dir.Write("work/a.md", "work's A\n");
  Dir.Write("work/keep.md", "kept\n");
  Dir.Write("dl/a.md", "downloaded A\n");
  Dir.Write("dl/keep.md", "kept too\n");
  for (const char* tree : {"work", "dl"}) {
    const auto result = Run({"--import", Dir / tree, "/N", notebook, "/NC"});
    ASSERT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
    EXPECT_NE(result.Stdout.find("2 created"), std::string::npos) << result.Stdout;
  }
  const auto bodies = [&] {
    std::multiset<std::string> texts;
    const TJsonValue notes = Json("GET", "folders/" + FolderId(notebook) + "/notes?fields=id,body");
    for (const auto& note : notes.at("items"))
      texts.insert(note.at("body").get<std::string>());
    return texts;
  };
  EXPECT_EQ(bodies(),
            (std::multiset<std::string>{"work's A\n", "kept\n", "downloaded A\n", "kept too\n"}));
  std::filesystem::remove(Dir / "dl/a.md");
  const auto pruned = Run({"--import", Dir / "dl", "/N", notebook, "--prune"});
  EXPECT_EQ(pruned.ExitCode, 0) << pruned.Stdout << pruned.Stderr;
  EXPECT_NE(pruned.Stdout.find("1 pruned"), std::string::npos) << pruned.Stdout;
  EXPECT_EQ(bodies(), (std::multiset<std::string>{"work's A\n", "kept\n", "kept too\n"}));
}

// A journal: two entries appended and one prepended, each with an
// attachment, make one note with the three parts in order, every link
// resolving; then a to-do with a due date, source and author, and the
// "--json" result naming the note that is there.
TEST_F(JoplinServerTest, JournalTodoAndJsonResult) {
  const std::string title = "Journal " + std::to_string(::getpid());
  for (const char* day : {"one", "two", "zero"}) {
    Dir.Write(std::string("day-") + day + ".md", std::string("day ") + day + "\n");
    Dir.Write(std::string(day) + ".txt", day);
    const auto result =
        Run({std::string(day) == "zero" ? "/Prepend" : "/Append", "/N", "Inbox", "/I", title, "/S",
             std::string("day-") + day + ".md", "/A", std::string(day) + ".txt"});
    ASSERT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
  }
  const auto result =
      Run({"/Append", "/N", "Inbox", "/I", title, "/SN", "/Due", "2026-12-24T08:00:00", "/Source",
           "https://example.org/a", "/Author", "A. Writer", "--json"});
  ASSERT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
  const TJsonValue json = TJsonValue::parse(result.Stdout);
  const std::string id = json.at("id");
  EXPECT_EQ(json.at("action"), "appended");
  const TJsonValue note = Json("GET", "notes/" + id +
                                          "?fields=title,body,is_todo,todo_due,todo_completed,"
                                          "source_url,author");
  EXPECT_EQ(note.at("title"), title);
  const std::string body = note.at("body");
  const std::vector<std::string> ids = LinkedIds(body);
  ASSERT_EQ(ids.size(), 3u) << body;
  EXPECT_EQ(body, "day zero\r\n\r\n[zero.txt](:/" + ids[0] +
                      ")\r\n\r\nday one\r\n\r\n[one.txt](:/" + ids[1] +
                      ")\r\n\r\nday two\r\n\r\n[two.txt](:/" + ids[2] + ")");
  EXPECT_EQ(Call("GET", "resources/" + ids[0] + "/file"), "zero");
  EXPECT_EQ(Call("GET", "resources/" + ids[2] + "/file"), "two");
  EXPECT_EQ(note.at("is_todo"), 1);
  EXPECT_EQ(note.at("todo_due"), 1798099200000);
  EXPECT_EQ(note.at("todo_completed"), 0);
  EXPECT_EQ(note.at("source_url"), "https://example.org/a");
  EXPECT_EQ(note.at("author"), "A. Writer");
}

// Installed as on Windows: the executable with quillpost.ini beside it.
TEST_F(JoplinServerTest, WindowsExecutableUnderWine) {
  std::string installed;
  InstallForWine(installed);
  if (installed.empty())
    return;
  Dir.Write("notes/body.md", "# Caf\u00e9 from Windows\r\nline two\n");
  Dir.Write("notes/scan.png", std::string("\x89PNG\r\n\x1a\n\0\xff", 10));
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["TZ"] = "UTC";
  options.WorkingDir = Dir / "notes";
  const auto result = TestSupport::RunUnderWine(
      installed,
      {"/N", "Windows Inbox", "/NC", "/I", "From Wine", "/S",
       TestSupport::WindowsPath(Dir / "notes/body.md"), "/A", "scan.png", "/T", "wine"},
      options);
  ASSERT_EQ(result.ExitCode, 0) << result.Stdout << result.Stderr;
  ASSERT_TRUE(result.Stdout.ends_with(")\r\n")) << result.Stdout;
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout;

  const TJsonValue note = Json("GET", "notes/" + id + "?fields=title,body,parent_id");
  EXPECT_EQ(note.at("title"), "From Wine");
  EXPECT_EQ(note.at("parent_id"), FolderId("Windows Inbox"));
  const std::string body = note.at("body");
  const std::vector<std::string> ids = LinkedIds(body);
  ASSERT_EQ(ids.size(), 1u) << body;
  EXPECT_EQ(body, "# Caf\u00e9 from Windows\r\nline two\r\n\r\n![scan.png](:/" + ids[0] + ")");
  EXPECT_EQ(Call("GET", "resources/" + ids[0] + "/file"),
            std::string("\x89PNG\r\n\x1a\n\0\xff", 10));
  const TJsonValue tags = Json("GET", "notes/" + id + "/tags");
  ASSERT_EQ(tags.at("items").size(), 1u);
  EXPECT_EQ(tags.at("items")[0].at("title"), "wine");
}

TEST_F(JoplinServerTest, HtmlNoteWithALocalImageRelinked) {
  const std::string png("\x89PNG\r\n\x1a\nHTML", 12);
  Dir.Write("page/pics/a.png", png);
  Dir.Write("page/index.html",
            "<html><head><title> Trip report </title></head>"
            "<body><img src=\"pics/a.png\"><img src=\"https://example.org/x.png\"></body></html>");
  const auto result = Run({"/S", "page/index.html"});
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout;
  const TJsonValue note = Json("GET", "notes/" + id + "?fields=title,body,markup_language");
  EXPECT_EQ(note.at("title"), "Trip report");
  EXPECT_EQ(note.at("markup_language"), 2);
  const std::string body = note.at("body");
  const std::vector<std::string> ids = LinkedIds(body);
  ASSERT_EQ(ids.size(), 1u) << body;
  EXPECT_NE(body.find("<img src=\":/" + ids[0] + "\"><img src=\"https://example.org/x.png\">"),
            std::string::npos)
      << body;
  EXPECT_EQ(Call("GET", "resources/" + ids[0] + "/file"), png);
}

TEST_F(JoplinServerTest, NotebookBeyondTheFirstHundred) {
  for (int i = 0; i < 105; ++i)
    Json("POST", "folders", R"({"title":"Book )" + std::to_string(i) + "\"}");
  const std::string wanted = FolderId("Book 104");
  ASSERT_FALSE(wanted.empty());
  const auto result = Run({"/N", "Book 104", "/I", "Deep", "/SN"});
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout;
  EXPECT_EQ(Json("GET", "notes/" + id + "?fields=parent_id").at("parent_id"), wanted);
}

TEST_F(JoplinServerTest, NotebookByIdAndByPath) {
  const std::string work = CreateFolder("Work");
  const std::string projects = CreateFolder("Projects", work);
  const std::string year = CreateFolder("2024", projects);
  const std::string slashed = CreateFolder("Q1/Q2");
  CreateFolder("Q1");
  const struct {
    std::string Notebook, ParentId;
  } cases[] = {
      {work, work}, {"Work/Projects", projects}, {"work/projects/2024", year}, {"Q1/Q2", slashed}};
  for (const auto& c : cases) {
    const auto result = Run({"/N", c.Notebook, "/SN"});
    const std::string id = NoteIdOf(result);
    ASSERT_EQ(id.size(), 32u) << c.Notebook << ": " << result.Stdout;
    EXPECT_EQ(ParentOf(id), c.ParentId) << c.Notebook;
    EXPECT_EQ(result.Stderr, "") << c.Notebook;
  }
}

TEST_F(JoplinServerTest, AmbiguousTitleIsWarnedAbout) {
  const std::string first = CreateFolder("Twice");
  const std::string second = CreateFolder("Twice", CreateFolder("Holder"));
  const auto result = Run({"/N", "Twice", "/SN"});
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout;
  const std::string parent = ParentOf(id);
  EXPECT_TRUE(parent == first || parent == second);
  EXPECT_EQ(result.Stderr,
            "quillpost: warning: 2 notebooks are titled \"Twice\"; using the last one listed "
            "(write \"Parent/Twice\" to choose)\n");
}

TEST_F(JoplinServerTest, MissingNotebooksAreCreatedOnRequestOnly) {
  {
    NothingCreated nothing(*this);
    const size_t folders = Count("folders");
    const auto refused = Run({"/N", "Garden/Plans/2025", "/SN"});
    EXPECT_EQ(refused.Stdout,
              "ENotebookNotFound: Notebook \"Garden/Plans/2025\" not found (add /NC to create "
              "it)\n");
    EXPECT_EQ(refused.ExitCode, 3);
    EXPECT_EQ(Count("folders"), folders);
  }
  const std::string garden = CreateFolder("Garden");
  const auto result = Run({"/N", "Garden/Plans/2025", "/NC", "/I", "Seeds", "/SN"});
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout;
  const TJsonValue year = Json("GET", "folders/" + ParentOf(id));
  EXPECT_EQ(year.at("title"), "2025");
  const TJsonValue plans = Json("GET", "folders/" + year.at("parent_id").get<std::string>());
  EXPECT_EQ(plans.at("title"), "Plans");
  EXPECT_EQ(plans.at("parent_id"), garden);
  // The path now exists: a second run files into it without creating more.
  const size_t folders = Count("folders");
  EXPECT_EQ(ParentOf(NoteIdOf(Run({"/N", "Garden/Plans/2025", "/NC", "/SN"}))), ParentOf(id));
  EXPECT_EQ(Count("folders"), folders);
}

TEST_F(JoplinServerTest, FailedRunsCreateNothing) {
  Dir.Write("a.txt", "attachment");
  Dir.Write("latin1.md", "caf\xE9");
  Dir.MakeDir("folder.md");
  const struct {
    std::vector<std::string> Args;
    std::string Token, Stdout, Stderr;
  } cases[] = {
      {{"/N", "Inboxx"},
       "",
       "ENotebookNotFound: Notebook \"Inboxx\" not found (add /NC to create it)\n",
       ""},
      {{"/N", "ffffffffffffffffffffffffffffffff"},
       "",
       "ENotebookNotFound: Notebook \"ffffffffffffffffffffffffffffffff\" not found (add /NC to "
       "create it)\n",
       ""},
      {{"/S", "missing.md"},
       "",
       "EBodyFileError: Cannot load the body file \"missing.md\": No such file or directory\n",
       ""},
      {{"/S", "folder.md"},
       "",
       "EBodyFileError: Cannot load the body file \"folder.md\": is a directory\n",
       ""},
      {{"/S", "latin1.md"},
       "",
       "EBodyFileError: Cannot load the body file \"latin1.md\": is not valid UTF-8 (add "
       "/DefEnc to read it as Windows-1252)\n",
       ""},
      {{"/SN"},
       "wrong-token",
       "Create Note failed.\n",
       "<refused upload>quillpost: POST notes: HTTP 403 Forbidden: Invalid \"token\" parameter\n"},
      {{"/SN", "/N", "Inbox"},
       "wrong-token",
       "ERequestRefused: The server refused GET folders (HTTP 403 Forbidden)\n",
       "quillpost: GET folders: HTTP 403 Forbidden: Invalid \"token\" parameter\n"},
  };
  const std::string refusedUpload = "quillpost: warning: attachment \"" + Dir / "a.txt" +
                                    "\" was not uploaded (POST resources: HTTP 403 Forbidden: "
                                    "Invalid \"token\" parameter); skipped\n";
  for (const auto& c : cases) {
    NothingCreated nothing(*this);
    std::vector<std::string> args = c.Args;
    args.insert(args.end(), {"/I", "Never", "/A", "a.txt"});
    const auto result = Run(args, c.Token);
    EXPECT_EQ(result.Stdout, c.Stdout);
    std::string stderrText = c.Stderr;
    if (stderrText.starts_with("<refused upload>"))
      stderrText.replace(0, 16, refusedUpload);
    EXPECT_EQ(result.Stderr, stderrText);
    EXPECT_EQ(result.ExitCode, 3);
  }
}

TEST_F(JoplinServerTest, ServerNotListening) {
  NothingCreated nothing(*this);
  Dir.Write("a.txt", "attachment");
  const std::string url = "http://127.0.0.1:1";
  const auto result = TestSupport::RunQuillpost(
      {"/IniFile=" + Dir.Write("down.ini", "[Host]\nURL=" + url + "\nToken=" + Server->Token), "/N",
       "Inbox", "/A", Dir / "a.txt", "/SN"},
      {});
  EXPECT_EQ(result.Stdout, "Create Note failed.\n");
  EXPECT_TRUE(result.Stderr.starts_with("quillpost: GET folders failed: ")) << result.Stderr;
  EXPECT_EQ(result.Stderr.find(Server->Token), std::string::npos);
  EXPECT_EQ(result.ExitCode, 3);
}

// No settings file at all: the token and port come from the profile's
// settings.json, as Joplin itself wrote it.
TEST_F(JoplinServerTest, SettingsFromTheJoplinProfileAlone) {
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["HOME"] = Dir / "home";
  options.Env["XDG_CONFIG_HOME"] = Dir / "xdg";
  const std::string profile = "/Profile=" + Server->State + "/profile";
  const auto result =
      TestSupport::RunQuillpost({profile, "/N", "Inbox", "/I", "From the profile", "/SN"}, options);
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout << result.Stderr;
  EXPECT_EQ(ParentOf(id), FolderId("Inbox"));

  const auto check = TestSupport::RunQuillpost({profile, "--check"}, options);
  const std::string json = "the Joplin profile \"" + Server->State + "/profile/settings.json\"";
  EXPECT_EQ(check.Stdout, "URL: " + Server->Url + " (from " + json + ")\nToken: from " + json +
                              "\nPing: a Joplin Data API answers\nToken accepted: yes\n"
                              "Notebooks: " +
                              std::to_string(Count("folders")) + "\n");
  EXPECT_EQ(check.ExitCode, 0);
}

TEST_F(JoplinServerTest, CheckWithARefusedTokenAndWithTheServerDown) {
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["QUILLPOST_URL"] = Server->Url;
  options.Env["QUILLPOST_TOKEN"] = "wrong-token";
  const auto refused = TestSupport::RunQuillpost({"--check"}, options);
  EXPECT_NE(refused.Stdout.find("Ping: a Joplin Data API answers\nToken accepted: no (GET "
                                "folders: HTTP 403 Forbidden: Invalid \"token\" parameter)\n"),
            std::string::npos)
      << refused.Stdout;
  EXPECT_EQ(refused.ExitCode, 3);
  options.Env["QUILLPOST_URL"] = "http://127.0.0.1:1";
  const auto down = TestSupport::RunQuillpost({"--check"}, options);
  EXPECT_NE(down.Stdout.find("Ping: no answer (GET ping failed: "), std::string::npos)
      << down.Stdout;
  EXPECT_EQ(down.ExitCode, 3);
}

TEST_F(JoplinServerTest, HtmlImageReferencedThriceIsOneResource) {
  Dir.Write("page/pics/a.png", "\x89PNG once");
  Dir.Write("page/index.html",
            "<p><img src=\"pics/a.png\"><img src=\"pics/a.png\"></p><img src=\"pics/a.png\">");
  const size_t resources = Count("resources");
  const auto result = Run({"/S", "page/index.html", "/I", "Thrice"});
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout;
  EXPECT_EQ(Count("resources"), resources + 1);
  const std::string body = Json("GET", "notes/" + id + "?fields=body").at("body");
  const std::vector<std::string> ids = LinkedIds(body);
  ASSERT_EQ(ids.size(), 3u) << body;
  EXPECT_EQ(ids[0], ids[1]);
  EXPECT_EQ(ids[0], ids[2]);
}

// Between Quillpost and the server, a proxy that fails the note's POST: the
// uploaded resources are removed again, nothing is left behind.
TEST_F(JoplinServerTest, ResourcesOfAFailedNoteAreRemoved) {
  TestSupport::TestHttpServer proxy;
  proxy.Handle([this](const TestSupport::RecordedRequest& request) {
    if (request.Method == "POST" && request.Target.starts_with("/notes"))
      return TestSupport::Reply::Json(R"({"error":"Proxy refuses notes"})", 500);
    Platform::HttpRequest forward;
    forward.Method = request.Method;
    forward.Url = Server->Url + request.Target;
    forward.HasBody = request.HasHeader("Content-Length");
    if (forward.HasBody) {
      forward.Headers = {"Content-Type: " + request.Header("Content-Type")};
      forward.Body.push_back(Platform::HttpBodyPart::OfText(request.Body));
    }
    Platform::HttpClient http("proxy");
    Platform::HttpResponse answer;
    std::string error;
    if (!http.Send(forward, answer, error))
      return TestSupport::Reply::Json(error, 502);
    TestSupport::Reply reply =
        TestSupport::Reply::Json(answer.Body, static_cast<int>(answer.StatusCode));
    reply.Headers = {{"Content-Type", answer.ContentType}};
    return reply;
  });
  Dir.Write("a.txt", "one");
  Dir.Write("b.png", "two");
  NothingCreated nothing(*this);
  const auto result = TestSupport::RunQuillpost(
      {"/IniFile=" + Dir.Write("proxy.ini", "[Host]\nURL=" + proxy.BaseUrl() +
                                                "\nToken=" + Server->Token + "\n"),
       "/A", Dir / "a.txt", "/A", Dir / "b.png", "/SN"},
      {});
  EXPECT_EQ(result.Stdout, "Create Note failed.\n");
  EXPECT_EQ(result.Stderr, "quillpost: POST notes: HTTP 500 Server Error: Proxy refuses notes\n");
  EXPECT_EQ(TestSupport::RequestsTo(proxy, "POST", "/resources").size(), 2u);
}

TEST_F(JoplinServerTest, MarkdownBodyLinksToItsLocalFiles) {
  const std::string png("\x89PNG\r\n\x1a\nlocal", 13);
  Dir.Write("trip/img/chart one.png", png);
  Dir.Write("trip/data.csv", "a,b\n1,2\n");
  Dir.Write("trip/notes.md",
            "# Trip\n![chart](img/chart%20one.png)\n[data](<data.csv>) and `[code](data.csv)`\n");
  const auto result = Run({"/S", "trip/notes.md", "/I", "Trip"});
  const std::string id = NoteIdOf(result);
  ASSERT_EQ(id.size(), 32u) << result.Stdout << result.Stderr;
  const std::string body = Json("GET", "notes/" + id + "?fields=body").at("body");
  const std::vector<std::string> ids = LinkedIds(body);
  ASSERT_EQ(ids.size(), 1u) << body;  // "(:/id" only; the angle-bracket link is "<:/id"
  EXPECT_EQ(Call("GET", "resources/" + ids[0] + "/file"), png);
  const size_t angle = body.find("[data](<:/");
  ASSERT_NE(angle, std::string::npos) << body;
  EXPECT_EQ(Call("GET", "resources/" + body.substr(angle + 10, 32) + "/file"), "a,b\n1,2\n");
  EXPECT_NE(body.find("`[code](data.csv)`"), std::string::npos) << body;
}

}  // namespace

// A note exported by Joplin's own "Markdown + Front Matter" exporter comes
// back as the note it was: title, tags, dates, source, author, place and
// to-do state.
TEST_F(JoplinServerTest, JoplinsFrontMatterExportIsCreatedAgain) {
  const TJsonValue made = Json("POST", "notes",
                               TJsonValue{{"title", "Trip notes"},
                                          {"body", "# Day one\n\nText"},
                                          {"source_url", "https://example.org/page"},
                                          {"author", "A. Writer"},
                                          {"is_todo", 1},
                                          {"todo_due", 1775030400000},
                                          {"todo_completed", 1775030400000},
                                          {"user_created_time", 1772357400000},
                                          {"user_updated_time", 1772474400000},
                                          {"latitude", 48.8566},
                                          {"longitude", 2.3522}}
                                   .dump());
  const std::string original = made.at("id");
  for (const char* tag : {"fm-travel", "fm-2026"}) {
    const std::string tagId = Json("POST", "tags", TJsonValue{{"title", tag}}.dump()).at("id");
    Json("POST", "tags/" + tagId + "/notes", TJsonValue{{"id", original}}.dump());
  }
  const std::string exportDir = Dir.Path() + "/export";
  const auto exported = TestSupport::RunProgram(
      std::string(QUILLPOST_SOURCE_DIR) + "/tools/joplin-server/node_modules/.bin/joplin",
      {"--profile", Server->State + "/profile", "export", "--format", "md_frontmatter", "--note",
       original, exportDir});
  ASSERT_EQ(exported.ExitCode, 0) << exported.Stderr;
  std::string file;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(exportDir)) {
    if (entry.path().filename() == "Trip notes.md")
      file = entry.path().string();
  }
  ASSERT_FALSE(file.empty());

  const auto result = Run({"/S", file});
  ASSERT_EQ(result.ExitCode, 0) << result.Stderr;
  const std::string copy = NoteIdOf(result);
  const std::string fields =
      "?fields=title,body,is_todo,todo_due,todo_completed,user_created_time,user_updated_time,"
      "source_url,author,latitude,longitude";
  TJsonValue before = Json("GET", "notes/" + original + fields);
  TJsonValue after = Json("GET", "notes/" + copy + fields);
  EXPECT_NE(after.at("todo_completed"), 0);
  EXPECT_EQ(after.at("body"), "# Day one\r\n\r\nText\r\n");
  for (TJsonValue* note : {&before, &after}) {
    note->erase("todo_completed");
    note->erase("body");
  }
  EXPECT_EQ(after, before);
  std::vector<std::string> tags;
  const TJsonValue copyTags = Json("GET", "notes/" + copy + "/tags");
  for (const auto& tag : copyTags.at("items"))
    tags.push_back(tag.at("title"));
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ(tags, (std::vector<std::string>{"fm-2026", "fm-travel"}));
}

// A tree of 30 notes in three folders, each linking the next one by path and
// the one before by wiki link, with three images shared among them.
void WriteLinkedTree(const TestSupport::TempDir& dir) {
  for (int image = 0; image < 3; ++image)
    dir.Write("tree/images/img" + std::to_string(image) + ".png",
              "\x89PNG image " + std::to_string(image));
  for (int i = 0; i < 30; ++i) {
    const std::string folder = "part " + std::to_string(i / 10);
    const int next = (i + 1) % 30;
    std::string text =
        i % 2 == 0 ? "---\ntags: [tree, part" + std::to_string(i / 10) + "]\n---\n" : std::string();
    text += "Note " + std::to_string(i) + " links [the next](../part%20" +
            std::to_string(next / 10) + "/n" + std::to_string(next) + ".md#top), [[n" +
            std::to_string((i + 29) % 30) + "]] and ![img](../images/img" + std::to_string(i % 3) +
            ".png)\n";
    dir.Write("tree/" + folder + "/n" + std::to_string(i) + ".md", text);
  }
}

TEST_F(JoplinServerTest, FolderImportedAndKeptInStep) {
  WriteLinkedTree(Dir);
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  options.Env["XDG_STATE_HOME"] = Dir / "state";
  const std::vector<std::string> args = {Settings(Server->Token), "--import", Dir / "tree", "/N",
                                         "Imported tree",         "/NC"};
  const auto first = TestSupport::RunQuillpost(args, options);
  ASSERT_EQ(first.ExitCode, 0) << first.Stderr;
  EXPECT_EQ(first.Stdout,
            "Import done: 30 created, 0 updated, 0 unchanged, 0 failed, 3 resources uploaded\n");

  // Every note is there once, and every link leads to a note or a resource.
  const std::string target = FolderId("Imported tree");
  std::map<std::string, std::string> titles;  // note id: title
  const auto parts = ChildFolders(target);
  ASSERT_EQ(parts.size(), 3u);
  for (const auto& [part, folder] : parts) {
    const TJsonValue notes = Json("GET", "folders/" + folder + "/notes?fields=id,title");
    for (const auto& note : notes.at("items"))
      titles[note.at("id")] = note.at("title");
  }
  ASSERT_EQ(titles.size(), 30u);
  std::set<std::string> resources;
  for (const auto& [id, title] : titles) {
    const std::string body = Json("GET", "notes/" + id + "?fields=body").at("body");
    const std::vector<std::string> linked = LinkedIds(body);
    ASSERT_EQ(linked.size(), 3u) << title << ": " << body;
    const int number = std::stoi(title.substr(1));
    EXPECT_EQ(titles[linked[0]], "n" + std::to_string((number + 1) % 30)) << body;
    EXPECT_EQ(titles[linked[1]], "n" + std::to_string((number + 29) % 30)) << body;
    EXPECT_NE(body.find(linked[0] + "#top)"), std::string::npos) << body;
    EXPECT_EQ(Call("GET", "resources/" + linked[2] + "/file"),
              "\x89PNG image " + std::to_string(number % 3));
    resources.insert(linked[2]);
  }
  EXPECT_EQ(resources.size(), 3u);

  // A change and a new file: exactly those are sent, and nothing doubles.
  Dir.Write("tree/part 1/n15.md", "changed, still linking [[n0]]\n");
  Dir.Write("tree/part 2/new.md", "new, linking [[n15]]\n");
  const auto again = TestSupport::RunQuillpost(args, options);
  ASSERT_EQ(again.ExitCode, 0) << again.Stderr;
  EXPECT_EQ(again.Stdout,
            "Import done: 1 created, 1 updated, 29 unchanged, 0 failed, 0 resources uploaded\n");
  size_t inTree = 0;
  for (const auto& [part, folder] : ChildFolders(target))
    inTree += Json("GET", "folders/" + folder + "/notes").at("items").size();
  EXPECT_EQ(inTree, 31u);
}

TEST_F(JoplinServerTest, FolderImportUnderWine) {
  std::string installed;
  InstallForWine(installed);
  if (installed.empty())
    return;
  Dir.Write("wine tree/Caf\u00e9.md",
            "---\r\ntags: [wine]\r\n---\r\nSee [[other]] ![i](pics/i.png)\r\n");
  Dir.Write("wine tree/sub/other.md", "Back to [caf\u00e9](../Caf%C3%A9.md)\r\n");
  Dir.Write("wine tree/pics/i.png", "\x89PNG wine");
  TestSupport::ProgramOptions options;
  options.CloseStdin = true;
  const std::vector<std::string> args = {"--import", TestSupport::WindowsPath(Dir / "wine tree"),
                                         "/N", "Wine import", "/NC"};
  const auto first = TestSupport::RunUnderWine(installed, args, options);
  ASSERT_EQ(first.ExitCode, 0) << first.Stdout << first.Stderr;
  EXPECT_EQ(first.Stdout,
            "Import done: 2 created, 0 updated, 0 unchanged, 0 failed, 1 resources uploaded\r\n");
  const std::string target = FolderId("Wine import");
  const TJsonValue top = Json("GET", "folders/" + target + "/notes?fields=id,title,body");
  ASSERT_EQ(top.at("items").size(), 1u);
  const TJsonValue cafe = top.at("items")[0];
  EXPECT_EQ(cafe.at("title"), "Caf\u00e9");
  const std::vector<std::string> linked = LinkedIds(cafe.at("body"));
  ASSERT_EQ(linked.size(), 2u) << cafe.at("body");
  EXPECT_EQ(Json("GET", "notes/" + linked[0] + "?fields=body").at("body"),
            "Back to [caf\u00e9](:/" + std::string(cafe.at("id")) + ")\r\n");
  EXPECT_EQ(Call("GET", "resources/" + linked[1] + "/file"), "\x89PNG wine");
  const auto again = TestSupport::RunUnderWine(installed, args, options);
  EXPECT_EQ(again.Stdout,
            "Import done: 0 created, 0 updated, 2 unchanged, 0 failed, 0 resources uploaded\r\n")
      << again.Stderr;
}
