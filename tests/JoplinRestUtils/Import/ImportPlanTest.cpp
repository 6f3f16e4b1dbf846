// The import planned in process on small trees: which notebooks and notes a
// tree gives, how links of every form point at notes and contents, and what a
// journal and the server's state make of each file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

#include "JoplinRestUtils/Import/ImportPlan.hpp"
#include "Kestrel/CommonLib/Text/Sha256.hpp"
#include "Platform/Files/Files.hpp"
#include "support/TempDir.hpp"

namespace {

using namespace JoplinRestUtils;

using TFiles = std::vector<std::pair<std::string, std::string>>;

struct TreeCase {
  const char* Name;
  TFiles Files;                      // path in the tree: content
  TFiles Links;                      // path in the tree: where the symbolic link points
  std::vector<std::string> Folders;  // the notebooks planned
  TFiles Bodies;  // every note: its body, "{note:x}" and "{file:x}" standing for ids
  size_t Uploads;
  std::vector<std::string> Warnings;  // each found in some warning
  friend void PrintTo(const TreeCase& c, std::ostream* out) { *out << c.Name; }
};

std::string CaseName(const ::testing::TestParamInfo<TreeCase>& info) {
  return info.param.Name;
}

class ImportTreePlanTest : public ::testing::TestWithParam<TreeCase> {
 protected:
  std::string Expand(std::string text, const TImportNames& names) const {
    for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
      const size_t close = text.find('}', open);
      const std::string inner = text.substr(open + 1, close - open - 1);
      std::string id;
      if (inner.starts_with("note:")) {
        id = names.NoteId(inner.substr(5));
      } else if (inner.starts_with("file:")) {
        id = names.ResourceId(
            Kestrel::CommonLib::Sha256Hex(TestSupport::ReadFile(Dir / inner.substr(5))));
      } else {
        continue;
      }
      text.replace(open, close - open + 1, id);
    }
    return text;
  }

  TestSupport::TempDir Dir;
};

