// "--import" run by the built program against a loopback Data API that keeps
// what it is sent: the exact requests of a first run, a run with nothing
// changed, a change, a prune, notes deleted in Joplin, a run killed halfway
// and a journal lost, and that no note is ever made twice.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <filesystem>

#include "JoplinRestUtils/Import/ImportIds.hpp"
#include "Platform/Files/Files.hpp"
#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"
#include "support/TestHttpServer.hpp"

namespace {

using JoplinRestUtils::ImportId;
using JoplinRestUtils::TImportItem;
using TestSupport::RecordedRequest;
using TestSupport::RequestsTo;

class ImportRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store.Install(Server);
    Tree.Write("a.md",
               "---\ntags: [trip]\n---\nSee [b](sub/b.md#part), [[c]] and ![p](img/p.png)\n");
    Tree.Write("sub/b.md", "Back to [a](../a.md) ![p](../img/p.png)\n");
    Tree.Write("sub/c.md", "C\n");
    Tree.Write("img/p.png", "png bytes");
    Root = Platform::ResolvedPath(Tree.Path());
  }

  TestSupport::ProgramResult Run(std::vector<std::string> args,
                                 std::function<void(int)> started = {}) {
    TestSupport::ProgramOptions options;
    options.CloseStdin = true;
    options.Env["QUILLPOST_URL"] = Server.BaseUrl();
    options.Env["QUILLPOST_TOKEN"] = "tok";
    options.Env["XDG_STATE_HOME"] = State.Path();
    options.Started = std::move(started);
    args.insert(args.begin(), {"--import", Tree.Path()});
    FirstRequest = Server.Requests().size();
    return TestSupport::RunQuillpost(args, options);
  }

  // The last run's requests as "METHOD /path", the query left out.
  std::vector<std::string> RunRequests() const {
    std::vector<std::string> lines;
    const auto all = Server.Requests();
    for (size_t i = FirstRequest; i < all.size(); ++i)
      lines.push_back(all[i].Method + " " + all[i].Target.substr(0, all[i].Target.find('?')));
    return lines;
  }

  std::string Key() const { return "folder:" + Root; }
  std::string NoteId(const std::string& rel) const {
    return ImportId(TImportItem::Note, Key(), rel);
  }
  std::string FolderId(const std::string& rel) const {
    return ImportId(TImportItem::Folder, Key(), rel);
  }

  TestSupport::FakeDataApi Store;
  TestSupport::TestHttpServer Server;
  TestSupport::TempDir Tree, State;
  std::string Root;
  size_t FirstRequest = 0;
};

const std::string kFirstRun =
    "Import done: 3 created, 0 updated, 0 unchanged, 0 failed, 1 resources uploaded\n";
const std::string kNothingChanged =
    "Import done: 0 created, 0 updated, 3 unchanged, 0 failed, 0 resources uploaded\n";

TEST_F(ImportRunTest, FirstRunLinksNotesAndSendsASharedImageOnce) {
  const auto result = Run({});
  ASSERT_EQ(result.ExitCode, 0) << result.Stderr;
  EXPECT_EQ(result.Stdout, kFirstRun);
  const std::string image = [&] { return Store.Resources.begin()->first; }();
  // Each note is made without its body, then written whole.
  EXPECT_EQ(RunRequests(),
            (std::vector<std::string>{
                "GET /folders", "POST /folders", "POST /folders", "POST /resources", "POST /notes",
                "PUT /notes/" + NoteId("a.md"), "POST /notes", "PUT /notes/" + NoteId("sub/b.md"),
                "POST /notes", "PUT /notes/" + NoteId("sub/c.md"), "GET /events"}));
  for (const auto& request : RequestsTo(Server, "POST", "/notes"))
    EXPECT_NE(request.Body.find(R"("body":"")"), std::string::npos) << request.Body;
  ASSERT_EQ(Store.Notes.size(), 3u);
  const auto& a = Store.Notes.at(NoteId("a.md"));
  EXPECT_EQ(a.Body, "See [b](:/" + NoteId("sub/b.md") + "#part), [c](:/" + NoteId("sub/c.md") +
                        ") and ![p](:/" + image + ")\n");
  EXPECT_EQ(a.Tags, "trip");
  EXPECT_EQ(a.ParentId, FolderId(""));
  EXPECT_EQ(Store.Notes.at(NoteId("sub/b.md")).Body,
            "Back to [a](:/" + NoteId("a.md") + ") ![p](:/" + image + ")\n");
  EXPECT_EQ(Store.Notes.at(NoteId("sub/b.md")).ParentId, FolderId("sub"));
  EXPECT_EQ(Store.Folder(FolderId(""))->Title, std::filesystem::path(Root).filename().string());
  EXPECT_EQ(Store.Resources.at(image), "png bytes");
}

