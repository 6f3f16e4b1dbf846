// The progress line of a long upload: shown on a terminal, rewritten in
// place and cleared; absent when standard error is a pipe.
#include <gtest/gtest.h>

#include "Platform/Files/Files.hpp"
#include "support/FakeDataApi.hpp"
#include "support/RunProgram.hpp"
#include "support/TempDir.hpp"

namespace {

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestSupport::FakeDataApi().Install(Server);
    Server.SetReadPause(30);  // about 2 MiB a second
    Big = Dir.Write("big.bin", std::string(6 << 20, 'x'));
    Ini = "/IniFile=" + Dir.Write("q.ini", "[Host]\nURL=" + Server.BaseUrl() + "\nToken=t\n");
  }
  TestSupport::TestHttpServer Server;
  TestSupport::TempDir Dir;
  std::string Big, Ini;
};

TEST_F(ProgressTest, OnATerminalOnly) {
  if (!Platform::FileExists("/usr/bin/script"))
    GTEST_SKIP() << "script (util-linux) is not installed";
  // script gives the program a pseudo-terminal for all three streams.
  const std::string command = std::string(QUILLPOST_BINARY) + " '" + Ini + "' /SN /A '" + Big + "'";
  const auto onTerminal =
      TestSupport::RunProgram("/usr/bin/script", {"-qefc", command, "/dev/null"});
  EXPECT_NE(onTerminal.Stdout.find("\r\x1B[Kbig.bin: "), std::string::npos) << onTerminal.Stdout;
  EXPECT_NE(onTerminal.Stdout.find(" MiB of 6.0 MiB, "), std::string::npos);
  EXPECT_NE(onTerminal.Stdout.find("\r\x1B[KDone (Note id: N2)"), std::string::npos)
      << onTerminal.Stdout;  // cleared before the result line

  const auto piped = TestSupport::RunQuillpost({Ini, "/SN", "/A", Big}, {});
  EXPECT_EQ(piped.Stdout, "Done (Note id: N4)\n");
  EXPECT_EQ(piped.Stderr, "");
}

}  // namespace
