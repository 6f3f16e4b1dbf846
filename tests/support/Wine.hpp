#pragma once
// The Windows build (build/windows, made by build-windows.sh) run under Wine,
// and Linux paths as that Windows sees them (drive Z: is the root "/").
#include <cstdio>
#include <string>
#include <vector>

#include "support/RunProgram.hpp"

namespace TestSupport {

// Empty when the Windows build and Wine are both there; otherwise why not,
// for a test to skip with (or to fail with, under QUILLPOST_REQUIRE_WINE=1).
std::string WhyWineCannotRun();
// Whether a test without Wine must fail rather than skip.
bool WineRequired();

// Starts Wine's server and services for the tests, kept for a minute after
// the last program ends, so that each run does not start them anew.
void KeepWineServerRunning();

// The Windows build's quillpost.exe.
std::string WindowsExecutable();
// A Windows program with these arguments, in Wine's own prefix beside the build.
ProgramResult RunUnderWine(const std::string& exe, const std::vector<std::string>& args,
                           const ProgramOptions& options = {});
// quillpost.exe with these arguments, in Wine's own prefix beside the build.
ProgramResult RunWindowsQuillpost(const std::vector<std::string>& args,
                                  const ProgramOptions& options = {});

// "/tmp/a b/c.md" becomes "Z:\tmp\a b\c.md".
std::string WindowsPath(const std::string& linuxPath);

// A Windows process that holds a file open while it lives, with the share
// mode of a program still writing it ("shared": others may read and write)
// or of one that locks it ("exclusive").
class HeldOpenFile {
 public:
  HeldOpenFile(const std::string& linuxPath, const std::string& mode);
  ~HeldOpenFile();
  HeldOpenFile(const HeldOpenFile&) = delete;
  HeldOpenFile& operator=(const HeldOpenFile&) = delete;
  bool Held() const { return FHeld; }

 private:
  std::string FPath;
  FILE* FPipe = nullptr;
  bool FHeld = false;
};

}  // namespace TestSupport
