#include <gtest/gtest.h>

#include "Platform/Console/CommandLine.hpp"

namespace Platform {
namespace {

TEST(ProgramParametersTest, DropEmptyArguments) {
  const char* argv[] = {"/usr/bin/quillpost", "/I", "", "My title", nullptr};
  EXPECT_EQ(ProgramParameters(4, argv), (std::vector<std::string>{"/I", "My title"}));
}

}  // namespace
}  // namespace Platform
