// "/Append" and "/Prepend" run by the built program against a loopback Data
// API that keeps notes: which note is the target, the exact requests, and
// that a note is never written blindly or left half-done.
#include <gtest/gtest.h>

#include "JoplinRestUtils/Json/Json.hpp"
#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"
#include "support/TestHttpServer.hpp"

namespace {

using JoplinRestUtils::TJsonValue;
using TestSupport::RecordedRequest;

using TestSupport::FakeDataApi;
using TestSupport::kJournal;
using TestSupport::kPage;

struct AppendCase {
  const char* Name;
  std::vector<std::string> Args;
  int ExitCode;
  std::string Stdout;
  std::string JournalBody;  // kJournal's body afterwards
  size_t Deletes;           // uploads taken back
  bool ChangeBeforeWrite = false;
  bool RefuseWrite = false;
  bool LeaveOutBody = false;
  bool InTheTrash = false;  // kJournal deleted to Joplin's trash beforehand
  friend void PrintTo(const AppendCase& c, std::ostream* out) { *out << c.Name; }
};

class AppendTest : public ::testing::TestWithParam<AppendCase> {
 protected:
  void SetUp() override {
    Store.AddJournalNotes();
    Store.Install(Server);
    Dir.Write("a.png", "png");
    Dir.Write("entry.md", "day two\n");
    Dir.Write("page.html", "<p>y</p>");
  }
  TestSupport::ProgramResult Run(const std::vector<std::string>& args) {
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["QUILLPOST_URL"] = Server.BaseUrl();
    options.Env["QUILLPOST_TOKEN"] = "tok";
    options.WorkingDir = Dir.Path();
    return TestSupport::RunQuillpost(args, options);
  }
  FakeDataApi Store;
  TestSupport::TestHttpServer Server;
  TestSupport::TempDir Dir;
};

TEST_P(AppendTest, TargetsWritesAndRefusals) {
  const AppendCase& c = GetParam();
  Store.ChangeBeforeWrite = c.ChangeBeforeWrite;
  Store.RefuseWrite = c.RefuseWrite;
  Store.LeaveOutBody = c.LeaveOutBody;
  if (c.InTheTrash)
    Store.TrashNote(kJournal);
  const auto result = Run(c.Args);
  EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Stderr;
  EXPECT_EQ(result.Stdout, c.Stdout) << result.Stderr;
  EXPECT_EQ(Store.Notes[kJournal].Body, c.JournalBody);
  size_t deletes = 0;
  for (const auto& request : Server.Requests())
    deletes += request.Method == "DELETE" ? 1 : 0;
  EXPECT_EQ(deletes, c.Deletes);
}

const std::string kDone = std::string("Done (Note id: ") + kJournal + ")\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, AppendTest,
    ::testing::Values(
        // Of two notes titled alike, the most recently updated one.
        AppendCase{"FoundByTitle",
                   {"/Append", "/I", "JOURNAL", "/S", "entry.md", "/A", "a.png"},
                   0,
                   kDone,
                   "day one\r\n\r\nday two\r\n\r\n![a.png](:/R1)",
                   0},
        AppendCase{"PrependInTheNotebook",
                   {"/Prepend", "/N", "Inbox", "/I", "Journal", "/S", "entry.md"},
                   0,
                   kDone,
                   "day two\r\n\r\nday one\n",
                   0},
        AppendCase{"ById",
                   {"/Append", "/Id", kJournal, "/S", "entry.md"},
                   0,
                   kDone,
                   "day one\r\n\r\nday two\r\n",
                   0},
        AppendCase{"CreatedOnTheFirstDay",
                   {"/Append", "/I", "Diary", "/S", "entry.md"},
                   0,
                   "Done (Note id: N1)\n",
                   "day one\n",
                   0},
        AppendCase{"MissingId",
                   {"/Append", "/Id", "eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee", "/S", "entry.md"},
                   3,
                   "ENoteNotFound: Note \"eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee\" not found\n",
                   "day one\n",
                   0},
        AppendCase{"IdOfANoteInTheTrash",
                   {"/Append", "/Id", kJournal, "/S", "entry.md"},
                   3,
                   std::string("ENoteNotFound: Note \"") + kJournal + "\" not found\n",
                   "day one\n",
                   0,
                   false,
                   false,
                   false,
                   true},
        AppendCase{"MarkupMismatch",
                   {"/Append", "/I", "Page", "/S", "entry.md", "/A", "a.png"},
                   3,
                   std::string("EMarkupMismatch: the note \"") + kPage +
                       "\" is HTML, the new text Markdown; nothing was sent\n",
                   "day one\n",
                   0},
        AppendCase{"ChangedInBetween",
                   {"/Append", "/Id", kJournal, "/S", "entry.md", "/A", "a.png"},
                   3,
                   "Append failed.\n",
                   "day one\n",
                   1,
                   true},
        AppendCase{"WriteRefused",
                   {"/Append", "/Id", kJournal, "/S", "entry.md", "/A", "a.png"},
                   3,
                   "Append failed.\n",
                   "day one\n",
                   1,
                   false,
                   true},
        // Without the old text, writing would replace it with the new part.
        AppendCase{"OldTextUnreadable",
                   {"/Append", "/Id", kJournal, "/S", "entry.md", "/A", "a.png"},
                   3,
                   "Append failed.\n",
                   "day one\n",
                   0,
                   false,
                   false,
                   true},
        AppendCase{"NoTarget",
                   {"/Append", "/S", "entry.md"},
                   3,
                   "ECommandLineError: /Append and /Prepend need /I (the note's title) or /Id\n",
                   "day one\n",
                   0},
        AppendCase{"IdThatIsNoId",
                   {"/Append", "/Id", "12ab", "/S", "entry.md"},
                   3,
                   "ECommandLineError: /Id \"12ab\" is not a note id (32 hexadecimal digits)\n",
                   "day one\n",
                   0}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST_F(AppendTest, SeveralMatchesAreWarnedAboutAndJsonSaysAppended) {
  const auto result = Run({"/Append", "/I", "journal", "/S", "entry.md", "--json"});
  EXPECT_NE(result.Stderr.find("2 notes are titled \"journal\"; adding to the most recently "
                               "updated one"),
            std::string::npos)
      << result.Stderr;
  const TJsonValue json = TJsonValue::parse(result.Stdout);
  EXPECT_EQ(json.at("id"), kJournal);
  EXPECT_EQ(json.at("action"), "appended");
  EXPECT_EQ(json.at("parent_id"), "F1");
  EXPECT_EQ(json.at("link"), std::string("joplin://x-callback-url/openNote?id=") + kJournal);
}

}  // namespace
