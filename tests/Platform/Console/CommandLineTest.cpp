#include "Platform/Console/CommandLine.hpp"

#include <gtest/gtest.h>

namespace Platform {
namespace {

struct SplitCase {
  const char* Name;
  const char* Line;
  std::vector<std::string> Expected;
  friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.Name; }
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, Splits) {
  EXPECT_EQ(SplitCommandLine(GetParam().Line), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{"QuotedBlank", "q.exe /I \"My title\"", {"/I", "My title"}},
        SplitCase{"QuotesInsideAnItem", "q.exe ab\"c d\"e", {"abc de"}},
        SplitCase{"NoQuoteCanBeWritten", "q.exe \"a\"\"b\"", {"ab"}},
        SplitCase{
            "BackslashDoesNotEscape", "q.exe /S \"C:\\My Dir\\\" x", {"/S", "C:\\My Dir\\", "x"}},
        SplitCase{"EmptyPairsAreNoParameter", "q.exe a \"\" \"\"\"\" b", {"a", "b"}},
        SplitCase{"QuotedProgramPath", "\"C:\\Program Files\\q.exe\" /N x", {"/N", "x"}},
        SplitCase{"ControlCharactersSeparate",
                  "q.exe\ta\x01"
                  "b\r\nc",
                  {"a", "b", "c"}},
        SplitCase{"LoneQuoteAtTheEnd", "q.exe a \"", {"a"}},
        SplitCase{"UnclosedQuoteRunsToTheEnd", "q.exe \"a b", {"a b"}},
        SplitCase{"Utf8PassesThrough",
                  "q.exe /T \"Caf\xC3\xA9 \xE2\x82\xAC\"",
                  {"/T", "Caf\xC3\xA9 \xE2\x82\xAC"}},
        SplitCase{"ProgramAlone", "q.exe", {}}),
    [](const ::testing::TestParamInfo<SplitCase>& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace Platform
