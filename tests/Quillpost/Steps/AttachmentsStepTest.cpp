#include "Quillpost/Steps/AttachmentsStep.hpp"

#include <gtest/gtest.h>

#include "Kestrel/CommonLib/Dates/DatePlaceholders.hpp"
#include "Kestrel/CommonLib/Dates/FileTimes.hpp"
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "support/TempDir.hpp"

namespace Quillpost {
namespace {

using JoplinRestUtils::TJoplinNewNote;

class AttachmentsStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    A = Dir.Write("a.png", "a");
    B = Dir.Write("b.jpg", "b");
    Report = Dir.Write("docs/report.final.pdf", "r");
  }
  TJoplinNewNote Apply(std::vector<std::string> params, const std::string& title = "NoName") {
    TJoplinNewNote note;
    note.Title = title;
    note.BaseDir = Dir.Path();
    First = ApplyAttachments(params, note);
    return note;
  }
  TestSupport::TempDir Dir;
  std::string A, B, Report, First;
};

TEST_F(AttachmentsStepTest, ExistingFilesInOrder) {
  const auto note = Apply({"/A", "a.png", "/A", "missing.png", "/A", "b.jpg"}, "%FileNames%");
  EXPECT_EQ(note.Files.Lines(), (std::vector<std::string>{A, B}));
  EXPECT_EQ(note.Title, "a b");
  EXPECT_EQ(First, "a.png");
}

TEST_F(AttachmentsStepTest, SingleValuesComeBeforeTheList) {
  EXPECT_EQ(Apply({"/AA", "b.jpg", "/A", "a.png"}).Files.Lines(), (std::vector<std::string>{A, B}));
  // A repeated /AA adds its files after the first run's.
  EXPECT_EQ(Apply({"/AA", "a.png", "/T", "x", "/AA", "b.jpg"}).Files.Lines(),
            (std::vector<std::string>{A, B}));
  EXPECT_EQ(Apply({"/AA", A, "docs/report.final.pdf"}).Files.Lines(),
            (std::vector<std::string>{A, Report}));
}

TEST_F(AttachmentsStepTest, TitlePlaceholders) {
  EXPECT_EQ(Apply({"/A", "docs/report.final.pdf"}, "%filename%|%FILENAMEEX%").Title,
            "report.final|report.final.pdf");
  EXPECT_EQ(Apply({"/AA", "a.png", "b.jpg"}, "%FileNamesEx%").Title, "a.png b.jpg");
  EXPECT_EQ(Apply({"/A", "missing.png"}, "Scan %FileName%").Title, "Scan ");
  EXPECT_EQ(Apply({}, "%FileNames%%FileNameEx%").Title, "");
}

TEST_F(AttachmentsStepTest, NothingLeftKeepsTheBodyImages) {
  TJoplinNewNote note;
  note.Files.Add("/from/html.png");
  ApplyAttachments(Kestrel::CommonLib::TParamList{"/A", Dir / "missing.png"}, note);
  EXPECT_EQ(note.Files.Lines(), (std::vector<std::string>{"/from/html.png"}));
}

TEST_F(AttachmentsStepTest, WildcardIsAFileNameLikeAnyOther) {
  EXPECT_TRUE(Apply({"/A", "*.png"}).Files.Empty());
  const std::string star = Dir.Write("*.png", "s");
  EXPECT_EQ(Apply({"/A", "*.png"}).Files.Lines(), (std::vector<std::string>{star}));
}

TEST(TagsStepTest, SingleTagsThenTheList) {
  TJoplinNewNote note;
  ApplyTags({"/T", "work", "/TT", "a", "b", "/T", "home", "/T", "work"}, note);
  EXPECT_EQ(note.Tags.Lines(), (std::vector<std::string>{"work", "home", "work", "a", "b"}));
}

TEST(DatesStepTest, ValuesPlaceholdersAndFallback) {
  // The entry as written: digits of a directory part would count too.
  TJoplinNewNote note;
  ApplyDates({"/C", "%FileNameDateTime%", "/E", "2024-02-03T04:05:06"}, "scan_202401051530.pdf",
             note);
  EXPECT_EQ(note.CTime, Kestrel::CommonLib::EncodeDateTime({2024, 1, 5, 15, 30, 0, 0}));
  EXPECT_EQ(note.MTime, Kestrel::CommonLib::EncodeDateTime({2024, 2, 3, 4, 5, 6, 0}));

  const auto before = Kestrel::CommonLib::NowDateTime();
  ApplyDates({"/C", "%FileMTime%"}, "", note);
  EXPECT_GE(note.CTime, before);  // unfilled placeholder: now
  EXPECT_EQ(note.MTime, 0);       // no "/E": unset
}

}  // namespace
}  // namespace Quillpost
