#include <cstdio>
#include <string>

#include "Platform/Console/Console.hpp"

namespace Platform {
namespace {

std::string Mebibytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

constexpr std::string_view kClearLine = "\r\x1B[K";

}  // namespace

ProgressLine::ProgressLine(std::string label)
    : FLabel(VisibleText(label)), FEnabled(StandardErrorIsTerminal()) {}

ProgressLine::~ProgressLine() {
  if (FShown)
    WriteRawToStandardError(kClearLine);
}

void ProgressLine::Update(std::uint64_t done, std::uint64_t total) {
  if (DueNow())
    Draw({}, done, total);
}

void ProgressLine::Update(std::uint64_t itemsDone, std::uint64_t itemsTotal, std::string_view items,
                          std::uint64_t done, std::uint64_t total) {
  if (DueNow())
    Draw(std::to_string(itemsDone) + " of " + std::to_string(itemsTotal) + " " +
             std::string(items) + ", ",
         done, total);
}

bool ProgressLine::DueNow() {
  const auto now = Clock::now();
  if (!FEnabled || now - FStart < std::chrono::seconds(1) ||
      now - FLastDrawn < std::chrono::milliseconds(100))
    return false;
  FLastDrawn = now;
  return true;
}

void ProgressLine::Draw(const std::string& counted, std::uint64_t done, std::uint64_t total) {
  const double seconds = std::chrono::duration<double>(FLastDrawn - FStart).count();
  const auto rate = static_cast<std::uint64_t>(static_cast<double>(done) / seconds);
  WriteRawToStandardError(std::string(kClearLine) + FLabel + ": " + counted + Mebibytes(done) +
                          " of " + Mebibytes(total) + ", " + Mebibytes(rate) + "/s");
  FShown = true;
}

}  // namespace Platform
