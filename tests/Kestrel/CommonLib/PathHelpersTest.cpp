#include "Kestrel/CommonLib/PathHelpers.hpp"

#include <gtest/gtest.h>

#include "Platform/Files/Files.hpp"

namespace Kestrel::CommonLib {
namespace {

TEST(PathHelpersTest, JoinPath) {
  EXPECT_EQ(JoinPath({"/a/", "b"}, false), "/a/b");
  EXPECT_EQ(JoinPath({"/a", "b", "c"}, false), "/a/b/c");
  EXPECT_EQ(JoinPath({"/a", "/b"}, false), "/a//b");
  EXPECT_EQ(JoinPath({"/a\\", "b"}, false), "/a\\/b");
  EXPECT_EQ(JoinPath({"/a"}, true), "/a/");
  EXPECT_EQ(JoinPath({}, false), "");
}

struct CombineCase {
  const char* Path;
  const char* Base;
  const char* Expected;
};

class CombinePathTest : public ::testing::TestWithParam<CombineCase> {};

TEST_P(CombinePathTest, Resolves) {
  const CombineCase& c = GetParam();
  EXPECT_EQ(CombinePath(c.Path, c.Base), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinePathTest,
    ::testing::Values(CombineCase{"/x/y.png", "/any", "/x/y.png"},
                      CombineCase{"/x/../y.png", "/any", "/x/../y.png"},  // rooted: untouched
                      CombineCase{"img/a.png", "/notes", "/notes/img/a.png"},
                      CombineCase{"../a.png", "/notes/sub", "/notes/a.png"},
                      CombineCase{"./a.png", "/notes", "/notes/a.png"},
                      CombineCase{"a//b/./c.png", "/notes//x/", "/notes/x/a/b/c.png"},
                      CombineCase{"../../../a", "/n", "/a"}, CombineCase{"", "/notes", "/notes/"},
                      CombineCase{"C:\\x\\y.png", "/n", "/n/C:\\x\\y.png"}));

TEST(PathHelpersTest, CombinePathWithEmptyBaseUsesTheWorkingDirectory) {
  EXPECT_EQ(CombinePath("a.txt", ""), JoinPath({Platform::CurrentDirectory(), "a.txt"}, false));
}

// Linux forbids only NUL in a path (and "/" in a name, where it is the
// delimiter): a tab, a quote, "*" or "|" are ordinary characters of a name.
TEST(PathHelpersTest, CombinePathTakesEveryCharacterLinuxAllows) {
  for (const char* name : {"*.png", "a?.png", "a\"b", "a<b", "a>b", "a|b", "a\tb", "a\x01b"})
    EXPECT_EQ(CombinePath(name, "/notes"), "/notes/" + std::string(name)) << name;
  EXPECT_EQ(CombinePath("a.png", "/no\"tes"), "/no\"tes/a.png");
}

TEST(PathHelpersTest, CombinePathRejectsInvalidPaths) {
  EXPECT_THROW(CombinePath(std::string("a\0b", 3), "/notes"), EInvalidPath);
  EXPECT_THROW(CombinePath("a.png", std::string("/n\0", 3)), EInvalidPath);
  EXPECT_THROW(CombinePath("", ""), EInvalidPath);
  EXPECT_THROW(CombinePath("   ", ""), EInvalidPath);
  try {
    CombinePath(" ", "");
  } catch (const EInvalidPath& error) {
    EXPECT_STREQ(error.KindName(), "EInvalidPath");
  }
}

TEST(PathHelpersTest, NameExtensionAndDirectory) {
  EXPECT_EQ(ExtractFileName("/docs/report.final.pdf"), "report.final.pdf");
  EXPECT_EQ(ExtractFileBaseName("/docs/report.final.pdf"), "report.final");
  EXPECT_EQ(ExtractFileExt("photo.PNG"), ".PNG");
  EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt("dir.png/file"), "");
  EXPECT_EQ(ExtractFileExt("noext"), "");
  EXPECT_EQ(ExtractFileBaseName(".hidden"), "");
  EXPECT_EQ(ExtractFileName("a\\b:c"), "a\\b:c");
  EXPECT_EQ(ExtractFileDir("/notes/a.md"), "/notes");
  EXPECT_EQ(ExtractFileDir("/a.md"), "/");
}

}  // namespace
}  // namespace Kestrel::CommonLib