TEST_F(ImportRunTest, ReRunsSendOnlyWhatChanged) {
  ASSERT_EQ(Run({}).ExitCode, 0);
  const auto again = Run({});
  EXPECT_EQ(again.Stdout, kNothingChanged) << again.Stderr;
  // No request for any file: the notebooks, what changed in Joplin, the cursor.
  EXPECT_EQ(RunRequests(),
            (std::vector<std::string>{"GET /folders", "GET /events", "GET /events"}));

  Tree.Write("img/p.png", "new png bytes");
  Tree.Write("sub/c.md", "C changed\n");
  const auto changed = Run({});
  EXPECT_EQ(changed.Stdout,
            "Import done: 0 created, 3 updated, 0 unchanged, 0 failed, 1 resources uploaded\n")
      << changed.Stderr;
  EXPECT_EQ(RunRequests(), (std::vector<std::string>{
                               "GET /folders", "GET /events", "POST /resources",
                               "PUT /notes/" + NoteId("a.md"), "PUT /notes/" + NoteId("sub/b.md"),
                               "PUT /notes/" + NoteId("sub/c.md"), "GET /events"}));
  EXPECT_EQ(Store.Notes.at(NoteId("sub/c.md")).Body, "C changed\n");
  EXPECT_EQ(Store.Notes.size(), 3u);
}

TEST_F(ImportRunTest, GoneFilesAreListedAndPrunedOnRequest) {
  ASSERT_EQ(Run({}).ExitCode, 0);
  std::filesystem::remove(Tree / "sub/c.md");
  const auto listed = Run({});
  EXPECT_EQ(listed.ExitCode, 0);
  EXPECT_NE(listed.Stdout.find(", 1 files gone"), std::string::npos) << listed.Stdout;
  EXPECT_NE(listed.Stderr.find("sub/c.md is gone; its note " + NoteId("sub/c.md")),
            std::string::npos)
      << listed.Stderr;
  EXPECT_EQ(Store.Notes.at(NoteId("sub/c.md")).Deleted, 0);

  const auto pruned = Run({"--prune"});
  EXPECT_NE(pruned.Stdout.find(", 1 pruned"), std::string::npos) << pruned.Stdout;
  EXPECT_GT(Store.Notes.at(NoteId("sub/c.md")).Deleted, 0) << "in the trash, not erased";
  const auto after = Run({"--prune"});
  EXPECT_EQ(after.Stdout.find("pruned"), std::string::npos) << after.Stdout;
}

TEST_F(ImportRunTest, NotesDeletedInJoplinComeBackOnlyWithRestore) {
  ASSERT_EQ(Run({}).ExitCode, 0);
  Store.TrashNote(NoteId("sub/c.md"));
  Store.EraseNote(NoteId("sub/b.md"));
  Tree.Write("sub/c.md", "C changed\n");
  const auto kept = Run({});
  EXPECT_EQ(kept.ExitCode, 0) << kept.Stderr;
  EXPECT_NE(kept.Stdout.find(", 2 deleted in Joplin"), std::string::npos) << kept.Stdout;
  EXPECT_NE(kept.Stderr.find("sub/c.md: its note " + NoteId("sub/c.md") +
                             " was deleted in Joplin; not made again (--restore does)"),
            std::string::npos)
      << kept.Stderr;
  EXPECT_EQ(Store.Notes.count(NoteId("sub/b.md")), 0u);
  EXPECT_EQ(Store.Notes.at(NoteId("sub/c.md")).Body, "C\n");
  // A later run knows of them without any event.
  EXPECT_NE(Run({}).Stdout.find(", 2 deleted in Joplin"), std::string::npos);

  const auto restored = Run({"--restore"});
  EXPECT_NE(restored.Stdout.find(", 2 restored"), std::string::npos) << restored.Stdout;
  EXPECT_EQ(Store.Notes.at(NoteId("sub/c.md")).Deleted, 0);
  EXPECT_EQ(Store.Notes.at(NoteId("sub/c.md")).Body, "C changed\n");
  EXPECT_EQ(Store.Notes.count(NoteId("sub/b.md")), 1u);
}

