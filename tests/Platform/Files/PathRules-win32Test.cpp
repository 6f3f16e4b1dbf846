// Paths by the drive, backslash and UNC rules, through the path routines the
// rest of the program uses.
#include <windows.h>

#include <gtest/gtest.h>

#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "Platform/Files/Files.hpp"
#include "Platform/Files/PathRules.hpp"

namespace Kestrel::CommonLib {
namespace {

TEST(PathRulesWin32Test, JoinPathUsesTheBackslash) {
  EXPECT_EQ(JoinPath({"C:\\a\\", "b"}, false), "C:\\a\\b");
  EXPECT_EQ(JoinPath({"C:/a/", "b"}, false), "C:/a/\\b");  // a slash is no delimiter here
  EXPECT_EQ(JoinPath({"C:\\a", "\\b"}, false), "C:\\a\\\\b");
  EXPECT_EQ(JoinPath({"C:\\a"}, true), "C:\\a\\");
}

struct CombineCase {
  const char* Name;
  const char* Path;
  const char* Base;
  const char* Expected;
  friend void PrintTo(const CombineCase& c, std::ostream* os) { *os << c.Name; }
};

class CombinePathWin32Test : public ::testing::TestWithParam<CombineCase> {};

TEST_P(CombinePathWin32Test, Resolves) {
  EXPECT_EQ(CombinePath(GetParam().Path, GetParam().Base), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinePathWin32Test,
    ::testing::Values(
        CombineCase{"Drive", "D:\\x\\y.png", "C:\\n", "D:\\x\\y.png"},
        CombineCase{"DriveUnnormalised", "D:\\x\\..\\y.png", "C:\\n", "D:\\x\\..\\y.png"},
        CombineCase{"DriveRelative", "C:f.png", "D:\\n", "C:f.png"},
        CombineCase{"Unc", "\\\\server\\share\\f.png", "C:\\n", "\\\\server\\share\\f.png"},
        CombineCase{"RootRelativeSlash", "/f.png", "C:\\n", "/f.png"},
        CombineCase{"ExtendedDrive", "\\\\?\\C:\\f.png", "D:\\n", "\\\\?\\C:\\f.png"},
        CombineCase{"ExtendedUnc", "\\\\?\\unc\\s\\f.png", "D:\\n", "\\\\?\\unc\\s\\f.png"},
        CombineCase{"Relative", "img\\a.png", "C:\\notes", "C:\\notes\\img\\a.png"},
        CombineCase{"ForwardSlashes", "img/a.png", "C:\\notes", "C:\\notes\\img\\a.png"},
        CombineCase{"Parent", "..\\a.png", "C:\\notes\\sub", "C:\\notes\\a.png"},
        CombineCase{"EmptyPath", "", "C:\\notes", "C:\\notes\\"}),
    [](const ::testing::TestParamInfo<CombineCase>& row) { return std::string(row.param.Name); });

TEST(PathRulesWin32Test, EmptyBaseResolvesAgainstTheWorkingDirectory) {
  const std::string here = Platform::CurrentDirectory();
  EXPECT_EQ(CombinePath("a.txt", ""), JoinPath({here, "a.txt"}, false));
  EXPECT_EQ(CombinePath("\\x\\a.txt", "D:\\n"), "\\x\\a.txt");
  // A root-relative path takes the working directory's drive.
  EXPECT_EQ(FullPath("\\x\\..\\a.txt"), here.substr(0, 2) + "\\a.txt");
  EXPECT_THROW(CombinePath("*.png", "C:\\n"), EInvalidPath);
  EXPECT_THROW(CombinePath("a|b", "C:\\n"), EInvalidPath);
}

TEST(PathRulesWin32Test, NameExtensionAndDirectory) {
  EXPECT_EQ(ExtractFileName("C:\\docs\\report.final.pdf"), "report.final.pdf");
  EXPECT_EQ(ExtractFileName("C:a.png"), "a.png");
  // The system takes "/" for "\", as Git Bash and scripts write paths.
  EXPECT_EQ(ExtractFileName("img/a.png"), "a.png");
  EXPECT_EQ(ExtractFileName("Z:/tmp/x/pic.png"), "pic.png");
  EXPECT_EQ(ExtractFileDir("C:/notes/a.md"), "C:/notes");
  EXPECT_EQ(ExtractFileDir("C:/a.md"), "C:/");
  EXPECT_EQ(ExtractFileBaseName("C:\\d\\a.tar.gz"), "a.tar");
  EXPECT_EQ(ExtractFileExt("C:\\d.png\\file"), "");
  EXPECT_EQ(ExtractFileDir("C:\\notes\\a.md"), "C:\\notes");
  EXPECT_EQ(ExtractFileDir("C:\\a.md"), "C:\\");  // a drive root keeps its delimiter
  EXPECT_EQ(ExtractFileDir("C:a.md"), "C:");
  EXPECT_EQ(ExtractFileDir("\\\\server\\share\\a.md"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileDir("a.md"), "");
}

}  // namespace
}  // namespace Kestrel::CommonLib
