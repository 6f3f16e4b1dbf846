#pragma once
// The standard streams. Standard output carries the program's result or error
// line; standard error carries warnings and the causes of failures. Text is
// written in the locale's character set, each line ended by "\n", at once.
// Lines hold text from outside (ids and messages from the server, file
// names), so control characters (C0 but tab, DEL, C1) and bidirectional
// controls are written as visible escapes ("\x1B", "\u202E"): nothing
// printed can steer the terminal.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace Platform {

// Throws EConsoleError when standard output cannot be written.
void WriteLine(std::string_view utf8Line);

// Writes one line to standard error; a failure is ignored, since there is no
// other stream left to report it on.
void WriteErrorLine(std::string_view utf8Line);

// Once at start: a reader of standard output that has gone away makes writes
// fail (EConsoleError) instead of ending the process.
void PrepareStandardStreams();

// The line with its control characters escaped, as the writers print it.
std::string VisibleText(std::string_view utf8Line);

// One line on standard error that shows how a long transfer goes, rewritten
// in place: only when standard error is a terminal, and only once the
// transfer has run for more than a second; cleared when it is done.
class ProgressLine {
 public:
  explicit ProgressLine(std::string label);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // "label: 12.5 MiB of 100.0 MiB, 40.1 MiB/s", at most ten times a second.
  void Update(std::uint64_t done, std::uint64_t total);
  // "label: 120 of 10000 notes, 1.2 MiB of 20.0 MiB, 3.4 MiB/s".
  void Update(std::uint64_t itemsDone, std::uint64_t itemsTotal, std::string_view items,
              std::uint64_t done, std::uint64_t total);

 private:
  // Whether a line is drawn now (at most ten a second, after the first
  // second, on a terminal); the line is made only then.
  bool DueNow();
  void Draw(const std::string& counted, std::uint64_t done, std::uint64_t total);
  using Clock = std::chrono::steady_clock;
  std::string FLabel;
  bool FEnabled;
  bool FShown = false;
  Clock::time_point FStart = Clock::now();
  Clock::time_point FLastDrawn{};
};

// True when standard input is a terminal (a person may be typing).
bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();
// The text in the stream's character set, terminal controls included, with
// no line end; a failure is ignored.
void WriteRawToStandardError(std::string_view text);

}  // namespace Platform