TEST_F(ImportRunTest, AKilledRunIsRunAgainWithoutDuplicates) {
  std::atomic<int> pid{0};
  Store.NoteMade = [&](const std::string& id) {
    // Killed after the server made the note and before the answer came:
    // the journal cannot know of it.
    if (id == NoteId("sub/b.md"))
      ::kill(pid.load(), SIGKILL);
  };
  const auto killed = Run({}, [&](int started) { pid = started; });
  EXPECT_NE(killed.ExitCode, 0);
  Store.NoteMade = nullptr;
  const auto again = Run({});
  EXPECT_EQ(again.ExitCode, 0) << again.Stderr;
  EXPECT_EQ(Store.Notes.size(), 3u);
  for (const auto& [id, note] : Store.Notes)
    EXPECT_LE(note.Writes, 2) << note.Title;
  const auto last = Run({});
  EXPECT_EQ(last.Stdout, kNothingChanged) << last.Stderr;
}

TEST_F(ImportRunTest, AServerThatStopsAnsweringEndsTheRunAndTheNextOneFinishes) {
  std::atomic<int> notes{0};
  Server.Handle([&](const RecordedRequest& request) {
    if (request.Method == "POST" && request.Target.starts_with("/notes"))
      ++notes;
    if (notes > 1) {
      TestSupport::Reply gone;
      gone.CloseMode = TestSupport::Reply::Close::BeforeAnswer;
      return gone;
    }
    return Store.Answer(request);
  });
  const auto cut = Run({});
  EXPECT_EQ(cut.ExitCode, 3);
  EXPECT_EQ(cut.Stdout,
            "Import done: 1 created, 0 updated, 0 unchanged, 2 failed, 1 resources uploaded\n");
  EXPECT_NE(cut.Stderr.find("the server stopped answering"), std::string::npos) << cut.Stderr;
  // The note that got no answer is looked for once; nothing is tried after that.
  EXPECT_EQ(RunRequests().back(), "GET /notes/" + NoteId("sub/b.md"));
  EXPECT_EQ(RunRequests().size(), 8u);

  Store.Install(Server);
  const auto rest = Run({});
  EXPECT_EQ(rest.Stdout,
            "Import done: 2 created, 0 updated, 1 unchanged, 0 failed, 0 resources uploaded\n")
      << rest.Stderr;
  EXPECT_EQ(Store.Notes.size(), 3u);
}

TEST_F(ImportRunTest, ALostJournalFindsTheEarlierNotesInsteadOfDuplicating) {
  ASSERT_EQ(Run({}).ExitCode, 0);
  std::filesystem::remove_all(State / "quillpost");
  Tree.Write("sub/c.md", "C changed\n");
  const auto result = Run({});
  EXPECT_EQ(result.ExitCode, 0) << result.Stderr;
  EXPECT_NE(result.Stderr.find("no journal of this import was found, but 3 notes of an earlier "
                               "import of the folder are in Joplin"),
            std::string::npos)
      << result.Stderr;
  EXPECT_EQ(result.Stdout,
            "Import done: 0 created, 3 updated, 0 unchanged, 0 failed, 0 resources uploaded\n");
  EXPECT_EQ(Store.Notes.size(), 3u);
  EXPECT_EQ(Store.Notes.at(NoteId("sub/c.md")).Body, "C changed\n");
}

TEST_F(ImportRunTest, DryRunChangesNothing) {
  Tree.Write("bad.md", "---\ntitle: [unclosed\n---\nx\n");
  const auto result = Run({"--dry-run"});
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(result.Stdout,
            "Dry run: 3 to create, 0 to update, 0 unchanged, 1 failing, 1 resources to upload\n");
  for (const auto& request : RunRequests())
    EXPECT_EQ(request.substr(0, 4), "GET ") << request;
  for (const char* line : {"would create a.md", "would make the notebook sub/", "would upload",
                           "bad.md: EFrontMatterError"})
    EXPECT_NE(result.Stderr.find(line), std::string::npos) << line << "\n" << result.Stderr;
  EXPECT_FALSE(std::filesystem::exists(State / "quillpost"));
}

TEST_F(ImportRunTest, AFileThatFailsIsNamedAndTheRestGoesOn) {
  Tree.Write("bad.md", "---\ntitle: [unclosed\n---\nx\n");
  const auto result = Run({"--json"});
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(result.Stdout,
            R"({"dry_run":false,"created":3,"updated":0,"unchanged":0,"failed":1,)"
            R"("resources_uploaded":1,"restored":0,"pruned":0,"deleted_in_joplin":0,)"
            R"("files_gone":0})"
            "\n");
  EXPECT_NE(result.Stderr.find("quillpost: bad.md: EFrontMatterError"), std::string::npos)
      << result.Stderr;
  EXPECT_EQ(Store.Notes.size(), 3u);
}

}  // namespace