TEST_P(ImportTreePlanTest, FoldersNotesLinksAndUploads) {
  const TreeCase& c = GetParam();
  for (const auto& [path, content] : c.Files)
    Dir.Write(path, content);
  for (const auto& [path, target] : c.Links)
    ASSERT_EQ(::symlink(target.c_str(), (Dir / path).c_str()), 0) << path;
  const TImportTree tree = ScanImportTree(Dir.Path());
  const TImportNames names(tree, "key", "TOP");
  TImportSettings settings;
  settings.LocalFiles.Folder = tree.Root;
  const TImportJournal journal;
  TLinkedFiles files(journal.Stamps, settings.LocalFiles);
  const TImportPlan plan = PlanImport(names, journal, {}, settings, files);

  std::vector<std::string> folders;
  for (const auto& folder : plan.NewFolders)
    folders.push_back(folder.RelPath);
  EXPECT_EQ(folders, c.Folders);
  TFiles bodies;
  for (const auto& note : plan.Notes) {
    EXPECT_EQ(note.Action, TNoteAction::Create) << note.File->RelPath << ": " << note.Failure;
    const TImportNote built = BuildImportNote(*note.File, names, files, settings);
    bodies.emplace_back(note.File->RelPath, built.Json["body"].get<std::string>());
  }
  TFiles expected;
  for (const auto& [path, body] : c.Bodies)
    expected.emplace_back(path, Expand(body, names));
  EXPECT_EQ(bodies, expected);
  EXPECT_EQ(plan.Uploads.size(), c.Uploads);
  std::string warnings;
  for (const auto& warning : tree.Warnings)
    warnings += warning + "\n";
  for (const auto& warning : plan.Warnings)
    warnings += warning + "\n";
  for (const auto& wanted : c.Warnings)
    EXPECT_NE(warnings.find(wanted), std::string::npos) << wanted << "\n" << warnings;
  if (c.Warnings.empty()) {
    EXPECT_EQ(warnings, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Trees, ImportTreePlanTest,
    ::testing::Values(
        TreeCase{
            "NestedFolders",
            {{"a.md", "A"},
             {"x/y/z.md", "Z"},
             {"x/pics/p.png", "png"},
             {"x/notes.txt", "T"},
             {"w/page.htm", "<p>P</p>"},
             {"w/data.csv", "1,2"}},
            {},
            {"w", "x", "x/y"},
            {{"a.md", "A"}, {"w/page.htm", "<p>P</p>"}, {"x/notes.txt", "T"}, {"x/y/z.md", "Z"}},
            0,
            {}},
        TreeCase{"LinksInEveryForm",
                 {{"a.md",
                   "[1](b.md) [2](./b.md#sec) [3](<sub dir/c d.md>) [4](sub%20dir/c%20d.md#x)\n"
                   "[5](https://example.com/b.md) [6](#top) [7](missing.md) ![8](<sub dir/p.png>)\n"
                   "[r]: b.md\n"},
                  {"b.md", "B"},
                  {"sub dir/c d.md", "[up](../a.md)"},
                  {"sub dir/p.png", "png"}},
                 {},
                 {"sub dir"},
                 {{"a.md",
                   "[1](:/{note:b.md}) [2](:/{note:b.md}#sec) [3](<:/{note:sub dir/c d.md}>) "
                   "[4](:/{note:sub dir/c d.md}#x)\n"
                   "[5](https://example.com/b.md) [6](#top) [7](missing.md) "
                   "![8](<:/{file:sub dir/p.png}>)\n"
                   "[r]: :/{note:b.md}\n"},
                  {"b.md", "B"},
                  {"sub dir/c d.md", "[up](:/{note:a.md})"}},
                 1,
                 {"a.md: the link \"missing.md\" names no file"}},
        TreeCase{"WikiLinks",
                 {{"a.md",
                   "[[b]] [[b|Bee]] [[B#Head Ing]] [[sub/c]] [[c.md]] ![[p.png]] [[nothing]] "
                   "`[[code]]`\n```\n[[fenced]]\n```\n"},
                  {"b.md", "B"},
                  {"sub/c.md", "C"},
                  {"p.png", "png"}},
                 {},
                 {"sub"},
                 {{"a.md",
                   "[b](:/{note:b.md}) [Bee](:/{note:b.md}) [B](:/{note:b.md}#head-ing) "
                   "[sub/c](:/{note:sub/c.md}) [c.md](:/{note:sub/c.md}) ![p.png](:/{file:p.png}) "
                   "[[nothing]] `[[code]]`\n```\n[[fenced]]\n```\n"},
                  {"b.md", "B"},
                  {"sub/c.md", "C"}},
                 1,
                 {"a.md: \"[[nothing]]\" names no note or file of the tree"}},
        TreeCase{"SharedImageUploadedOnce",
                 {{"a.md", "![](img/p.png)"},
                  {"b.md", "![x](img/p.png) ![y](./img/p.png)"},
                  {"c.md", "![](img/q.png)"},
                  {"d.html", "<img src=\"img/p.png\">"},
                  {"img/p.png", "same bytes"},
                  {"img/q.png", "same bytes"}},
                 {},
                 {},
                 {{"a.md", "![](:/{file:img/p.png})"},
                  {"b.md", "![x](:/{file:img/p.png}) ![y](:/{file:img/p.png})"},
                  {"c.md", "![](:/{file:img/p.png})"},
                  {"d.html", "<img src=\":/{file:img/p.png}\">"}},
                 1,
                 {}},
        TreeCase{
            "LinkCycle",
            {{"a.md", "[b](b.md)"}, {"b.md", "[a](a.md) [self](b.md)"}},
            {},
            {},
            {{"a.md", "[b](:/{note:b.md})"}, {"b.md", "[a](:/{note:a.md}) [self](:/{note:b.md})"}},
            0,
            {}},
        TreeCase{
            "NonAsciiAndBlankNames",
            {{"Ünï côde/é t.md", "[[à b]] [x](../%C3%A0%20b.md)"}, {"à b.md", "x"}},
            {},
            {"Ünï côde"},
            {{"Ünï côde/é t.md", "[à b](:/{note:à b.md}) [x](:/{note:à b.md})"}, {"à b.md", "x"}},
            0,
            {}},
        TreeCase{
            "SymbolicLinkLoopsAndHiddenFiles",
            {{"sub/n.md", "N"}, {".hidden/x.md", "X"}, {".y.md", "Y"}, {"real/r.md", "R"}},
            {{"sub/loop", ".."}, {"sub/twin", "../real"}, {"out", "/etc"}, {"r2.md", "real/r.md"}},
            {"real", "sub"},
            {{"r2.md", "R"}, {"real/r.md", "R"}, {"sub/n.md", "N"}},
            0,
            {"sub/loop\" leads to a folder that is imported already",
             "sub/twin\" leads to a folder that is imported already",
             "out\" leads out of the folder"}},
        TreeCase{"FileOutsideTheTreeStays",
                 {{"a.md", "![o](/etc/hostname) [p](../../etc/passwd)"}},
                 {},
                 {},
                 {{"a.md", "![o](/etc/hostname) [p](../../etc/passwd)"}},
                 0,
                 {"\"/etc/hostname\"", "\"../../etc/passwd\""}}),
    CaseName);

// What a journal and the server's state make of each file of a tree of two.
struct DiffCase {
  const char* Name;
  std::function<void(TImportJournal&, TServerState&, const TImportNames&)> Before;
  bool Restore;
  std::map<std::string, TNoteAction> Actions;
  std::vector<std::string> Gone;
  friend void PrintTo(const DiffCase& c, std::ostream* out) { *out << c.Name; }
};

std::string DiffName(const ::testing::TestParamInfo<DiffCase>& info) {
  return info.param.Name;
}

class ImportDiffTest : public ::testing::TestWithParam<DiffCase> {};

// The journal of a run that sent both notes as they are.
void SentAsTheyAre(TImportJournal& journal, const TImportNames& names) {
  journal.Found = true;
  TLinkedFiles files(journal.Stamps, {});
  for (const auto& file : names.Tree().Notes)
    journal.Notes[file.RelPath] = {names.NoteId(file.RelPath),
                                   BuildImportNote(file, names, files, {}).Digest};
}

TEST_P(ImportDiffTest, ActionOfEachFile) {
  const DiffCase& c = GetParam();
  TestSupport::TempDir dir;
  dir.Write("a.md", "A");
  dir.Write("b.md", "B");
  const TImportTree tree = ScanImportTree(dir.Path());
  const TImportNames names(tree, "key", "TOP");
  TImportJournal journal;
  TServerState server;
  c.Before(journal, server, names);
  TLinkedFiles files(journal.Stamps, {});
  TImportSettings settings;
  settings.RestoreDeleted = c.Restore;
  const TImportPlan plan = PlanImport(names, journal, server, settings, files);
  std::map<std::string, TNoteAction> actions;
  for (const auto& note : plan.Notes)
    actions[note.File->RelPath] = note.Action;
  EXPECT_EQ(actions, c.Actions);
  std::vector<std::string> gone;
  for (const auto& note : plan.Gone)
    gone.push_back(note.RelPath);
  EXPECT_EQ(gone, c.Gone);
}

using A = TNoteAction;

INSTANTIATE_TEST_SUITE_P(
    Journals, ImportDiffTest,
    ::testing::Values(DiffCase{"NoJournal",
                               [](auto&, auto&, const auto&) {},
                               false,
                               {{"a.md", A::Create}, {"b.md", A::Create}},
                               {}},
                      DiffCase{"NothingChanged",
                               [](auto& journal, auto&, const auto& names) {
                                 SentAsTheyAre(journal, names);
                               },
                               false,
                               {{"a.md", A::Unchanged}, {"b.md", A::Unchanged}},
                               {}},
                      DiffCase{"OneChanged",
                               [](auto& journal, auto&, const auto& names) {
                                 SentAsTheyAre(journal, names);
                                 journal.Notes["a.md"].Digest = "older";
                               },
                               false,
                               {{"a.md", A::Update}, {"b.md", A::Unchanged}},
                               {}},
                      DiffCase{"FileGone",
                               [](auto& journal, auto&, const auto& names) {
                                 SentAsTheyAre(journal, names);
                                 journal.Notes["c.md"] = {names.NoteId("c.md"), "x"};
                               },
                               false,
                               {{"a.md", A::Unchanged}, {"b.md", A::Unchanged}},
                               {"c.md"}},
                      // An edited journal names notes the import did not make:
                      // neither written nor pruned.
                      DiffCase{"RecordsOfForeignNotesAreNotUsed",
                               [](auto& journal, auto&, const auto& names) {
                                 SentAsTheyAre(journal, names);
                                 journal.Notes["a.md"].Id = "dddddddddddddddddddddddddddddddd";
                                 journal.Notes["c.md"] = {"cccccccccccccccccccccccccccccccc", "x"};
                               },
                               false,
                               {{"a.md", A::Create}, {"b.md", A::Unchanged}},
                               {}},
                      DiffCase{"TrashedInJoplin",
                               [](auto& journal, auto& server, const auto& names) {
                                 SentAsTheyAre(journal, names);
                                 server.Trashed.insert(names.NoteId("a.md"));
                                 server.Erased.insert(names.NoteId("b.md"));
                               },
                               false,
                               {{"a.md", A::LeftDeleted}, {"b.md", A::LeftDeleted}},
                               {}},
                      DiffCase{"TrashedInJoplinRestored",
                               [](auto& journal, auto& server, const auto& names) {
                                 SentAsTheyAre(journal, names);
                                 server.Trashed.insert(names.NoteId("a.md"));
                               },
                               true,
                               {{"a.md", A::Restore}, {"b.md", A::Unchanged}},
                               {}},
                      DiffCase{"DeletedBeforeAndStill",
                               [](auto& journal, auto&, const auto& names) {
                                 SentAsTheyAre(journal, names);
                                 journal.Notes["a.md"].Deleted = TDeletedInJoplin::Erased;
                               },
                               false,
                               {{"a.md", A::LeftDeleted}, {"b.md", A::Unchanged}},
                               {}},
                      DiffCase{"DeletedBeforeBroughtBackByTheUser",
                               [](auto& journal, auto& server, const auto& names) {
                                 SentAsTheyAre(journal, names);
                                 journal.Notes["a.md"].Deleted = TDeletedInJoplin::Trashed;
                                 server.Revived.insert(names.NoteId("a.md"));
                               },
                               false,
                               {{"a.md", A::Unchanged}, {"b.md", A::Unchanged}},
                               {}},
                      DiffCase{"JournalLostNotesFound",
                               [](auto&, auto& server, const auto& names) {
                                 server.FoundNotes.insert(names.NoteId("a.md"));
                               },
                               false,
                               {{"a.md", A::Update}, {"b.md", A::Create}},
                               {}}),
    DiffName);

// The tree is part of every id, so two trees in one notebook never share a
// note; a journal of an earlier version, whose ids came from the notebook
// alone, keeps them, and names no other note.
TEST(ImportIdsTest, TreesHaveTheirOwnIdsAndEarlierJournalsKeepTheirs) {
  TestSupport::TempDir one, two;
  for (const TestSupport::TempDir* dir : {&one, &two}) {
    dir->Write("a.md", "A");
    dir->Write("sub/b.md", "B");
  }
  const TImportTree treeOne = ScanImportTree(one.Path());
  const TImportTree treeTwo = ScanImportTree(two.Path());
  const TImportNames first(treeOne, "FI\ntree:" + treeOne.Root, "FI", "FI");
  const TImportNames second(treeTwo, "FI\ntree:" + treeTwo.Root, "FI", "FI");
  EXPECT_NE(first.NoteId("a.md"), second.NoteId("a.md"));
  EXPECT_NE(first.FolderId("sub"), second.FolderId("sub"));
  EXPECT_NE(first.ResourceId("hash"), second.ResourceId("hash"));

  TImportJournal journal;
  const std::string legacy = ImportId(TImportItem::Note, "FI", "a.md");
  journal.Notes["a.md"] = {legacy, "digest"};
  journal.Notes["sub/b.md"] = {"dddddddddddddddddddddddddddddddd", "digest"};
  journal.Folders["sub"] = ImportId(TImportItem::Folder, "FI", "sub");
  const TImportNames earlier(treeOne, "FI\ntree:" + treeOne.Root, "FI", "FI", &journal);
  EXPECT_EQ(earlier.NoteId("a.md"), legacy);
  EXPECT_EQ(earlier.FolderId("sub"), journal.Folders["sub"]);
  EXPECT_EQ(earlier.NoteId("sub/b.md"), first.NoteId("sub/b.md"));
  EXPECT_TRUE(earlier.IsOwnNoteId("a.md", legacy));
  EXPECT_TRUE(earlier.IsOwnNoteId("a.md", first.NoteId("a.md")));
  EXPECT_FALSE(earlier.IsOwnNoteId("sub/b.md", "dddddddddddddddddddddddddddddddd"));
  EXPECT_FALSE(earlier.IsOwnNoteId("a.md", second.NoteId("a.md")));
}

TEST(ImportJournalTest, RecordsReadBackAndACutRecordIsLeftOut) {
  TImportJournal journal;
  journal.TargetId = "T";
  journal.Cursor = "42";
  journal.Folders["sub\tdir"] = "F";
  journal.Notes["sub\tdir/a\nb.md"] = {"N1", "D1", TDeletedInJoplin::Trashed};
  journal.Notes["c\\d.md"] = {"N2", "D2"};
  journal.Resources["H"] = "R";
  journal.Stamps["/x/p.png"] = {{3, 1234567890123}, "H"};
  const std::string text = JournalText(journal);
  const TImportJournal read = ParseJournal(text + "N\tcut.md\tN3", "j");
  EXPECT_TRUE(read.Found);
  EXPECT_EQ(read.TargetId, "T");
  EXPECT_EQ(read.Cursor, "42");
  EXPECT_EQ(read.Folders, journal.Folders);
  ASSERT_EQ(read.Notes.size(), 2u);
  EXPECT_EQ(read.Notes.at("sub\tdir/a\nb.md").Deleted, TDeletedInJoplin::Trashed);
  EXPECT_EQ(read.Notes.at("c\\d.md").Digest, "D2");
  EXPECT_EQ(read.Resources, journal.Resources);
  EXPECT_EQ(read.Stamps.at("/x/p.png").Stamp.ModifiedNanoseconds, 1234567890123);
  // Records appended after the whole text change it as a run goes.
  const TImportJournal later = ParseJournal(text + "X\tc\\\\d.md\nN\tnew.md\tN4\tD4\n", "j");
  EXPECT_EQ(later.Notes.count("c\\d.md"), 0u);
  EXPECT_EQ(later.Notes.at("new.md").Id, "N4");
}

TEST(ImportJournalTest, AnotherVersionOrNoJournalIsRefused) {
  EXPECT_THROW(ParseJournal("quillpost import journal 2\n", "j"), EImportJournalError);
  EXPECT_THROW(ParseJournal("something else\n", "j"), EImportJournalError);
  EXPECT_FALSE(ParseJournal("quillpost import journal 1\n", "j").Notes.size());
}

TEST(Sha256Test, KnownDigests) {
  using Kestrel::CommonLib::Sha256Hex;
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  Kestrel::CommonLib::TSha256 pieces;
  const std::string million(1000000, 'a');
  for (size_t at = 0; at < million.size(); at += 777)
    pieces.Update(std::string_view(million).substr(at, 777));
  EXPECT_EQ(pieces.HexDigest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  // A file is hashed as it is read, a piece at a time: the same digest.
  TestSupport::TempDir dir;
  for (const size_t size : {size_t{0}, size_t{3}, (size_t{1} << 20) + 3}) {
    const std::string bytes(size, 'q');
    EXPECT_EQ(Kestrel::CommonLib::Sha256HexOfFile(dir.Write("f", bytes)), Sha256Hex(bytes)) << size;
  }
  EXPECT_EQ(Kestrel::CommonLib::Sha256HexOfFile(dir / "missing"), std::nullopt);
}

// A note of an import that links more files than a body may pull in fails
// alone, as a single note's body would; "/AllowMany" lifts the bound.
TEST(ImportBoundTest, ANoteLinkingBeyondTheBoundFails) {
  TestSupport::TempDir dir;
  dir.Write("many.md", "![a](a.png) ![b](b.png) ![c](c.png)\n");
  dir.Write("few.md", "![a](a.png)\n");
  for (const char* image : {"a.png", "b.png", "c.png"})
    dir.Write(image, image);
  const TImportTree tree = ScanImportTree(dir.Path());
  const TImportNames names(tree, "key", "TOP");
  for (const bool allowMany : {false, true}) {
    TImportSettings settings;
    settings.LocalFiles.Folder = tree.Root;
    settings.LocalFiles.MaxFiles = allowMany ? 0 : 2;
    const TImportJournal journal;
    TLinkedFiles files(journal.Stamps, settings.LocalFiles);
    const TImportPlan plan = PlanImport(names, journal, {}, settings, files);
    for (const auto& note : plan.Notes) {
      const bool fails = !allowMany && note.File->RelPath == "many.md";
      EXPECT_EQ(note.Action == TNoteAction::Failed, fails) << note.File->RelPath << allowMany;
      if (fails) {
        EXPECT_TRUE(note.Failure.starts_with("EBodyFilesBeyondBound: ")) << note.Failure;
      }
    }
  }
}

}  // namespace
